#include "cli/placer.h"

#include "failure/caught_failure.h"

#include <optional>

namespace qb::cli {
namespace {

/// Files waiting for one sync; bounds both the sync count and the open folders a batch keeps.
constexpr std::size_t batchSize = 512;

} // namespace

Placer::Placer(files::Folder &sync, RunReport &report)
    : sync_(sync), report_(report), thread_([this] { placeAll(); }) {}

Placer::~Placer() {
    finish();
}

void Placer::add(PendingFile file) {
    filling_.push_back(std::move(file));
    if (filling_.size() >= batchSize)
        handOver();
}

void Placer::handOver() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !busy_; });
    handed_ = std::move(filling_);
    filling_.clear();
    busy_ = true;
    changed_.notify_all();
}

void Placer::finish() {
    if (!thread_.joinable())
        return;
    if (!filling_.empty())
        handOver();
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !busy_; });
        ended_ = true;
        changed_.notify_all();
    }
    thread_.join();
    // The renames reach the disk with the folders' lists of names.
    if (const auto failure = CaughtFailure([&] { sync_.syncFileSystem(sync_.path()); }))
        report_.failed(sync_.path(), failure->description());
}

void Placer::placeAll() {
    for (;;) {
        std::vector<PendingFile> batch;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return busy_ || ended_; });
            if (!busy_)
                return;
            batch = std::move(handed_);
            handed_.clear();
        }
        place(batch);
        batch.clear(); // files that took no name are removed with their objects
        const std::lock_guard lock(mutex_);
        busy_ = false;
        changed_.notify_all();
    }
}

void Placer::place(std::vector<PendingFile> &batch) {
    const auto unsynced = CaughtFailure([&] { sync_.syncFileSystem(sync_.path()); });
    for (PendingFile &pending : batch) {
        const auto failure = CaughtFailure([&] {
            if (unsynced)
                throw *unsynced;
            placeOne(pending);
        });
        if (!failure)
            continue;
        if (pending.countedAlready)
            report_.withdrawn(pending.messages, pending.where, failure->description());
        else
            report_.failed(pending.where, failure->description());
    }
}

void Placer::placeOne(PendingFile &pending) {
    const bool placed = pending.folder->place(pending.file, pending.stem, pending.ending,
                                              pending.name, pending.suffix);
    if (pending.countedAlready || pending.messages == 0)
        return;
    if (placed)
        report_.messageWritten(pending.messages);
    else
        report_.skipped(pending.messages);
}

} // namespace qb::cli
