#pragma once
// The values read out under the pointer: over the wave view the time from the start of
// the recording, the sample index, the cuff pressure in mmHg and the optical value; over
// the overview the time and the index. The window layer words them for the status bar.

#include <optional>
#include <string>

namespace mirado {

class CMiradoDoc;

struct PointerReadout {
    int sample = 0;
    std::optional<int> milliseconds; // none when the sample interval is not positive
    std::optional<int> cuffMmHg;     // none above the last sample a pressure is read at
    std::optional<int> optical;      // channel 2 as stored
};

// Time from the start of the recording to a sample: index x sample interval (0.1 ms)
// / 10, in whole milliseconds rounded half up; none for an interval that is not positive.
std::optional<int> SampleTimeMilliseconds(int sample, int sampling);
// Milliseconds as seconds with three decimals ("12.345").
std::string FormatSeconds(int milliseconds);

// Over the wave view: every value of the sample (a sample outside the channel gives
// only the index). Over the overview: the time and the index.
PointerReadout WaveReadoutAt(const CMiradoDoc& doc, int sample);
PointerReadout OverviewReadoutAt(const CMiradoDoc& doc, int sample);

} // namespace mirado
