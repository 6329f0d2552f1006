#include "views/ViewBase.h"

#include "rendering/QtPainterSurface.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>

namespace mirado {

namespace {
constexpr Colour kDefaultBackground = Rgb(255, 255, 255);
}

CViewBase::CViewBase(CDocumentBase* document, QWidget* parent)
    : QWidget(parent), document_(document) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    if (document_ != nullptr)
        document_->AddView(this);
}

CViewBase::~CViewBase() {
    if (document_ != nullptr)
        document_->RemoveView(this);
}

void CViewBase::OnInitialUpdate() {
    update();
}

void CViewBase::OnUpdate(IView* /*sender*/) {
    update();
}

void CViewBase::OnEraseBackground(IDrawingSurface& surface) {
    surface.FillRect(ClientRect(), kDefaultBackground);
}

QRect CViewBase::CalcWindowRect(const QRect& area) const {
    return area;
}

QObject* CViewBase::KeyTarget() const {
    if (keyTarget_ != nullptr)
        return keyTarget_;
    return window() != this ? window() : nullptr;
}

Rect CViewBase::ClientRect() const {
    return Rect{0, 0, width(), height()};
}

// The painter is clipped to the damaged region so that the panes can tell from the
// surface's clip box which part of their picture needs drawing.
void CViewBase::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setClipRegion(event->region());
    QtPainterSurface surface(painter);
    OnEraseBackground(surface);
    OnDraw(surface);
}

void CViewBase::keyReleaseEvent(QKeyEvent* event) {
    QObject* target = KeyTarget();
    if (target != nullptr && !event->isAutoRepeat()) {
        QCoreApplication::postEvent(
            target, new QKeyEvent(QEvent::KeyRelease, event->key(), event->modifiers(),
                                  event->nativeScanCode(), event->nativeVirtualKey(),
                                  event->nativeModifiers(), event->text(), event->isAutoRepeat(),
                                  static_cast<quint16>(event->count())));
    }
    // Accepted here so the release does not also reach the frame through the parents.
    event->accept();
}

} // namespace mirado
