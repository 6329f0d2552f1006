#pragma once
// Maps the font faces the panes and pages ask for onto faces installed on Linux desktops,
// so Japanese texts and the fixed-width columns render as intended.

namespace mirado {

void InstallFontSubstitutions();

} // namespace mirado
