#pragma once
// COrderedPrefetch: works out the results for the indices 0 .. count - 1 ahead of time on
// worker threads and hands them out in index order, so a batch run can read, decode and
// analyse files in parallel and still write its output in the files' order. At most
// `window` results are computed ahead of the one handed out, so memory stays bounded
// however long the list is. A caller whose next result is not ready yet computes one that
// no worker has taken on instead of sleeping, so the caller's thread is one of the run's
// threads. Without workers every result is computed on the caller's thread when it is
// asked for, exactly as a plain loop would.
//
// produce is called on the worker threads, one index at a time, and must not touch
// state shared with other indices. An exception it throws is rethrown by Next for that
// index. Next past the last index throws std::out_of_range. Destroying the object stops
// the workers (results not taken are dropped); so does a constructor that fails to start
// one of them before it rethrows.

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

namespace mirado {

// The number of threads a batch run uses by default: the machine's cores.
inline unsigned DefaultJobCount() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : cores;
}

// The workers of a run of `jobs` threads, the caller's thread being one of them.
inline unsigned WorkersBesideCaller(unsigned jobs) {
    return jobs > 1 ? jobs - 1 : 0;
}

// The results a run of `jobs` threads computes ahead of the one handed out: a few per
// thread, so every thread has work while the caller consumes one result.
inline size_t OrderedWindow(unsigned jobs) {
    constexpr size_t kAheadPerJob = 8;
    return kAheadPerJob * std::max(jobs, 1u);
}

template <typename Value> class COrderedPrefetch {
public:
    using Produce = std::function<Value(size_t index)>;

    COrderedPrefetch(size_t count, unsigned workers, size_t window, Produce produce)
        : count_(count), window_(window == 0 ? 1 : window), produce_(std::move(produce)),
          slots_(window_) {
        const size_t started = std::min<size_t>(workers, count);
        threads_.reserve(started);
        try {
            for (size_t i = 0; i < started; ++i)
                threads_.emplace_back([this] { Work(); });
        } catch (...) {
            StopWorkers();
            throw;
        }
    }
    ~COrderedPrefetch() { StopWorkers(); }
    COrderedPrefetch(const COrderedPrefetch&) = delete;
    COrderedPrefetch& operator=(const COrderedPrefetch&) = delete;

    bool HasNext() const { return next_ < count_; }
    size_t NextIndex() const { return next_; }

    // The result for NextIndex(); computes results no worker has taken on until a worker
    // has computed it.
    Value Next() {
        if (!HasNext())
            throw std::out_of_range("no result after the last index");
        if (threads_.empty())
            return produce_(next_++);
        Slot taken;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            Slot& slot = slots_[next_ % window_];
            while (!slot.filled) {
                if (CanClaim())
                    ProduceClaimed(lock);
                else
                    ready_.wait(lock);
            }
            taken = std::move(slot);
            slot = Slot{};
            ++next_;
        }
        room_.notify_all();
        if (taken.error)
            std::rethrow_exception(taken.error);
        return std::move(*taken.result);
    }

private:
    struct Slot {
        bool filled = false;
        std::optional<Value> result;
        std::exception_ptr error;
    };

    void StopWorkers() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        room_.notify_all();
        for (std::thread& thread : threads_)
            thread.join();
    }

    bool CanClaim() const { return claimed_ < count_ && claimed_ < next_ + window_; }

    void Work() {
        std::unique_lock<std::mutex> lock(mutex_);
        while (true) {
            room_.wait(lock, [this] { return stopping_ || claimed_ >= count_ || CanClaim(); });
            if (stopping_ || claimed_ >= count_)
                return;
            ProduceClaimed(lock);
        }
    }

    // Takes on the next unclaimed index and computes its result with the lock released.
    void ProduceClaimed(std::unique_lock<std::mutex>& lock) {
        const size_t index = claimed_++;
        lock.unlock();
        Slot slot;
        slot.filled = true;
        try {
            slot.result.emplace(produce_(index));
        } catch (...) {
            slot.error = std::current_exception();
        }
        lock.lock();
        slots_[index % window_] = std::move(slot);
        ready_.notify_all();
    }

    const size_t count_;
    const size_t window_;
    Produce produce_;
    std::vector<Slot> slots_; // result of index i waits in slot i % window
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable ready_; // a slot was filled
    std::condition_variable room_;  // a slot was taken, or stopping
    size_t claimed_ = 0;            // the next index a thread takes on
    size_t next_ = 0;               // the next index handed out
    bool stopping_ = false;
};

// Computes produce(index) for every index below count on `jobs` threads (the caller's
// among them) and hands each result to consume(index, result) on the calling thread, in
// index order. consume answers false to stop the run; results computed ahead are then
// dropped. An exception from produce comes out of this call at its index, after the
// results before it were consumed.
template <typename Produce, typename Consume>
void ForEachInOrder(size_t count, unsigned jobs, Produce produce, Consume consume) {
    using Value = std::invoke_result_t<Produce&, size_t>;
    COrderedPrefetch<Value> prefetch(count, WorkersBesideCaller(jobs), OrderedWindow(jobs),
                                     std::move(produce));
    while (prefetch.HasNext()) {
        const size_t index = prefetch.NextIndex();
        if (!consume(index, prefetch.Next()))
            return;
    }
}

} // namespace mirado
