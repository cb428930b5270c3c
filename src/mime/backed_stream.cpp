#include "mime/backed_stream.h"

// GObject's type macros name the type's C functions after its C name.
extern "C" {

struct QbBackedStream {
    GMimeStream parent;
    qb::mime::StreamBackend *backend;
};

struct QbBackedStreamClass {
    GMimeStreamClass parent;
};

G_DEFINE_TYPE(QbBackedStream, qb_backed_stream, GMIME_TYPE_STREAM)
}

namespace qb::mime {
namespace {

StreamBackend &BackendOf(GMimeStream *stream) {
    return *reinterpret_cast<QbBackedStream *>(stream)->backend;
}

ssize_t ReadStream(GMimeStream *stream, char *buffer, size_t size) {
    const ssize_t read = BackendOf(stream).read(buffer, size);
    if (read > 0)
        stream->position += read;
    return read;
}

ssize_t WriteStream(GMimeStream *stream, const char *buffer, size_t size) {
    const ssize_t written = BackendOf(stream).write(buffer, size);
    if (written > 0)
        stream->position += written;
    return written;
}

int FlushStream(GMimeStream *stream) {
    return BackendOf(stream).flush();
}

int CloseStream(GMimeStream *) {
    return 0;
}

gboolean StreamAtEnd(GMimeStream *stream) {
    return BackendOf(stream).atEnd() ? TRUE : FALSE;
}

int ResetStream(GMimeStream *stream) {
    return BackendOf(stream).reset();
}

gint64 SeekStream(GMimeStream *, gint64, GMimeSeekWhence) {
    return -1; // the bytes pass once, front to back
}

gint64 TellStream(GMimeStream *stream) {
    return stream->position;
}

gint64 StreamLength(GMimeStream *) {
    return -1;
}

GMimeStream *Substream(GMimeStream *, gint64, gint64) {
    return nullptr;
}

void FinalizeStream(GObject *object) {
    delete reinterpret_cast<QbBackedStream *>(object)->backend;
    G_OBJECT_CLASS(qb_backed_stream_parent_class)->finalize(object);
}

} // namespace

GObjectPtr<GMimeStream> NewBackedStream(std::unique_ptr<StreamBackend> backend) {
    auto *stream =
        static_cast<QbBackedStream *>(g_object_new(qb_backed_stream_get_type(), nullptr));
    stream->backend = backend.release();
    g_mime_stream_construct(GMIME_STREAM(stream), 0, -1);
    return GObjectPtr<GMimeStream>(GMIME_STREAM(stream));
}

} // namespace qb::mime

extern "C" {

static void qb_backed_stream_class_init(QbBackedStreamClass *type) {
    G_OBJECT_CLASS(type)->finalize = qb::mime::FinalizeStream;
    GMimeStreamClass *stream = GMIME_STREAM_CLASS(type);
    stream->read = qb::mime::ReadStream;
    stream->write = qb::mime::WriteStream;
    stream->flush = qb::mime::FlushStream;
    stream->close = qb::mime::CloseStream;
    stream->eos = qb::mime::StreamAtEnd;
    stream->reset = qb::mime::ResetStream;
    stream->seek = qb::mime::SeekStream;
    stream->tell = qb::mime::TellStream;
    stream->length = qb::mime::StreamLength;
    stream->substream = qb::mime::Substream;
}

static void qb_backed_stream_init(QbBackedStream *stream) {
    stream->backend = nullptr;
}
}
