#include "drawing/PointerReadout.h"

#include "document/MiradoDoc.h"
#include "drawing/WaveNavigation.h"
#include "records/RecordUnits.h"
#include "records/WaveCodec.h"

#include <cstdint>
#include <cstdio>

namespace mirado {

namespace {

constexpr int kMillisecondsPerSecond = 1000;

bool InChannel(int sample) {
    return sample >= 0 && sample < kSampleCount;
}

} // namespace

std::optional<int> SampleTimeMilliseconds(int sample, int sampling) {
    if (sampling <= 0 || sample < 0)
        return std::nullopt;
    const int64_t tenths = static_cast<int64_t>(sample) * sampling;
    return static_cast<int>((tenths + kIntervalUnitsPerMs / 2) / kIntervalUnitsPerMs);
}

std::string FormatSeconds(int milliseconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%d.%03d", milliseconds / kMillisecondsPerSecond,
                  milliseconds % kMillisecondsPerSecond);
    return text;
}

PointerReadout OverviewReadoutAt(const CMiradoDoc& doc, int sample) {
    PointerReadout readout;
    readout.sample = sample;
    if (InChannel(sample))
        readout.milliseconds = SampleTimeMilliseconds(sample, doc.GetSampling());
    return readout;
}

PointerReadout WaveReadoutAt(const CMiradoDoc& doc, int sample) {
    PointerReadout readout = OverviewReadoutAt(doc, sample);
    if (!InChannel(sample))
        return readout;
    readout.cuffMmHg = doc.GetCuffReadoutMmHg(sample);
    readout.optical = doc.GetPulseSamples()[sample];
    return readout;
}

} // namespace mirado
