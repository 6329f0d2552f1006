#pragma once
// What the main window adds to the panes for reading and travelling a recording: the
// status-bar pane that reads out the values under the pointer (left of the pane with
// date, time and comment; the first pane stays free for messages), and the overview
// band made the navigator of the wave view.

class QLabel;

namespace mirado {

class CMainFrame;

void WireViewing(CMainFrame& frame);

// The readout pane, once wired; null before.
QLabel* PointerReadoutPane(const CMainFrame& frame);

} // namespace mirado
