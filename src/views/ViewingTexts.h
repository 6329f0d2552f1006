#pragma once
// The words the wave view and the overview show with their values: the readout under
// the pointer for the status bar, and the unit texts of the scale labels. All of them
// go through Qt's translation.

#include "drawing/PointerReadout.h"
#include "drawing/ScaleLabels.h"

#include <QString>

namespace mirado {

class CMiradoDoc;

// "1.234 s   sample 617   120 mmHg   optical 345"; a value that is absent is left out.
QString ReadoutText(const PointerReadout& readout);

// The scale labels as the document's setting asks for them, with translated units.
ScaleLabelOptions ScaleLabelOptionsOf(const CMiradoDoc& doc);

} // namespace mirado
