#pragma once
// The printed page of the current file, as the wave view prints it: the recording page
// with the device-family heading, the wave view's pens in the colours of the settings
// (a pale one darkened so that it reads on paper), the 12-point gothic print font, and
// the document's current values (same view scale, fitted-curve toggle and analysis
// source as the screen), always the whole recording.

#include "drawing/PrintedPage.h"

#include <utility>

namespace mirado {

class CMiradoDoc;
class IUserPrompts;

// The document's current file as a page reads it; the sample arrays stay the
// document's, so the result is valid until the document changes its current file.
PrintedRecording ReadPrintedRecording(const CMiradoDoc& doc);

class CCurrentFilePage {
public:
    // Scale labels are drawn only when the options say so (the program passes its
    // setting; the batch tool draws the page without them).
    CCurrentFilePage(const CMiradoDoc& doc, IUserPrompts& prompts,
                     ScaleLabelOptions scaleLabels = {})
        : doc_(doc), prompts_(prompts), scaleLabels_(std::move(scaleLabels)) {}

    // Draws the page into the drawing rectangle (device units of the surface); the page
    // stays empty when nothing is loaded or the current file is damaged.
    void Draw(IDrawingSurface& surface, const Rect& drawingRect) const;

private:
    const CMiradoDoc& doc_;
    IUserPrompts& prompts_;
    ScaleLabelOptions scaleLabels_;
};

} // namespace mirado
