#include "WorkerPool.h"

#include <algorithm>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <pthread.h>

namespace {

constexpr int MostDefaultThreads = 8;

} // namespace

WorkerPool::WorkerPool(int threads) {
    sigset_t all, saved;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &saved);
    try {
        for (int i = 0; i < threads; ++i)
            threads_.emplace_back([this, i] { Work(i); });
    } catch (...) {
        pthread_sigmask(SIG_SETMASK, &saved, nullptr);
        Stop();
        throw;
    }
    pthread_sigmask(SIG_SETMASK, &saved, nullptr);
}

WorkerPool::~WorkerPool() {
    Stop();
}

void WorkerPool::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
    }
    wake_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
    threads_.clear();
}

void WorkerPool::Submit(std::uint64_t weight, Job job) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back({weight, submitted_++, std::move(job)});
        std::push_heap(queue_.begin(), queue_.end());
    }
    wake_.notify_one();
}

void WorkerPool::Work(int worker) {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_)
                return;
            std::pop_heap(queue_.begin(), queue_.end());
            job = std::move(queue_.back().job);
            queue_.pop_back();
        }
        job(worker);
    }
}

int DefaultPackThreads() {
    if (const char* setting = std::getenv("KESTROVA_THREADS")) {
        int threads = 0;
        const char* end = setting + std::strlen(setting);
        auto [stop, error] = std::from_chars(setting, end, threads);
        if (error == std::errc() && stop == end && threads >= 1)
            return std::min(threads, MostPackThreads);
    }
    unsigned cores = std::thread::hardware_concurrency();
    return std::clamp(static_cast<int>(cores), 1, MostDefaultThreads);
}
