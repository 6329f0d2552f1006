#pragma once
// The reason picker of the window: a small modal list of the standard reasons for
// rejecting a reading, the given one chosen first. Keys 1 to 5 pick a reason at once (when let go)
// ("Other" then waits for its note); Enter takes the chosen one, Escape cancels.

#include "platform/ReasonPicker.h"

#include <QDialog>

class QLineEdit;
class QListWidget;

namespace mirado {

class CReasonPickerDialog : public QDialog {
    Q_OBJECT
public:
    explicit CReasonPickerDialog(const std::string& preselected, QWidget* parent = nullptr);

    ReasonChoice Choice() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool PickByKey(const QKeyEvent& event);
    void OnRowChanged(int row);

    QListWidget* list_ = nullptr;
    QLineEdit* note_ = nullptr;
};

// IReasonPicker through the dialog, over the given window.
class CQtReasonPicker : public IReasonPicker {
public:
    explicit CQtReasonPicker(QWidget* owner) : owner_(owner) {}
    std::optional<ReasonChoice> PickReason(const std::string& preselected) override;

private:
    QWidget* owner_;
};

} // namespace mirado
