#include "cli/byte_sink.h"

namespace qb::cli {
namespace {

constexpr std::size_t bufferSize = 256 * 1024;

} // namespace

void StagedFileSink::write(std::string_view bytes) {
    if (buffer_.size() + bytes.size() > bufferSize)
        flush();
    if (bytes.size() >= bufferSize)
        file_.write(bytes);
    else
        buffer_.append(bytes);
}

void StagedFileSink::flush() {
    if (buffer_.empty())
        return;
    file_.write(buffer_);
    buffer_.clear();
}

} // namespace qb::cli
