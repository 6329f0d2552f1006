#pragma once
// Integer helpers shared by the two pressure-determination methods and the analysis
// record: 16-bit wrap-around and channel reads that never leave the 4000 samples.

#include "records/RecordLayout.h"
#include "records/RecordUnits.h"

#include <algorithm>
#include <cstdint>

namespace mirado {

// A value stored into a signed 16-bit variable wraps around.
inline int16_t Wrap16(int value) {
    return static_cast<int16_t>(value);
}

// One channel read; an index outside the channel takes the nearest sample.
inline int16_t SampleAt(const int16_t* channel, int index) {
    return channel[std::clamp(index, 0, kSampleCount - 1)];
}

// Sum of the four samples index..index+3, each read clamped into the channel.
inline int SumOfFour(const int16_t* channel, int index) {
    return SampleAt(channel, index) + SampleAt(channel, index + 1) + SampleAt(channel, index + 2) +
           SampleAt(channel, index + 3);
}

// Floor of the mean of four samples (arithmetic shift of the sum).
inline int16_t Average4(const int16_t* channel, int index) {
    return Wrap16(SumOfFour(channel, index) >> 2);
}

// Number of entries before the terminating 0 of a beat list (at most 100).
inline int CountBeats(const int16_t* beats) {
    int count = 0;
    while (count < kBeatCapacity && beats[count] != 0)
        ++count;
    return count;
}

} // namespace mirado
