#pragma once
// The entries of a pack that fit in memory, deflated on a pool of workers ahead of the writer:
// the largest first, within a budget of memory, and handed back in the order they were added,
// so the archive is the same as when one thread deflates each entry in its turn.

#include "EntryCompression.h"
#include "FileHandle.h"
#include "WorkerPool.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class DeflateAhead {
public:
    /// Input and output buffers of the entries added and not yet taken stay within this.
    static constexpr std::uint64_t DefaultBudget = 256u << 20;

    /// whileWaiting runs on the calling thread, every few milliseconds that TakeNext waits.
    DeflateAhead(int workers, std::uint64_t budget, std::function<void()> whileWaiting);
    /// Drops what no worker has started and waits for the rest.
    ~DeflateAhead();
    DeflateAhead(const DeflateAhead&) = delete;
    DeflateAhead& operator=(const DeflateAhead&) = delete;

    /// Whether an entry of this size may be added now: it fits in what is left of the budget,
    /// or nothing is in flight.
    bool HasRoomFor(std::uint64_t size) const;
    /// Queues the open file, expected to hold size bytes, to be read and deflated.
    void Add(FileHandle file, std::uint64_t size);
    /// Waits for the earliest added entry not yet taken. Throws what reading it threw.
    CompressedEntry TakeNext();

private:
    struct Job {
        FileHandle file;
        std::uint64_t size = 0;
        std::uint64_t cost = 0;
        CompressedEntry result;
        std::exception_ptr error;
        bool done = false;
    };

    void Run(Job& job, int worker);

    std::uint64_t budget_;
    std::uint64_t inFlight_ = 0;
    std::function<void()> whileWaiting_;
    std::vector<std::unique_ptr<EntryCompressor>> compressors_; // one per worker
    std::deque<std::unique_ptr<Job>> jobs_;                     // in the order added
    std::mutex mutex_;
    std::condition_variable finished_;
    // Last, so its threads are stopped before the jobs and compressors they use go.
    WorkerPool pool_;
};
