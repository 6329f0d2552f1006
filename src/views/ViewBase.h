#pragma once
// CViewBase: a pane of the main window that belongs to the document. It registers with
// the document as one of its views and repaints whenever the document changes; painting
// goes through an IDrawingSurface so the panes' drawing code can be tested on a
// recording surface. Every key release is passed on to the main window, which holds the
// program's only key table, and the frame asks each pane for its rectangle through
// CalcWindowRect.

#include "platform/DocumentBase.h"
#include "platform/DrawingSurface.h"

#include <QPointer>
#include <QRect>
#include <QWidget>

namespace mirado {

class CViewBase : public QWidget, public IView {
    Q_OBJECT
public:
    CViewBase(CDocumentBase* document, QWidget* parent = nullptr);
    ~CViewBase() override;

    CDocumentBase* Document() const { return document_; }

    // Called once, after the frame created every pane and before it is first shown.
    virtual void OnInitialUpdate();
    // The document changed: the default repaints the whole pane.
    void OnUpdate(IView* sender) override;

    // Background, then contents; both get the whole client rectangle's surface.
    virtual void OnEraseBackground(IDrawingSurface& surface);
    virtual void OnDraw(IDrawingSurface& surface) = 0;

    // The pane's rectangle (frame client coordinates) for the frame's free area. The
    // default takes the whole area.
    virtual QRect CalcWindowRect(const QRect& area) const;

    // Where key releases go; the default is the top-level window.
    void SetKeyTarget(QObject* target) { keyTarget_ = target; }
    QObject* KeyTarget() const;

    // A QRect from exclusive edges, the way the layout rules state them.
    static QRect FromEdges(int left, int top, int right, int bottom) {
        return QRect(left, top, right - left, bottom - top);
    }
    // The client rectangle as a drawing-surface rectangle.
    Rect ClientRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    CDocumentBase* document_;
    QPointer<QObject> keyTarget_;
};

} // namespace mirado
