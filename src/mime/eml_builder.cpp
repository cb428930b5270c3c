#include "mime/eml_builder.h"

#include "mime/backed_stream.h"
#include "mime/eml_message.h"
#include "mime/gmime_setup.h"

#include <exception>

namespace qb::mime {
namespace {

constexpr const char *builderSource = "EmlBuilder";

/// Gathers what GMime writes into pieces of a good size for the sink, and keeps the sink's
/// failure, which cannot pass through GMime's C code.
class SinkBackend : public StreamBackend {
  public:
    explicit SinkBackend(ByteSink &sink) : sink_(sink) { pending_.reserve(pieceSize); }

    ssize_t read(char *, std::size_t) override { return -1; }
    ssize_t write(const char *buffer, std::size_t size) override {
        pending_.append(buffer, size);
        if (pending_.size() >= pieceSize && flush() != 0)
            return -1;
        return static_cast<ssize_t>(size);
    }
    int flush() override {
        if (failure_)
            return -1;
        try {
            if (!pending_.empty())
                sink_.write(pending_);
            pending_.clear();
            return 0;
        } catch (...) {
            failure_ = std::current_exception();
            return -1;
        }
    }
    bool atEnd() override { return false; }
    int reset() override { return -1; }

    const std::exception_ptr &failure() const { return failure_; }

  private:
    static constexpr std::size_t pieceSize = 64 * 1024;
    ByteSink &sink_;
    std::string pending_;
    std::exception_ptr failure_;
};

GMimeFormatOptions *EmlFormat() {
    static GMimeFormatOptions *const format = [] {
        GMimeFormatOptions *options = g_mime_format_options_new();
        g_mime_format_options_set_newline_format(options, GMIME_NEWLINE_FORMAT_DOS);
        g_mime_format_options_set_param_encoding_method(options,
                                                        GMIME_PARAM_ENCODING_METHOD_RFC2231);
        return options;
    }();
    return format;
}

} // namespace

void WriteEml(mail::Message &message, ByteSink &out, std::vector<EmlProblem> &problems) {
    InitialiseGmimeOnce();
    // The context outlives the message's GMime objects, whose streams report into it.
    EmlContext context(problems);
    const GObjectPtr<GMimeMessage> built = BuildMessage(message, context, "", 0);
    auto sink = std::make_unique<SinkBackend>(out);
    SinkBackend &sinkState = *sink;
    const GObjectPtr<GMimeStream> stream = NewBackedStream(std::move(sink));
    const bool written =
        g_mime_object_write_to_stream(GMIME_OBJECT(built.get()), EmlFormat(), stream.get()) >= 0 &&
        g_mime_stream_flush(stream.get()) == 0;
    if (sinkState.failure())
        std::rethrow_exception(sinkState.failure());
    if (context.unexpected)
        std::rethrow_exception(context.unexpected);
    if (!written)
        throw Failure(error_number::invalidProcedureCall, builderSource,
                      "GMime could not write the message");
}

} // namespace qb::mime
