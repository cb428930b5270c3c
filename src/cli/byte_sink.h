#pragma once

#include "files/staged_file.h"
#include "mime/eml_builder.h"

#include <string>
#include <string_view>

namespace qb::cli {

/// Receives the bytes of a file being written, piece by piece: the one sink the .eml builder
/// writes into too. write throws Failure when the bytes cannot be written.
using ByteSink = mime::ByteSink;

/// Writes into a staged file in large pieces, so that a message streamed in small ones costs
/// few system calls.
class StagedFileSink : public ByteSink {
  public:
    explicit StagedFileSink(files::StagedFile &file) : file_(file) {}
    void write(std::string_view bytes) override;
    /// Writes what waits; throws Failure.
    void flush();

  private:
    files::StagedFile &file_;
    std::string buffer_;
};

} // namespace qb::cli
