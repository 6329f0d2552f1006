#pragma once
// CInformationView: the 130-pixel column at the left of the main window. It shows the
// recording conditions, the animal number and the measurement results of the current
// file, and, while the user drags a marker in the wave view, that marker's live value.

#include "drawing/InformationDrawing.h"
#include "views/ViewBase.h"

#include <optional>

namespace mirado {

class CMiradoDoc;

// What a result flag as shown (ShownResultCode) means; empty for none.
QString ResultFlagExplanation(int shownCode);

class CInformationView : public CViewBase {
    Q_OBJECT
public:
    CInformationView(CMiradoDoc* document, QWidget* parent = nullptr);

    CMiradoDoc* GetDocument() const;

    void OnEraseBackground(IDrawingSurface& surface) override;
    void OnDraw(IDrawingSurface& surface) override;
    QRect CalcWindowRect(const QRect& area) const override;

    // WM_MARKER_VALUE: marker 1 is the systolic marker, any other the mean marker; the
    // value is the raw pressure under the pointer. Shown until the next repaint.
    void ShowLiveMarkerValue(int marker, int rawPressure);

    // The height the column needs to show all its lines with the screen's fonts.
    static int ColumnHeight();

    // The values the lines show, read from the document.
    InformationValues CollectValues() const;
    // The tool tip at a point of the pane: what a condition line, the M-S line or the
    // shown result flag means; empty elsewhere.
    QString ToolTipAt(QPoint point) const;
    static InformationLabels Labels();

protected:
    bool event(QEvent* event) override;

private:
    struct LiveValue {
        LiveMarker marker;
        int rawPressure;
    };

    QString ResultFlagTip() const;

    CInformationDrawing drawing_;
    std::optional<LiveValue> live_;
};

} // namespace mirado
