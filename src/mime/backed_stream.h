#pragma once

#include "mime/gmime_objects.h"

#include <gmime/gmime.h>

#include <cstddef>
#include <memory>
#include <sys/types.h>

// A GMime stream whose bytes come from, or go to, C++ code: attachment data read from a mail
// store while GMime writes the part, and the finished message handed to a byte sink.
namespace qb::mime {

/// What a stream made by NewBackedStream does. GMime calls it from C, so no function may throw:
/// each reports what fails in its own way and answers as the stream calls of read(2) do.
class StreamBackend {
  public:
    virtual ~StreamBackend() = default;
    /// Copies up to size bytes into buffer: how many, 0 at the end, -1 on failure.
    virtual ssize_t read(char *buffer, std::size_t size) = 0;
    /// Takes size bytes: how many, or -1 on failure.
    virtual ssize_t write(const char *buffer, std::size_t size) = 0;
    /// Passes on what it holds back: 0, or -1 on failure.
    virtual int flush() = 0;
    /// True once a read has found the end.
    virtual bool atEnd() = 0;
    /// Starts again from the first byte: 0, or -1 when it cannot.
    virtual int reset() = 0;
};

/// A backend that is only read from.
class ReadBackend : public StreamBackend {
  public:
    ssize_t write(const char *, std::size_t) override { return -1; }
    int flush() override { return 0; }
};

/// A GMime stream that hands every call to backend, which it owns and deletes with itself.
GObjectPtr<GMimeStream> NewBackedStream(std::unique_ptr<StreamBackend> backend);

} // namespace qb::mime
