#pragma once
// CWholeView: the 100-pixel band above the wave view that always shows the whole
// recording: the pulse wave at a fixed scale in black on light grey, with a blue tick at
// every stored beat. Zoom, scroll, view scale, colours and markers of the wave view do
// not touch it, and it ignores clicks.

#include "views/WaveView.h"

namespace mirado {

class CWholeView : public CWaveView {
    Q_OBJECT
public:
    explicit CWholeView(CMiradoDoc* document, QWidget* parent = nullptr);

    void OnInitialUpdate() override;
    void OnEraseBackground(IDrawingSurface& surface) override;
    void OnDraw(IDrawingSurface& surface) override;
    QRect CalcWindowRect(const QRect& area) const override;

    // Ticks drawn by the last draw.
    int TickCount() const { return tickCount_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    int tickCount_ = 0;
};

} // namespace mirado
