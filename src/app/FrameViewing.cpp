#include "app/FrameViewing.h"

#include "app/MainFrame.h"
#include "drawing/PointerReadout.h"
#include "records/RecordLayout.h"
#include "views/ViewingTexts.h"
#include "views/WaveView.h"
#include "views/WholeView.h"

#include <QFontMetrics>
#include <QLabel>
#include <QStatusBar>

namespace mirado {

namespace {

const char* const kReadoutPaneName = "pointerReadout";

// Wide enough for the longest readout, so the panes do not move while the pointer does.
int ReadoutPaneWidth(const QLabel& pane) {
    PointerReadout widest;
    widest.sample = kSampleCount - 1;
    widest.milliseconds = 99999;
    widest.cuffMmHg = -16384;
    widest.optical = -32768;
    return QFontMetrics(pane.font()).horizontalAdvance(ReadoutText(widest));
}

void AddReadoutPane(CMainFrame& frame) {
    auto* pane = new QLabel(&frame);
    pane->setObjectName(QString::fromLatin1(kReadoutPaneName));
    pane->setMinimumWidth(ReadoutPaneWidth(*pane));
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // Before every other permanent pane: left of the date pane.
    frame.statusBar()->insertPermanentWidget(0, pane);
    const auto show = [pane](const QString& text) { pane->setText(text); };
    if (CWaveView* wave = frame.GetWaveView())
        QObject::connect(wave, &CWaveView::PointerReadoutChanged, pane, show);
    if (auto* whole = qobject_cast<CWholeView*>(frame.GetWholeView()))
        QObject::connect(whole, &CWaveView::PointerReadoutChanged, pane, show);
}

void LinkOverview(CMainFrame& frame) {
    if (auto* whole = qobject_cast<CWholeView*>(frame.GetWholeView()))
        whole->SetNavigatedView(frame.GetWaveView());
}

} // namespace

void WireViewing(CMainFrame& frame) {
    AddReadoutPane(frame);
    LinkOverview(frame);
}

QLabel* PointerReadoutPane(const CMainFrame& frame) {
    return frame.findChild<QLabel*>(QString::fromLatin1(kReadoutPaneName));
}

} // namespace mirado
