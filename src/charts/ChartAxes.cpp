#include "charts/ChartAxes.h"

#include <cmath>

namespace mirado {

namespace {

// 1, 2 or 5 times a power of ten, the largest not above rough.
double NiceStep(double rough) {
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {5.0, 2.0})
        if (factor * power <= rough)
            return factor * power;
    return power;
}

constexpr int kPressureSteps = 5;

} // namespace

ValueRange PressureAxisRange(double lowest, double highest) {
    const double margin = std::max((highest - lowest) * kValueMarginShare, kMinPressureMargin);
    double lower = lowest - margin;
    double upper = highest + margin;
    if (upper - lower < kMinPressureSpan) {
        const double centre = (lower + upper) / 2;
        lower = centre - kMinPressureSpan / 2;
        upper = centre + kMinPressureSpan / 2;
    }
    const double step = NiceStep((upper - lower) / kPressureSteps);
    return {std::floor(lower / step) * step, std::ceil(upper / step) * step};
}

ValueRange HeartRateAxisRange(double lowest, double highest) {
    const double margin = (highest - lowest) * kValueMarginShare;
    const double fitLower = std::floor((lowest - margin) / kHeartRateStep) * kHeartRateStep;
    const double fitUpper = std::ceil((highest + margin) / kHeartRateStep) * kHeartRateStep;
    double lower = fitLower;
    double upper = fitUpper;
    if (upper - lower < kMinHeartRateSpan) {
        // Widened evenly around the values, still on whole steps and taking them all in.
        const double centre = (lowest + highest) / 2;
        lower = std::min(fitLower, std::floor((centre - kMinHeartRateSpan / 2) / kHeartRateStep) *
                                       kHeartRateStep);
        upper = std::max(fitUpper, lower + kMinHeartRateSpan);
    }
    if (lower < 0) {
        upper -= lower;
        lower = 0;
    }
    return {lower, upper};
}

int SessionLabelStride(size_t count) {
    return std::max(1, static_cast<int>((count + kMaxSessionLabels - 1) / kMaxSessionLabels));
}

} // namespace mirado
