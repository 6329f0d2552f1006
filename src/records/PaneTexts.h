#pragma once
// Texts the information pane shows for a recording that other outputs (the table export)
// repeat: the species line and which result code is flagged.

#include <string>

namespace mirado {

// The species line for a model code and sample interval: "MOUSE", "RAT", "RABBIT/MONKEY",
// "DOG", "Other", or "MS  <ms>" for a model without a species table.
std::string SpeciesText(int modelCode, int sampling);

// The result code after the validity filter: 0 means no flag is shown; any other code is
// shown as its flag text (ResultFlagText). Values that are not valid keep only the codes
// that explain why.
int ShownResultCode(int resultCode, bool valid);

} // namespace mirado
