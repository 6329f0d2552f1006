#include "drawing/ScaleLabels.h"

#include <cstdint>

namespace mirado {

namespace {

constexpr int kHalfMillimetresPerMillimetre = 2;
constexpr int kScreenLabelPointTenths = 90;
constexpr int kNormalWeight = 400;
const char* const kLabelFace = "ＭＳ ゴシック";
// Strides beyond this many seconds never occur: a recording holds 4000 samples.
constexpr int kLargestStride = 100000;

} // namespace

std::vector<TimeMark> TimeMarksBetween(int step, int first, int last) {
    std::vector<TimeMark> marks;
    if (step <= 0)
        return marks;
    int second = first <= step ? 1 : (first + step - 1) / step;
    for (int t = second * step; t <= last; t += step, ++second)
        marks.push_back({t, second});
    return marks;
}

std::vector<PressureMark> PressureMarks(int baseline, int top, int stepMmHg,
                                        const SampleScale& scale) {
    std::vector<PressureMark> marks;
    if (stepMmHg <= 0)
        return marks;
    for (int mmHg = 0;; mmHg += stepMmHg) {
        const int raw = mmHg * kHalfMillimetresPerMillimetre;
        if (raw > INT16_MAX)
            break;
        const int y = baseline - ScaleSample(static_cast<int16_t>(raw), scale);
        if (y < top)
            break;
        marks.push_back({y, mmHg});
    }
    return marks;
}

std::string SecondLabel(int second, const ScaleLabelOptions& options) {
    return std::to_string(second) + " " + options.secondsUnit;
}

int SecondLabelStride(double secondWidth, int widest, int gap) {
    if (secondWidth <= 0)
        return kLargestStride;
    const int needed = widest + gap;
    for (int decade = 1; decade < kLargestStride; decade *= 10) {
        for (int factor : {1, 2, 5}) {
            const int stride = decade * factor;
            if (secondWidth * stride >= needed)
                return stride;
        }
    }
    return kLargestStride;
}

std::string PressureLabel(int mmHg, bool withUnit, const ScaleLabelOptions& options) {
    const std::string number = std::to_string(mmHg);
    return withUnit ? number + " " + options.pressureUnit : number;
}

FontSpec ScreenLabelFont() {
    return FontSpec{kLabelFace, kScreenLabelPointTenths, 0, kNormalWeight};
}

} // namespace mirado
