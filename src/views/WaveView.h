#pragma once
// CWaveView: the large pane that shows the current recording: the pulse-wave and
// pressure traces, the grid, the optional fitted curve and the markers S and M. The user
// zooms and scrolls the time axis, scales the pulse wave, and carries a marker to a new
// sample with two left clicks (pick up, drop) while the information pane shows the
// pressure under the pointer. The picture itself is computed by CWaveDrawing.

#include "drawing/PaneLayout.h"
#include "drawing/WaveDrawing.h"
#include "drawing/WaveNavigation.h"
#include "platform/qt/ViewBase.h"

#include <QCursor>
#include <QPointer>
#include <QString>

#include <array>
#include <string>

class QScrollBar;

namespace mirado {

class CMiradoDoc;

inline constexpr int kLabelTextCount = 15;

class CWaveView : public CViewBase {
    Q_OBJECT
public:
    explicit CWaveView(CMiradoDoc* document, QWidget* parent = nullptr);
    ~CWaveView() override;

    CMiradoDoc* GetDocument() const;

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
    // A request of the horizontal scroll bar; `position` is the thumb position it gives.
    void OnHScroll(ScrollRequest request, int position);

    // Where WM_MARKER_VALUE goes. Without one, the information pane in the same window.
    void SetMarkerValueReceiver(QObject* receiver) { markerValueReceiver_ = receiver; }

    // The area drawn on: the widget less the scroll bar while it is shown.
    Rect WaveClientRect() const;
    const std::array<std::string, kLabelTextCount>& LabelTexts() const { return labelTexts_; }
    Colour BackgroundColour() const { return backgroundColour_; }
    const WavePens& Pens() const { return pens_; }
    int ZoomIndex() const { return zoomIndex_; }
    int ScrollOffset() const { return scrollOffset_; }
    int CarriedMarker() const { return carriedMarker_; }
    int DragLineX() const { return dragLineX_; }
    const WaveBaselines& Baselines() const { return baselines_; }
    QScrollBar* HorizontalScrollBar() const { return scrollBar_; }
    const QCursor& DragCursor() const { return dragCursor_; }

signals:
    // The text for the frame's second status pane: date, time and comment.
    void StatusTextChanged(const QString& text);

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
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
    void DrawDragLine(IDrawingSurface& surface) const;
    void InvalidateDragColumn(int x);
    void SendMarkerValue(int value);
    void SetStatusText(const QString& text);
    WaveScene SceneFromDocument() const;

    std::array<std::string, kLabelTextCount> labelTexts_;
    Colour backgroundColour_ = kWhite;
    QCursor dragCursor_;
    int scrollOffset_ = 0;
    int zoomIndex_ = 0;
    int carriedMarker_ = kNoMarker;
    int dragLineX_ = 0;
    QScrollBar* scrollBar_ = nullptr;
    QPointer<QObject> markerValueReceiver_;
    QString statusText_;
};

} // namespace mirado
