#pragma once
// The main window's size, position, maximised state and toolbar side: put back from the
// section "Mirado" of the settings file before the window first shows, and stored there
// when it closes.

#include "document/MiradoSettings.h"

namespace mirado {

class CMainFrame;

// The frame's placement now: its normal geometry even while maximised.
WindowPlacement CurrentWindowPlacement(const CMainFrame& frame);
// Gives the frame a placement. A position on no screen is not taken, so the window
// never opens out of reach; the size is never below the frame's minimum.
void ApplyWindowPlacement(CMainFrame& frame, const WindowPlacement& placement);

// Applies the stored placement, if any, and stores the placement whenever the frame closes.
void InstallWindowState(CMainFrame& frame, CMiradoSettings& settings);

} // namespace mirado
