#include "records/PressureAnalysis.h"

#include "records/WaveCodec.h"

#include <algorithm>

namespace mirado {

namespace {

constexpr int kInflationFirstSample = 4;
constexpr int kInflationOffset = 10;
constexpr int kInflationRounding = 5;
constexpr int kInflationStep = 10;

} // namespace

CPressureAnalysis::CPressureAnalysis() {
    CPressureAnalysis::Reset();
}

CPressureAnalysis::~CPressureAnalysis() = default;

int16_t CPressureAnalysis::GetOpticalBase() {
    return 0;
}

void CPressureAnalysis::Prefilter() {}

void CPressureAnalysis::SetMarkerM(int16_t) {}

void CPressureAnalysis::SetMarkerS(int16_t) {}

MarkerResults CPressureAnalysis::GetMarkerResults() const {
    return {markerS_, markerM_, sbp_, mbp_, dbp_};
}

void CPressureAnalysis::RestoreMarkerResults(const MarkerResults& results) {
    markerS_ = results.markerS;
    markerM_ = results.markerM;
    sbp_ = results.sbp;
    mbp_ = results.mbp;
    dbp_ = results.dbp;
}

int16_t CPressureAnalysis::GetHeartRate() {
    return heartRate_;
}

int CPressureAnalysis::GetMarkerInterval() {
    return MarkerIntervalMs(sampleInterval_, markerS_, markerM_);
}

void CPressureAnalysis::GetMarkers(int16_t& s, int16_t& m, int16_t& d) {
    s = markerS_;
    m = markerM_;
    d = markerD_;
}

void CPressureAnalysis::Reset() {
    channel1_.fill(0);
    channel2_.fill(0);
    beats_.fill(0);
    fittedCurve_.fill(kUndefinedCurveValue);
    sbp_ = 0;
    mbp_ = 0;
    dbp_ = 0;
    heartRate_ = 0;
    markerS_ = 0;
    markerM_ = 0;
    markerD_ = 0;
    resultCode_ = 0;
}

void CPressureAnalysis::SetBeatPositions(const int16_t* positions) {
    std::copy_n(positions, kBeatCapacity, beats_.begin());
}

int16_t CPressureAnalysis::GetPressures(int16_t& sbp, int16_t& mbp, int16_t& dbp) {
    sbp = sbp_;
    mbp = mbp_;
    dbp = dbp_;
    return resultCode_;
}

void CPressureAnalysis::SetWaves(const int16_t* channel1, const int16_t* channel2) {
    std::copy_n(channel1, kSampleCount, channel1_.begin());
    std::copy_n(channel2, kSampleCount, channel2_.begin());
}

void CPressureAnalysis::SetSampleInterval(int16_t value) {
    sampleInterval_ = value;
}

void CPressureAnalysis::Analyze() {}

int16_t CPressureAnalysis::GetPressureAt(int index) const {
    return Wrap16(SumOfFour(channel1_.data(), index) / 4);
}

int16_t CPressureAnalysis::GetInflationPressure() const {
    const int a = SumOfFour(channel1_.data(), kInflationFirstSample) / 4;
    const int b = (a + kInflationOffset) / 2;
    return Wrap16((b + kInflationRounding) / kInflationStep * kInflationStep);
}

int16_t CPressureAnalysis::CuffAverage(int index) const {
    return Average4(channel1_.data(), index);
}

std::optional<int> CuffReadoutMmHg(const CPressureAnalysis& record, int sample) {
    constexpr int kLastPressureSample = kSampleCount - 4;
    if (sample < 0 || sample > kLastPressureSample)
        return std::nullopt;
    return HalfRound(record.GetPressureAt(sample));
}

} // namespace mirado
