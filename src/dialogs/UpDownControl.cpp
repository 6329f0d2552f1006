#include "dialogs/UpDownControl.h"

#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace mirado {

namespace {
constexpr int kArrowWidth = 16;
constexpr int kArrowHeight = 11;

QToolButton* MakeArrow(Qt::ArrowType arrow, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(kArrowWidth, kArrowHeight);
    return button;
}
} // namespace

CUpDownControl::CUpDownControl(QWidget* parent)
    : QWidget(parent), up_(MakeArrow(Qt::UpArrow, this)), down_(MakeArrow(Qt::DownArrow, this)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    up_->setObjectName(QStringLiteral("up"));
    down_->setObjectName(QStringLiteral("down"));
    column->addWidget(up_);
    column->addWidget(down_);
    setFocusPolicy(Qt::StrongFocus);
    connect(up_, &QToolButton::clicked, this, &CUpDownControl::StepUp);
    connect(down_, &QToolButton::clicked, this, &CUpDownControl::StepDown);
}

void CUpDownControl::SetRange(int lowest, int highest) {
    lowest_ = std::min(lowest, highest);
    highest_ = std::max(lowest, highest);
    SetPosition(position_);
}

void CUpDownControl::SetPosition(int position) {
    const int clamped = std::clamp(position, lowest_, highest_);
    if (clamped == position_)
        return;
    position_ = clamped;
    emit PositionChanged(position_);
}

void CUpDownControl::TakeArrowKeysFrom(QWidget* widget) {
    widget->installEventFilter(this);
}

bool CUpDownControl::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            keyPressEvent(static_cast<QKeyEvent*>(event));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CUpDownControl::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
        StepUp();
        break;
    case Qt::Key_Down:
        StepDown();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace mirado
