#pragma once
// CWholeView: the 100-pixel band above the wave view that always shows the whole
// recording: the pulse wave at a fixed scale in black on light grey, with a blue tick at
// every stored beat. Zoom, scroll, view scale, colours and markers of the wave view do
// not change its picture. While the wave view it navigates is zoomed, the band shades
// the span that view shows, and a click or drag in the band centres that span on the
// sample under the pointer; in the full view it ignores clicks.

#include "views/WaveView.h"

#include <QPointer>

namespace mirado {

class CWholeView : public CWaveView {
    Q_OBJECT
public:
    explicit CWholeView(CMiradoDoc* document, QWidget* parent = nullptr);

    void OnInitialUpdate() override;
    void OnEraseBackground(IDrawingSurface& surface) override;
    void OnDraw(IDrawingSurface& surface) override;
    QRect CalcWindowRect(const QRect& area) const override;
    std::optional<PointerReadout> ReadoutAtX(int x) const override;

    // The wave view whose visible span the band shows and moves.
    void SetNavigatedView(CWaveView* view);
    // A press or drag with the left button at client x: centres a zoomed wave view there.
    void OnNavigate(int x);

    // Ticks drawn by the last draw.
    int TickCount() const { return tickCount_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool Navigates() const;
    int SampleUnder(int x) const;

    int tickCount_ = 0;
    QPointer<CWaveView> navigated_;
};

} // namespace mirado
