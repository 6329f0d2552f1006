#pragma once
// What sets the two kinds of printed page apart: their headings, pens, margins and
// fonts. The current-file page uses the wave view's pens with the trace colours of the
// settings and a device-family heading; the selected-files page the file list's fixed
// pens and one plain heading for every file.

#include "drawing/PrintedPage.h"

#include <string>

namespace mirado {

inline constexpr const char* kCurrentFilePrintFont = "ＭＳ ゴシック";
inline constexpr const char* kSelectedFilesPrintFont = "Courier New";

// The heading's title for a device type code: the device family and our notice.
std::string CurrentFileTitle(int deviceTypeCode);
// The title of every selected-files page: the plain family text and our notice.
std::string SelectedFilesTitle();
// The heading line: "%s %d" of a title and the file's sense value.
std::string FormatPageHeading(const std::string& title, int sense);

// The colour a trace of the given colour prints in: a colour whose contrast on white
// paper is below 3:1 (relative luminances as the web's accessibility guidelines define
// them) prints with its red, green and blue halved, so that it reads on paper; other
// colours print as they are.
Colour PrintableTraceColour(Colour colour);
// The contrast ratio of a colour on white paper, from 1 (white) to 21 (black).
double ContrastOnWhite(Colour colour);

// The wave view's pens with the given trace colours (0x00BBGGRR).
PageStyle CurrentFilePageStyle(Colour waveColour, Colour pressColour);
// The file list's fixed pens and the sibling page's margins and baseline.
PageStyle SelectedFilesPageStyle();

} // namespace mirado
