#pragma once
// CUpDownControl: a pair of arrow buttons that steps an integer position within a range,
// with no text field of its own (the Parameters dialog shows the value in a separate
// edit, in seconds). The up and down arrow keys step it too when it has the focus, or
// when the widget it takes its keys from has it.

#include <QWidget>

class QToolButton;

namespace mirado {

class CUpDownControl : public QWidget {
    Q_OBJECT
public:
    explicit CUpDownControl(QWidget* parent = nullptr);

    void SetRange(int lowest, int highest);
    // Clamped into the range; emits PositionChanged only when the position moves.
    void SetPosition(int position);
    int GetPosition() const { return position_; }
    int Lowest() const { return lowest_; }
    int Highest() const { return highest_; }

    void StepUp() { SetPosition(position_ + 1); }
    void StepDown() { SetPosition(position_ - 1); }

    // The up and down arrow keys pressed in `widget` step the position instead.
    void TakeArrowKeysFrom(QWidget* widget);

signals:
    void PositionChanged(int position);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* up_;
    QToolButton* down_;
    int lowest_ = 0;
    int highest_ = 100;
    int position_ = 0;
};

} // namespace mirado
