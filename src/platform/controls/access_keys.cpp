#include "platform/controls/access_keys.h"

#include "platform/controls/tab_order.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <set>

namespace qb {
namespace {

bool IsLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

char KeyOf(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool HasLetter(const std::string &caption) {
    return std::any_of(caption.begin(), caption.end(), IsLetter);
}

/// The position of the letter the caption takes: a word's first letter, else any letter that is
/// still free.
std::optional<std::size_t> FreeLetter(const std::string &caption, const std::set<char> &taken) {
    const auto isFree = [&](std::size_t at) {
        return IsLetter(caption[at]) && !taken.contains(KeyOf(caption[at]));
    };
    for (std::size_t at = 0; at < caption.size(); ++at)
        if ((at == 0 || caption[at - 1] == ' ') && isFree(at))
            return at;
    for (std::size_t at = 0; at < caption.size(); ++at)
        if (isFree(at))
            return at;
    return std::nullopt;
}

/// The frames whose first control in tab order has no caption: the frame's title is its label.
std::vector<const Control *> LabellingFrames(const std::vector<Control *> &tabOrder) {
    std::vector<const Control *> frames;
    for (const Control *control : tabOrder) {
        const Frame *frame = control->container();
        if (!frame || std::find(frames.begin(), frames.end(), frame) != frames.end())
            continue;
        const auto first = std::find_if(tabOrder.begin(), tabOrder.end(),
                                        [&](const Control *c) { return c->container() == frame; });
        if (*first == control && !HasLetter(control->caption()))
            frames.push_back(frame);
    }
    return frames;
}

} // namespace

std::map<const Control *, std::size_t> AccessKeys(const WindowModel &window) {
    const std::vector<Control *> tabOrder = TabOrder(window);
    std::vector<const Control *> choosers;
    for (const Control *control : tabOrder)
        if (control->kind() == ControlKind::PushButton ||
            control->kind() == ControlKind::OptionButton)
            choosers.push_back(control);
    for (const Control *frame : LabellingFrames(tabOrder))
        choosers.push_back(frame);

    std::map<const Control *, std::size_t> keys;
    std::set<char> taken;
    for (const Control *control : choosers)
        if (const auto at = FreeLetter(control->caption(), taken)) {
            keys[control] = *at;
            taken.insert(KeyOf(control->caption()[*at]));
        }
    return keys;
}

} // namespace qb
