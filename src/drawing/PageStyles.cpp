#include "drawing/PageStyles.h"

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

} // namespace

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
