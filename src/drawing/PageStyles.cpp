#include "drawing/PageStyles.h"

#include <cmath>

namespace mirado {

namespace {

// Top and bottom margins of the graph, in 1/100 inch.
constexpr int kCurrentFileMarginHundredths = 158;
constexpr int kSelectedFilesMarginHundredths = 138;

// Our notice after every family text.
constexpr const char* kNotice = " (c) Mirado";
constexpr const char* kFamilyA = "LumicA Blood Pressure Recording";
constexpr const char* kFamilyE = "LumicE Blood Pressure Recording";
constexpr const char* kFamilyPlain = "Blood Pressure Recording";

// The wave view's fixed pens; its two trace pens take the settings' colours.
constexpr Colour kBlack = Rgb(0, 0, 0);
constexpr Colour kLightGrey = Rgb(192, 192, 192);
constexpr Colour kGrey = Rgb(128, 128, 128);
constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kBlue = Rgb(0, 0, 255);

constexpr Pen Solid(Colour colour) {
    return {PenStyle::Solid, 1, colour};
}
constexpr Pen Dotted(Colour colour) {
    return {PenStyle::Dotted, 1, colour};
}

// Below this contrast on white a trace colour is darkened for print.
constexpr double kMinimumPrintContrast = 3.0;

// The relative luminance of one 8-bit sRGB component, linearised.
double LinearComponent(int value) {
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(Colour colour) {
    return 0.2126 * LinearComponent(RedOf(colour)) + 0.7152 * LinearComponent(GreenOf(colour)) +
           0.0722 * LinearComponent(BlueOf(colour));
}

} // namespace

double ContrastOnWhite(Colour colour) {
    constexpr double kWhiteLuminance = 1.0;
    constexpr double kFlare = 0.05;
    return (kWhiteLuminance + kFlare) / (RelativeLuminance(colour) + kFlare);
}

Colour PrintableTraceColour(Colour colour) {
    if (ContrastOnWhite(colour) >= kMinimumPrintContrast)
        return colour;
    return Rgb(RedOf(colour) / 2, GreenOf(colour) / 2, BlueOf(colour) / 2);
}

std::string CurrentFileTitle(int deviceTypeCode) {
    switch (deviceTypeCode) {
    case 0:
    case 2:
        return std::string(kFamilyA) + kNotice;
    case 1:
    case 3:
        return std::string(kFamilyE) + kNotice;
    default:
        return std::string(kFamilyPlain) + kNotice;
    }
}

std::string SelectedFilesTitle() {
    return std::string(kFamilyPlain) + kNotice;
}

std::string FormatPageHeading(const std::string& title, int sense) {
    return title + " " + std::to_string(sense);
}

PageStyle CurrentFilePageStyle(Colour waveColour, Colour pressColour) {
    PageStyle style;
    style.verticalMarginHundredths = kCurrentFileMarginHundredths;
    style.heightFromVerticalResolution = true;
    style.ownPressureBaseline = true;
    style.whiteFillAboveGraph = true;
    style.pens = {Solid(kBlack),      Solid(kLightGrey), Dotted(kLightGrey), Solid(waveColour),
                  Solid(pressColour), Solid(kRed),       Solid(kGrey)};
    style.fontFace = kCurrentFilePrintFont;
    return style;
}

PageStyle SelectedFilesPageStyle() {
    PageStyle style;
    style.verticalMarginHundredths = kSelectedFilesMarginHundredths;
    style.heightFromVerticalResolution = false;
    style.ownPressureBaseline = false;
    style.whiteFillAboveGraph = false;
    style.pens = {Solid(kBlack), Solid(kLightGrey), Dotted(kLightGrey), Solid(kBlue),
                  Solid(kGrey),  Solid(kRed),       Solid(kGrey)};
    style.fontFace = kSelectedFilesPrintFont;
    return style;
}

} // namespace mirado
