#pragma once
// A few threads that run queued jobs, the largest first: the pack hands them the entries it
// deflates ahead of the writer.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class WorkerPool {
public:
    /// A job runs on one of the pool's threads and gets that thread's number, 0 to threads - 1,
    /// so it can use state of its own per thread.
    using Job = std::function<void(int worker)>;

    /// Starts the threads with every signal blocked, so that signals go to the thread that
    /// owns the files a signal handler removes.
    explicit WorkerPool(int threads);
    /// Drops the jobs no thread has started and waits for the running ones.
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    /// Queues a job; of the jobs waiting, the one with the greatest weight runs first, and of
    /// equal weights the one queued first. A job must not throw.
    void Submit(std::uint64_t weight, Job job);

private:
    struct Queued {
        std::uint64_t weight;
        std::uint64_t order;
        Job job;
        bool operator<(const Queued& other) const {
            return weight != other.weight ? weight < other.weight : order > other.order;
        }
    };

    void Work(int worker);
    void Stop();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<Queued> queue_; // a heap, the next job on top
    std::uint64_t submitted_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

/// More threads than this only cost memory, whatever a setting asks for.
inline constexpr int MostPackThreads = 64;

/// The threads a pack deflates on: KESTROVA_THREADS when it holds a whole number from 1 up (at
/// most MostPackThreads), else as many as there are cores, at most 8.
int DefaultPackThreads();
