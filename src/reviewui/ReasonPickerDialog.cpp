#include "reviewui/ReasonPickerDialog.h"

#include "platform/qtcore/UiText.h"
#include "review/ReviewEvent.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include <iterator>

namespace mirado {

namespace {

constexpr int kReasonCount = static_cast<int>(std::size(kRejectReasons));
// The last reason, "other", asks for a note.
constexpr int kOtherRow = kReasonCount - 1;

} // namespace

CReasonPickerDialog::CReasonPickerDialog(const std::string& preselected, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("reasonPicker"));
    setWindowTitle(UiText("Reject Reading"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(UiText("Why is this reading rejected?"), this));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("reasonList"));
    int chosen = 0;
    for (int row = 0; row < kReasonCount; ++row) {
        list_->addItem(
            QStringLiteral("%1  %2").arg(row + 1).arg(UiText(kRejectReasons[row].label)));
        if (preselected == kRejectReasons[row].key)
            chosen = row;
    }
    list_->setFixedHeight(kReasonCount * list_->sizeHintForRow(0) + 2 * list_->frameWidth());
    layout->addWidget(list_);
    note_ = new QLineEdit(this);
    note_->setObjectName(QStringLiteral("reasonNote"));
    note_->setPlaceholderText(UiText("Note"));
    layout->addWidget(note_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::currentRowChanged, this, &CReasonPickerDialog::OnRowChanged);
    connect(list_, &QListWidget::itemActivated, this, &QDialog::accept);
    list_->installEventFilter(this);
    list_->setCurrentRow(chosen);
    OnRowChanged(chosen);
    list_->setFocus();
}

void CReasonPickerDialog::OnRowChanged(int row) {
    note_->setEnabled(row == kOtherRow);
}

ReasonChoice CReasonPickerDialog::Choice() const {
    const int row = std::max(list_->currentRow(), 0);
    ReasonChoice choice{kRejectReasons[row].key, {}};
    if (row == kOtherRow)
        choice.note = note_->text().trimmed().toStdString();
    return choice;
}

// A digit picks when it is let go, so that its release does not reach the main window
// (where 1 and 2 change the amplitude) after the list has closed.
void CReasonPickerDialog::keyPressEvent(QKeyEvent* event) {
    if (!PickByKey(*event))
        QDialog::keyPressEvent(event);
}

void CReasonPickerDialog::keyReleaseEvent(QKeyEvent* event) {
    if (!PickByKey(*event))
        QDialog::keyReleaseEvent(event);
}

// The list would take a digit as the start of a search: the digits pick here first.
bool CReasonPickerDialog::eventFilter(QObject* watched, QEvent* event) {
    const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (watched == list_ && key && PickByKey(*static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

bool CReasonPickerDialog::PickByKey(const QKeyEvent& event) {
    const int row = event.key() - Qt::Key_1;
    if (note_->hasFocus() || row < 0 || row >= kReasonCount ||
        (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) != 0)
        return false;
    if (event.type() != QEvent::KeyRelease || event.isAutoRepeat())
        return true;
    list_->setCurrentRow(row);
    if (row == kOtherRow)
        note_->setFocus();
    else
        accept();
    return true;
}

std::optional<ReasonChoice> CQtReasonPicker::PickReason(const std::string& preselected) {
    CReasonPickerDialog dialog(preselected, owner_);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Choice();
}

} // namespace mirado
