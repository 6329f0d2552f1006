#include "views/WholeView.h"

#include "document/MiradoDoc.h"
#include "drawing/PaneLayout.h"
#include "drawing/WholeDrawing.h"

#include <QMouseEvent>
#include <QScrollBar>

namespace mirado {

CWholeView::CWholeView(CMiradoDoc* document, QWidget* parent) : CWaveView(document, parent) {
    HorizontalScrollBar()->hide();
}

void CWholeView::OnInitialUpdate() {
    HorizontalScrollBar()->setRange(0, 0);
    HorizontalScrollBar()->hide();
}

QRect CWholeView::CalcWindowRect(const QRect& area) const {
    return FromEdges(kSideColumnWidth, area.top(), area.x() + area.width() - kSideColumnWidth,
                     area.top() + kOverviewBandHeight);
}

void CWholeView::OnEraseBackground(IDrawingSurface& surface) {
    surface.FillRect(ClientRect(), overviewBackground_);
}

void CWholeView::OnDraw(IDrawingSurface& surface) {
    clientRect_ = WaveClientRect();
    tickCount_ = 0;
    const CMiradoDoc* doc = GetDocument();
    if (doc == nullptr || !doc->IsLoaded() || doc->IsCurrentFileDamaged() != 0)
        return;
    baselines_.pressure = OverviewBaseline(clientRect_.Height());
    tickCount_ = DrawWholeRecording(surface, clientRect_, doc->GetPulseSamples(),
                                    doc->GetBeatPositions(), pens_.tick);
}

void CWholeView::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

} // namespace mirado
