#include "cli/placer.h"

#include "failure/caught_failure.h"

#include <optional>

namespace qb::cli {
namespace {

/// Files made durable by one sync; bounds both the sync count and the open folders a batch keeps.
constexpr std::size_t batchSize = 512;
/// Bytes that may wait in the queue to be written.
constexpr std::size_t queueBytes = 16 * 1024 * 1024;

} // namespace

Placer::Placer(files::Folder &sync, RunReport &report)
    : sync_(sync), report_(report), thread_([this] { placeAll(); }) {}

Placer::~Placer() {
    finish();
}

void Placer::add(PendingFile file) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] {
        return queue_.empty() || (queue_.size() < batchSize && queuedBytes_ < queueBytes);
    });
    queuedBytes_ += file.bytes.size();
    queue_.push_back(std::move(file));
    changed_.notify_all();
}

void Placer::finish() {
    if (!thread_.joinable())
        return;
    {
        const std::lock_guard lock(mutex_);
        ended_ = true;
        changed_.notify_all();
    }
    thread_.join();
    // The renames reach the disk with the folders' lists of names.
    if (const auto failure = CaughtFailure([&] { sync_.syncFileSystem(sync_.path()); }))
        report_.failed(sync_.path(), failure->description());
}

std::optional<PendingFile> Placer::next() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !queue_.empty() || ended_; });
    if (queue_.empty())
        return std::nullopt;
    std::optional<PendingFile> file;
    file.emplace(std::move(queue_.front()));
    queue_.pop_front();
    queuedBytes_ -= file->bytes.size();
    changed_.notify_all();
    return file;
}

void Placer::placeAll() {
    std::vector<PendingFile> batch;
    while (std::optional<PendingFile> file = next()) {
        if (!file->file)
            unplaced(*file, CaughtFailure([&] { writeOut(*file); }));
        if (file->file)
            batch.push_back(std::move(*file));
        if (batch.size() >= batchSize) {
            place(batch);
            batch.clear(); // files that took no name are removed with their objects
        }
    }
    place(batch);
}

void Placer::place(std::vector<PendingFile> &batch) {
    if (batch.empty())
        return;
    const auto unsynced = CaughtFailure([&] { sync_.syncFileSystem(sync_.path()); });
    for (PendingFile &pending : batch) {
        unplaced(pending, CaughtFailure([&] {
                     if (unsynced)
                         throw *unsynced;
                     placeOne(pending);
                 }));
    }
}

void Placer::unplaced(const PendingFile &pending, const std::optional<Failure> &failure) {
    if (!failure)
        return;
    if (pending.countedAlready)
        report_.withdrawn(pending.messages, pending.where, failure->description());
    else
        report_.failed(pending.where, failure->description());
}

void Placer::writeOut(PendingFile &pending) {
    const std::string bytes = std::move(pending.bytes);
    files::StagedFile file = pending.folder->stage(pending.target);
    file.write(bytes);
    file.finish(files::Durability::Unsynced);
    pending.file.emplace(std::move(file));
}

void Placer::placeOne(PendingFile &pending) {
    const bool placed = pending.folder->place(*pending.file, pending.stem, pending.ending,
                                              pending.name, pending.suffix);
    if (pending.countedAlready || pending.messages == 0)
        return;
    if (placed)
        report_.messageWritten(pending.messages);
    else
        report_.skipped(pending.messages);
}

} // namespace qb::cli
