#include "drawing/WaveNavigation.h"

#include <gtest/gtest.h>

namespace mirado {
namespace {

TEST(Zoom, FactorsSamplesAndLimits) {
    EXPECT_EQ(SamplesAcross(0), 4000);
    EXPECT_EQ(SamplesAcross(1), 2000);
    EXPECT_EQ(SamplesAcross(2), 1000);
    EXPECT_EQ(SamplesAcross(3), 500);
    EXPECT_EQ(ScrollLimit(0), 0);
    EXPECT_EQ(ScrollLimit(3), 3500);
    EXPECT_EQ(StepZoomIndex(3, +1), 3);
    EXPECT_EQ(StepZoomIndex(0, -1), 0);
    EXPECT_EQ(StepZoomIndex(1, +1), 2);
}

TEST(Zoom, OffsetKeepsItsValueLimitedToTheNewRange) {
    EXPECT_EQ(ClampScrollOffset(3000, 2), 3000);
    EXPECT_EQ(ClampScrollOffset(3000, 1), 2000);
    EXPECT_EQ(ClampScrollOffset(3000, 0), 0);
    EXPECT_EQ(ClampScrollOffset(-5, 3), 0);
}

TEST(Amplitude, StepsStopAtZeroAndTen) {
    EXPECT_EQ(StepViewScale(5, -1), 4);
    EXPECT_EQ(StepViewScale(5, +1), 6);
    EXPECT_FALSE(StepViewScale(0, -1).has_value());
    EXPECT_FALSE(StepViewScale(10, +1).has_value());
}

TEST(Scrolling, EveryRequestOfTheScrollBar) {
    const int zoom = 2; // limit 3000
    EXPECT_EQ(ScrollTarget(ScrollRequest::LineLeft, 100, 0, zoom), 99);
    EXPECT_EQ(ScrollTarget(ScrollRequest::LineRight, 100, 0, zoom), 101);
    EXPECT_EQ(ScrollTarget(ScrollRequest::PageLeft, 100, 0, zoom), 90);
    EXPECT_EQ(ScrollTarget(ScrollRequest::PageRight, 100, 0, zoom), 110);
    EXPECT_EQ(ScrollTarget(ScrollRequest::ThumbPosition, 100, 1234, zoom), 1234);
    EXPECT_EQ(ScrollTarget(ScrollRequest::ThumbTrack, 100, 1235, zoom), 1235);
    EXPECT_EQ(ScrollTarget(ScrollRequest::LeftEnd, 100, 0, zoom), 0);
    EXPECT_EQ(ScrollTarget(ScrollRequest::RightEnd, 100, 0, zoom), 3000);
    EXPECT_EQ(ScrollTarget(ScrollRequest::Other, 100, 555, zoom), 100);
    EXPECT_FALSE(ScrollTarget(ScrollRequest::EndScroll, 100, 0, zoom).has_value());
}

TEST(Scrolling, PositionsAreClampedToTheVisibleRange) {
    EXPECT_EQ(ScrollTarget(ScrollRequest::PageLeft, 5, 0, 3), 0);
    EXPECT_EQ(ScrollTarget(ScrollRequest::PageRight, 3495, 0, 3), 3500);
    EXPECT_EQ(ScrollTarget(ScrollRequest::ThumbTrack, 0, 99999, 1), 2000);
    EXPECT_EQ(ScrollTarget(ScrollRequest::ThumbTrack, 0, -4, 1), 0);
    EXPECT_EQ(ScrollTarget(ScrollRequest::LineRight, 0, 0, 0), 0);
}

TEST(SampleUnderPointer, FullAndZoomed) {
    EXPECT_EQ(SampleAtX(400, 800, 0, 0), 2000);
    EXPECT_EQ(SampleAtX(799, 800, 0, 1234), 3995);
    EXPECT_EQ(SampleAtX(400, 800, 2, 500), 400 * 1000 / 800 + 500);
    EXPECT_EQ(SampleAtX(10, 0, 0, 0), 0);
    EXPECT_EQ(SampleAtX(10, 0, 3, 200), 200);
}

TEST(Picking, ToleranceIsTenPixelsWorthOfSamples) {
    EXPECT_EQ(PickTolerance(800, 0), 50);
    EXPECT_EQ(PickTolerance(800, 3), 6);
    EXPECT_EQ(PickTolerance(0, 0), 0);
    EXPECT_EQ(PickMarker(1049, 50, 1000, 3000, true), kMarkerS);
    EXPECT_EQ(PickMarker(1050, 50, 1000, 3000, true), kNoMarker);
    EXPECT_EQ(PickMarker(2960, 50, 1000, 3000, true), kMarkerM);
}

TEST(Picking, HalfWayBetweenTheMarkersPicksS) {
    EXPECT_EQ(PickMarker(1020, 50, 1000, 1040, true), kMarkerS);
    EXPECT_EQ(PickMarker(1021, 50, 1000, 1040, true), kMarkerM);
}

TEST(Picking, AnInvalidMarkerMIsNeverPicked) {
    EXPECT_EQ(PickMarker(3000, 50, 1000, 3000, false), kNoMarker);
    EXPECT_EQ(PickMarker(1039, 50, 1000, 1040, false), kMarkerS);
}

TEST(Picking, AMarkerJustLeftOfAZoomedPaneIsPickedNearItsEdge) {
    const int width = 800;
    const int zoom = 3;
    const int offset = 1000;
    const int p = SampleAtX(0, width, zoom, offset);
    EXPECT_EQ(PickMarker(p, PickTolerance(width, zoom), 997, 3000, true), kMarkerS);
}

} // namespace
} // namespace mirado

namespace mirado {
namespace {

TEST(Columns, XOfSampleIsTheWayBackFromSampleAtX) {
    // Wider than the samples: every sample has its own x.
    for (int sample : {0, 1, 250, 499})
        EXPECT_EQ(SampleAtX(XOfSample(sample + 1500, 800, 3, 1500), 800, 3, 1500), sample + 1500);
    EXPECT_EQ(XOfSample(1000, 400, 0, 0), 100);
    EXPECT_LT(XOfSample(100, 400, 2, 1000), 0); // left of a zoomed view's span
}

} // namespace
} // namespace mirado
