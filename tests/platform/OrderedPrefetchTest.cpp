// COrderedPrefetch hands out every result in index order whatever the threads, never works
// further ahead than its window, and the caller's thread works while it waits.

#include "platform/OrderedPrefetch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace mirado {
namespace {

void Pause() {
    std::this_thread::sleep_for(std::chrono::microseconds(100));
}

TEST(OrderedPrefetch, HandsOutEveryResultInOrderWhateverTheThreads) {
    constexpr size_t kCount = 200;
    for (unsigned workers : {0u, 1u, 3u}) {
        COrderedPrefetch<size_t> prefetch(kCount, workers, 5, [](size_t index) {
            if (index % 7 == 0)
                Pause();
            return index * index;
        });
        for (size_t index = 0; index < kCount; ++index) {
            ASSERT_TRUE(prefetch.HasNext());
            EXPECT_EQ(prefetch.NextIndex(), index);
            EXPECT_EQ(prefetch.Next(), index * index) << workers << " workers";
        }
        EXPECT_FALSE(prefetch.HasNext());
    }
}

TEST(OrderedPrefetch, WorksAtMostTheWindowAheadAndTheCallerWorksToo) {
    constexpr size_t kWindow = 4;
    std::atomic<size_t> handedOut{0};
    std::atomic<bool> beyondWindow{false};
    std::atomic<int> byCaller{0};
    const std::thread::id caller = std::this_thread::get_id();
    COrderedPrefetch<size_t> prefetch(300, 2, kWindow, [&](size_t index) {
        // Next counts an index as handed out just before this test does.
        if (index > handedOut + kWindow)
            beyondWindow = true;
        if (std::this_thread::get_id() == caller)
            ++byCaller;
        Pause();
        return index;
    });
    while (prefetch.HasNext()) {
        prefetch.Next();
        ++handedOut;
    }
    EXPECT_FALSE(beyondWindow);
    EXPECT_GT(byCaller, 0);
}

TEST(OrderedPrefetch, AFailureComesOutAtItsIndexAndTheOthersStillCome) {
    COrderedPrefetch<int> prefetch(10, 2, 3, [](size_t index) {
        if (index == 4)
            throw std::runtime_error("four");
        return static_cast<int>(index);
    });
    for (int index = 0; index < 10; ++index) {
        if (index == 4)
            EXPECT_THROW(prefetch.Next(), std::runtime_error);
        else
            EXPECT_EQ(prefetch.Next(), index);
    }
}

TEST(OrderedPrefetch, AFailureOnAWorkerReachesTheCaller) {
    const std::thread::id caller = std::this_thread::get_id();
    std::atomic<int> onWorkers{0};
    COrderedPrefetch<int> prefetch(100, 2, 4, [&](size_t index) {
        if (std::this_thread::get_id() != caller) {
            ++onWorkers;
            throw std::runtime_error("worker");
        }
        Pause(); // leaves the workers most of the indices
        return static_cast<int>(index);
    });
    int thrown = 0;
    while (prefetch.HasNext()) {
        try {
            prefetch.Next();
        } catch (const std::runtime_error&) {
            ++thrown;
        }
    }
    EXPECT_GT(thrown, 0);
    EXPECT_EQ(thrown, onWorkers);
}

TEST(OrderedPrefetch, NextPastTheEndIsAnErrorNotAWait) {
    for (unsigned workers : {0u, 2u}) {
        for (size_t count : {0u, 3u}) {
            COrderedPrefetch<size_t> prefetch(count, workers, 2,
                                              [](size_t index) { return index; });
            while (prefetch.HasNext())
                prefetch.Next();
            EXPECT_THROW(prefetch.Next(), std::out_of_range) << workers << " workers, " << count;
            EXPECT_THROW(prefetch.Next(), std::out_of_range) << "asked twice";
        }
    }
}

TEST(OrderedPrefetch, StopsItsWorkersWhenDroppedEarly) {
    std::atomic<size_t> produced{0};
    {
        COrderedPrefetch<size_t> prefetch(100000, 2, 8, [&](size_t index) {
            ++produced;
            return index;
        });
        EXPECT_EQ(prefetch.Next(), 0u);
    }
    EXPECT_LT(produced, 100u);
}

TEST(ForEachInOrder, ConsumesEveryResultInOrderWhateverTheJobs) {
    constexpr size_t kCount = 100;
    for (unsigned jobs : {0u, 1u, 2u, 4u}) {
        std::vector<size_t> consumed;
        ForEachInOrder(
            kCount, jobs,
            [](size_t index) {
                if (index % 5 == 0)
                    Pause();
                return index * 3;
            },
            [&](size_t index, size_t&& value) {
                EXPECT_EQ(value, index * 3);
                consumed.push_back(index);
                return true;
            });
        ASSERT_EQ(consumed.size(), kCount) << jobs << " jobs";
        for (size_t index = 0; index < kCount; ++index)
            EXPECT_EQ(consumed[index], index) << jobs << " jobs";
    }
}

TEST(ForEachInOrder, ConsumeStopsTheRunAndAFailureComesOutAtItsIndex) {
    for (unsigned jobs : {1u, 3u}) {
        size_t consumed = 0;
        ForEachInOrder(
            100000, jobs, [](size_t index) { return index; },
            [&](size_t, size_t&&) { return ++consumed < 10; });
        EXPECT_EQ(consumed, 10u) << jobs << " jobs";

        consumed = 0;
        const auto failAtSeven = [](size_t index) {
            if (index == 7)
                throw std::runtime_error("seven");
            return index;
        };
        EXPECT_THROW(ForEachInOrder(20, jobs, failAtSeven,
                                    [&](size_t, size_t&&) {
                                        ++consumed;
                                        return true;
                                    }),
                     std::runtime_error);
        EXPECT_EQ(consumed, 7u) << jobs << " jobs";
    }
}

} // namespace
} // namespace mirado
