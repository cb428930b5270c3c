#include "cli/read_ahead.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace qb::cli {
namespace {

struct Event {
    enum class Kind { message, failure, storeDone };
    Kind kind;
    std::string text; // the message's text, or why the failure happened
    std::string stem;
    std::string where;
};

/// Thrown into the reading once the writing has stopped or the run is asked to stop, to end it
/// early. Not a Failure, so that no store takes it for one of its own.
struct ReadingEnded {};

/// The events between the reading thread and the writing one, bounded by the size of their
/// texts. Once abandoned, the reading is stopped at its next event.
class EventQueue : public StoreOutput {
  public:
    EventQueue(std::size_t limit, const StopCheck &stopRequested)
        : limit_(limit), stopRequested_(stopRequested) {}

    void message(std::string text, std::string stem, std::string where) override {
        // A store that does not ask for itself still ends at its next message.
        if (stopRequested_())
            throw ReadingEnded{};
        push({Event::Kind::message, std::move(text), std::move(stem), std::move(where)});
    }
    void failed(std::string where, std::string why) override {
        push({Event::Kind::failure, std::move(why), {}, std::move(where)});
    }
    void storeDone() { push({Event::Kind::storeDone, {}, {}, {}}); }

    /// The reading is over: pop gives what is left, then nothing.
    void close() {
        const std::lock_guard lock(mutex_);
        closed_ = true;
        changed_.notify_all();
    }
    /// The writing stopped: the reading is not waited for and ends at its next event.
    void abandon() {
        const std::lock_guard lock(mutex_);
        abandoned_ = true;
        events_.clear();
        changed_.notify_all();
    }

    /// The next event, waiting for it; nothing once the queue is closed and empty.
    std::optional<Event> pop() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !events_.empty() || closed_; });
        if (events_.empty())
            return std::nullopt;
        Event event = std::move(events_.front());
        events_.pop_front();
        waitingBytes_ -= event.text.size();
        changed_.notify_all();
        return event;
    }

  private:
    void push(Event event) {
        std::unique_lock lock(mutex_);
        // A text larger than the limit still goes, alone.
        changed_.wait(lock, [&] {
            return abandoned_ || waitingBytes_ == 0 || waitingBytes_ + event.text.size() <= limit_;
        });
        if (abandoned_)
            throw ReadingEnded{};
        waitingBytes_ += event.text.size();
        events_.push_back(std::move(event));
        changed_.notify_all();
    }

    const std::size_t limit_;
    const StopCheck &stopRequested_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Event> events_;
    std::size_t waitingBytes_ = 0;
    bool closed_ = false;
    bool abandoned_ = false;
};

void ReadStores(const std::vector<StoreInput> &stores, const ReadStore &read, ExportTarget &target,
                EventQueue &queue) {
    for (const StoreInput &store : stores) {
        if (target.stopRequested())
            return;
        // Whatever a store throws is that store's failure; nothing else may leave the thread.
        try {
            read(store, target);
        } catch (const std::exception &error) {
            queue.failed(store.path, error.what());
        }
        queue.storeDone();
    }
}

void ReadAll(const std::vector<StoreInput> &stores, const ReadStore &read, ExportTarget &target,
             EventQueue &queue) {
    try {
        ReadStores(stores, read, target, queue);
    } catch (const ReadingEnded &) {
    }
    queue.close();
}

void Write(Event &event, MessageSink &sink, RunReport &report) {
    switch (event.kind) {
    case Event::Kind::message:
        sink.add(event.text, event.stem, event.where);
        break;
    case Event::Kind::failure:
        report.failed(event.where, event.text);
        break;
    case Event::Kind::storeDone:
        report.storeDone();
        break;
    }
}

} // namespace

void ReadAhead(const std::vector<StoreInput> &stores, const ReadStore &read,
               const std::optional<std::string> &folderName, const StopCheck &stopRequested,
               MessageSink &sink, RunReport &report, std::size_t limit) {
    EventQueue queue(limit, stopRequested);
    ExportTarget target{queue, folderName};
    target.stopRequested = stopRequested;
    std::jthread reader([&] { ReadAll(stores, read, target, queue); });
    try {
        while (auto event = queue.pop()) {
            Write(*event, sink, report);
            if (stopRequested()) {
                queue.abandon();
                return;
            }
        }
    } catch (...) {
        queue.abandon(); // the reader must not wait for room that never comes
        throw;
    }
}

} // namespace qb::cli
