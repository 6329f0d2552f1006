#pragma once
// CWaveView: the large pane that shows the current recording: the pulse-wave and
// pressure traces, the grid, the optional fitted curve and the markers S and M. The user
// zooms and scrolls the time axis, scales the pulse wave, and carries a marker to a new
// sample with two left clicks (pick up, drop) or by dragging it, while the information
// pane shows the pressure under the pointer; the keyboard nudges a carried marker. The
// picture itself is computed by CWaveDrawing.
//
// Pointer and keys form one state machine over the carried marker:
//   idle     -- left press within the tolerance of a marker --> carrying (press remembered)
//   carrying -- left press, release farther than the drag distance from that press, or
//               Enter: drop (one edit) --> idle; right press or Escape: cancel --> idle
// In both states a move reads out the sample under the pointer (leaving clears it), a
// wheel notch travels a tenth of the visible span and Ctrl+wheel zooms. Left and Right
// travel the same way while idle; while carrying they move the carried sample by one
// (Shift: ten) and the drag line follows it, as it follows each move.

#include "document/DocumentEdits.h"
#include "drawing/PaneLayout.h"
#include "drawing/PointerReadout.h"
#include "drawing/WaveDrawing.h"
#include "drawing/WaveNavigation.h"
#include "views/ViewBase.h"

#include <QCursor>
#include <QPointer>
#include <QString>

#include <optional>

class QScrollBar;

namespace mirado {

class CMiradoDoc;

class CWaveView : public CViewBase {
    Q_OBJECT
public:
    explicit CWaveView(CMiradoDoc* document, QWidget* parent = nullptr);
    ~CWaveView() override;

    CMiradoDoc* GetDocument() const;
    // Where a dropped marker goes (the window's undo history); null, the default, moves it
    // on the document at once.
    void SetEdits(IDocumentEdits* edits) { edits_ = edits; }

    void OnInitialUpdate() override;
    void OnEraseBackground(IDrawingSurface& surface) override;
    void OnDraw(IDrawingSurface& surface) override;
    QRect CalcWindowRect(const QRect& area) const override;

    // Background colour and the two trace pens from the document's settings.
    void ApplyColourSettings();
    // The scroll bar's range for the zoom index; the offset keeps its value within it.
    void UpdateScrollRange();
    int SampleAtX(int x) const;

    // The mouse actions, by client x.
    void OnLButtonDown(int x);
    void OnMouseMove(int x);
    void OnRButtonDown();
    void OnPointerLeave();
    // Wheel notches (positive away from the user): scroll, or zoom with Ctrl held.
    void OnWheel(int notches, bool zoom);
    // A key pressed (or repeated) while the pane has the focus; false when not used.
    bool OnKeyDown(int key);
    void OnLButtonUp(int x);
    // A key pressed (or repeated) while a marker is carried; false when not used.
    bool OnMarkerKey(int key, bool shift);
    // A request of the horizontal scroll bar; `position` is the thumb position it gives.
    void OnHScroll(ScrollRequest request, int position);
    // Scrolls a zoomed view so that its first visible sample is `offset` (limited).
    void ScrollTo(int offset);
    // Scrolls a zoomed view by `steps` tenths of the visible span (negative: back).
    void Travel(int steps);
    // The document changed: redraw and read out the pointer's sample again.
    void OnUpdate(IView* sender) override;

    // What the status bar shows for the pointer at client x; nothing where no file is shown.
    virtual std::optional<PointerReadout> ReadoutAtX(int x) const;

    // Where WM_MARKER_VALUE goes. Without one, the information pane in the same window.
    void SetMarkerValueReceiver(QObject* receiver) { markerValueReceiver_ = receiver; }

    // The area drawn on: the widget less the scroll bar while it is shown.
    Rect WaveClientRect() const;
    int ZoomIndex() const { return zoomIndex_; }
    int ScrollOffset() const { return scrollOffset_; }
    int CarriedMarker() const { return carriedMarker_; }
    int DragLineX() const { return dragLineX_; }
    int CarriedSample() const { return carriedSample_; }
    const WaveBaselines& Baselines() const { return baselines_; }
    const QCursor& DragCursor() const { return dragCursor_; }

signals:
    // The text for the frame's second status pane: date, time and comment.
    void StatusTextChanged(const QString& text);
    // The readout under the pointer; empty when the pointer left or nothing is shown.
    void PointerReadoutChanged(const QString& text);
    // The zoom index or the scroll offset changed.
    void VisibleSpanChanged();

protected:
    QScrollBar* HorizontalScrollBar() const { return scrollBar_; }
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    // The state the overview shares with this pane.
    Rect clientRect_;
    WaveBaselines baselines_;
    WavePens pens_;
    const Colour overviewBackground_ = kOverviewBackground;

private:
    void OnAmplitude(int delta);
    void OnZoom(int delta);
    void OnScrollAction(int action);
    void DrawStartHint(IDrawingSurface& surface) const;
    void DrawDragLine(IDrawingSurface& surface) const;
    void InvalidateDragColumn(int x);
    void MoveDragLine(int x);
    void NudgeCarriedMarker(int delta);
    void DropCarriedMarker(int sample);
    void SendMarkerValue(int value);
    void SetStatusText(const QString& text);
    void RefreshReadout();
    bool ShowsFile() const;
    WaveScene SceneFromDocument() const;

    Colour backgroundColour_ = kWhite;
    QCursor dragCursor_;
    int scrollOffset_ = 0;
    int zoomIndex_ = 0;
    int carriedMarker_ = kNoMarker;
    int dragLineX_ = 0;
    int carriedSample_ = 0;     // where Enter drops the carried marker
    std::optional<int> pressX_; // client x of the press that picked the marker up
    QScrollBar* scrollBar_ = nullptr;
    QPointer<QObject> markerValueReceiver_;
    IDocumentEdits* edits_ = nullptr;
    QString statusText_;
    std::optional<int> pointerX_; // client x of the pointer while it is over the pane
    QString readoutText_;
    int wheelAngle_ = 0; // eighths of a degree not yet a whole notch
};

} // namespace mirado
