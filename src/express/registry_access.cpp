#include "express/registry_access.h"

#include "failure/failure.h"
#include "text/plain_text.h"

#include <array>

namespace qb::express {
namespace {

/// Characters the enumeration's name buffers hold, the terminating NUL included.
constexpr std::size_t nameBufferLength = 260;
/// What the enumeration answers when a name does not fit its buffer.
constexpr std::int32_t errorMoreData = 234;

constexpr std::array<std::pair<std::string_view, RegistryRoot>, 7> rootNames{{
    {"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},
    {"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
    {"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
    {"HKEY_USERS", RegistryRoot::Users},
    {"HKEY_PERFORMANCE_DATA", RegistryRoot::PerformanceData},
    {"HKEY_CURRENT_CONFIG", RegistryRoot::CurrentConfig},
    {"HKEY_DYN_DATA", RegistryRoot::DynData},
}};

std::int32_t dwordOf(const std::string &data) {
    std::uint32_t number = 0;
    for (std::size_t i = 0; i < 4 && i < data.size(); ++i)
        number |= static_cast<std::uint32_t>(static_cast<unsigned char>(data[i])) << (8 * i);
    return static_cast<std::int32_t>(number);
}

KeyValue itemOf(const RegistryValue &value) {
    switch (value.type) {
    case registry_type::string:
    case registry_type::expandString:
        // The data ends with the string's NUL; an expandable string stays unexpanded.
        return value.data.empty() ? std::string() : value.data.substr(0, value.data.size() - 1);
    case registry_type::dword:
        return dwordOf(value.data);
    default:
        // Binary data, and every type the program never reads, as one character per byte.
        return value.data;
    }
}

/// The key the full path names, or null when the path is malformed or the key is missing.
std::unique_ptr<RegistryKey> openKey(TitledMessageBoxes &messages, Registry &registry,
                                     const std::string &strKeyPath) {
    const KeyPath path = SplitKeyPath(messages, strKeyPath);
    if (path.root == RegistryRoot::None)
        return nullptr;
    return registry.open(path.root, path.subKeyPath);
}

} // namespace

void KeyValues::add(std::string name, KeyValue item) {
    items_.emplace_back(std::move(name), std::move(item));
}

const KeyValue &KeyValues::item(std::string_view name) const {
    for (const auto &[itemName, item] : items_)
        if (EqualIgnoringCase(itemName, name))
            return item;
    throw Failure(error_number::invalidProcedureCall, programSource,
                  "Invalid procedure call or argument");
}

std::string KeyValueText(const KeyValue &item) {
    if (const auto *number = std::get_if<std::int32_t>(&item))
        return std::to_string(*number);
    return std::get<std::string>(item);
}

RegistryRoot RootKeyFromName(std::string_view name) {
    for (const auto &[rootName, root] : rootNames)
        if (name == rootName)
            return root;
    return RegistryRoot::None;
}

KeyPath SplitKeyPath(TitledMessageBoxes &messages, const std::string &strKeyPath) {
    const std::size_t separator = strKeyPath.find('\\');
    if (!strKeyPath.starts_with("HKEY_") || strKeyPath.ends_with('\\')) {
        messages.show("Incorrect Format:\n\n" + strKeyPath);
        return {RegistryRoot::None, strKeyPath};
    }
    if (separator == std::string::npos)
        return {RootKeyFromName(strKeyPath), std::string()};
    return {RootKeyFromName(std::string_view(strKeyPath).substr(0, separator)),
            strKeyPath.substr(separator + 1)};
}

std::vector<std::string> GetSubKeys(TitledMessageBoxes &messages, Registry &registry,
                                    const std::string &strKeyPath) {
    std::vector<std::string> subKeys;
    const std::unique_ptr<RegistryKey> key = openKey(messages, registry, strKeyPath);
    if (!key)
        return subKeys;
    for (std::size_t index = 0;; ++index) {
        std::optional<std::string> name = key->subKeyName(index);
        if (!name)
            return subKeys;
        if (name->size() >= nameBufferLength)
            throw Failure(error_number::objectErrorBase + errorMoreData, "modRegistry",
                          "More data is available: " + strKeyPath);
        subKeys.push_back(std::move(*name));
    }
}

KeyValues GetKeyValues(TitledMessageBoxes &messages, Registry &registry,
                       const std::string &strKeyPath) {
    KeyValues values;
    const std::unique_ptr<RegistryKey> key = openKey(messages, registry, strKeyPath);
    if (!key)
        return values;
    for (std::size_t index = 0;; ++index) {
        const std::optional<RegistryValue> value = key->value(index);
        // A name that does not fit fails the second call as it failed the first: the end.
        if (!value || value->name.size() >= nameBufferLength)
            return values;
        values.add(value->name, itemOf(*value));
    }
}

} // namespace qb::express
