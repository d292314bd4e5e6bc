#include "DeflateAhead.h"

#include <chrono>

namespace {

// Often enough for a window to repaint smoothly while the writer waits for a large entry.
constexpr std::chrono::milliseconds WaitSlice{10};
// What a worker may keep of its reading buffer between entries, outside the budget.
constexpr std::size_t KeptInput = 4u << 20;

std::vector<std::unique_ptr<EntryCompressor>> MakeCompressors(int count) {
    std::vector<std::unique_ptr<EntryCompressor>> compressors;
    for (int i = 0; i < count; ++i)
        compressors.push_back(std::make_unique<EntryCompressor>());
    return compressors;
}

} // namespace

DeflateAhead::DeflateAhead(int workers, std::uint64_t budget, std::function<void()> whileWaiting)
    : budget_(budget), whileWaiting_(std::move(whileWaiting)),
      compressors_(MakeCompressors(workers)), pool_(workers) {}

DeflateAhead::~DeflateAhead() = default;

bool DeflateAhead::HasRoomFor(std::uint64_t size) const {
    return jobs_.empty() || inFlight_ + EntryCompressor::InMemoryCost(size) <= budget_;
}

void DeflateAhead::Add(FileHandle file, std::uint64_t size) {
    auto job = std::make_unique<Job>();
    job->file = std::move(file);
    job->size = size;
    job->cost = EntryCompressor::InMemoryCost(size);
    inFlight_ += job->cost;
    Job& queued = *job;
    jobs_.push_back(std::move(job));
    pool_.Submit(size, [this, &queued](int worker) { Run(queued, worker); });
}

void DeflateAhead::Run(Job& job, int worker) {
    EntryCompressor& compressor = *compressors_[static_cast<std::size_t>(worker)];
    CompressedEntry result;
    std::exception_ptr error;
    try {
        result = compressor.Compress(job.file, job.size);
    } catch (...) {
        error = std::current_exception();
    }
    compressor.ReleaseBeyond(KeptInput);
    job.file.Close();
    {
        std::lock_guard lock(mutex_);
        job.result = std::move(result);
        job.error = error;
        job.done = true;
    }
    finished_.notify_all();
}

CompressedEntry DeflateAhead::TakeNext() {
    Job& job = *jobs_.front();
    {
        std::unique_lock lock(mutex_);
        while (!job.done) {
            if (finished_.wait_for(lock, WaitSlice) == std::cv_status::timeout && whileWaiting_) {
                lock.unlock();
                whileWaiting_();
                lock.lock();
            }
        }
    }
    // Done, so no worker touches it any more.
    std::unique_ptr<Job> taken = std::move(jobs_.front());
    jobs_.pop_front();
    inFlight_ -= taken->cost;
    if (taken->error)
        std::rethrow_exception(taken->error);
    return std::move(taken->result);
}
