#pragma once
// The main window's printing commands: "Printer Setting...", "Print this file..." (and
// Ctrl+P), "Print Preview", and the file list's "Print selected files" and preview.
// Print and preview act on the active pane: the file list, after a click in it, prints
// the selected files; otherwise the wave view prints the current file. Opening the File
// menu makes the wave view active again, so the menu's items print the current file.

namespace mirado {

class CFrameCommands;
class CMainFrame;

void WirePrinting(CMainFrame& frame, CFrameCommands& commands);

} // namespace mirado
