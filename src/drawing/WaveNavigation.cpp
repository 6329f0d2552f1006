#include "drawing/WaveNavigation.h"

#include "drawing/ColumnEnvelope.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

namespace mirado {

namespace {

constexpr std::array<int, kZoomIndexCount> kZoomFactors = {1, 2, 4, 8};
constexpr int kPickPixels = 10;
constexpr int kLineStep = 1;
constexpr int kPageStep = 10;
constexpr int kTravelDivisor = 10;
// The distance given to an invalid marker M: never nearer than marker S.
constexpr int kUnpickableDistance = kSampleCount;

int ClampZoomIndex(int zoomIndex) {
    return std::clamp(zoomIndex, 0, kLargestZoomIndex);
}

} // namespace

int ZoomFactor(int zoomIndex) {
    return kZoomFactors[static_cast<size_t>(ClampZoomIndex(zoomIndex))];
}

int SamplesAcross(int zoomIndex) {
    return kSampleCount / ZoomFactor(zoomIndex);
}

int ScrollLimit(int zoomIndex) {
    return std::max(0, kSampleCount - SamplesAcross(zoomIndex));
}

int ClampScrollOffset(int offset, int zoomIndex) {
    return std::clamp(offset, 0, ScrollLimit(zoomIndex));
}

int TravelStep(int zoomIndex) {
    return ScrollLimit(zoomIndex) > 0 ? SamplesAcross(zoomIndex) / kTravelDivisor : 0;
}

int CentredOffset(int sample, int zoomIndex) {
    return ClampScrollOffset(sample - SamplesAcross(zoomIndex) / 2, zoomIndex);
}

int StepZoomIndex(int zoomIndex, int delta) {
    return ClampZoomIndex(zoomIndex + delta);
}

std::optional<int> StepViewScale(int viewScale, int delta) {
    const int next = viewScale + delta;
    if (next < kSmallestViewScale || next > kLargestViewScale)
        return std::nullopt;
    return next;
}

int XOfSample(int sample, int width, int zoomIndex, int scrollOffset) {
    const int offset = zoomIndex == 0 ? 0 : ClampScrollOffset(scrollOffset, zoomIndex);
    const int64_t across = SamplesAcross(zoomIndex);
    const int64_t scaled = static_cast<int64_t>(sample - offset) * width;
    // Rounded up, so that SampleAtX gives the sample back wherever each has its own x.
    return static_cast<int>(scaled >= 0 ? (scaled + across - 1) / across : scaled / across);
}

int SampleAtX(int x, int width, int zoomIndex, int scrollOffset) {
    if (zoomIndex == 0) {
        if (width <= 0)
            return 0;
        return static_cast<int>(static_cast<int64_t>(x) * kSampleCount / width);
    }
    const int offset = ClampScrollOffset(scrollOffset, zoomIndex);
    if (width <= 0)
        return offset;
    return static_cast<int>(static_cast<int64_t>(x) * SamplesAcross(zoomIndex) / width) + offset;
}

int PickTolerance(int width, int zoomIndex) {
    if (width <= 0)
        return 0;
    return kPickPixels * SamplesAcross(zoomIndex) / width;
}

CarriedMarker PickMarker(int p, int tolerance, int markerS, int markerM, bool markerMValid) {
    const int distanceS = std::abs(markerS - p);
    const int distanceM = markerMValid ? std::abs(markerM - p) : kUnpickableDistance;
    if (distanceM < distanceS)
        return distanceM < tolerance ? kMarkerM : kNoMarker;
    return distanceS < tolerance ? kMarkerS : kNoMarker;
}

std::optional<int> ScrollTarget(ScrollRequest request, int current, int given, int zoomIndex) {
    const int limit = ScrollLimit(zoomIndex);
    int p = current;
    switch (request) {
    case ScrollRequest::LineLeft:
        p = current - kLineStep;
        break;
    case ScrollRequest::LineRight:
        p = current + kLineStep;
        break;
    case ScrollRequest::PageLeft:
        p = current - kPageStep;
        break;
    case ScrollRequest::PageRight:
        p = current + kPageStep;
        break;
    case ScrollRequest::ThumbPosition:
    case ScrollRequest::ThumbTrack:
        p = given;
        break;
    case ScrollRequest::LeftEnd:
        p = 0;
        break;
    case ScrollRequest::RightEnd:
        p = limit;
        break;
    case ScrollRequest::EndScroll:
        return std::nullopt;
    case ScrollRequest::Other:
        break;
    }
    return std::clamp(p, 0, limit);
}

} // namespace mirado
