#pragma once
// CFileDialog4Text: the save dialog of the text export. It is Qt's own (non-native) file
// dialog with a " Measurements " panel added below the file name, where the user
// chooses between the dominant values of each file, the mean values per animal and the
// tidy table, with the encoding of the first two and the value source of the table.
// Every opening starts in the mode given (the last one chosen), showing the encoding for
// Dominant and Mean or the value source for the table; the encoding is the one given
// (the last one used).

#include "document/ExportLoop.h"

#include <QFileDialog>

class QComboBox;
class QLabel;
class QRadioButton;

namespace mirado {

class CFileDialog4Text : public QFileDialog {
    Q_OBJECT
public:
    // A save dialog with the given default extension (added when the user types a name
    // without one), default file name and filters ("label (*.ext)" each).
    CFileDialog4Text(const QString& defaultExtension, const QString& defaultFileName,
                     const QStringList& filters, QWidget* parent = nullptr);

    // True for "Dominant", false for "Mean" and "Table".
    bool IsDominant() const { return choice_.mode == ExportMode::Dominant; }
    const ExportChoice& Choice() const { return choice_; }
    void SetEncoding(ExportEncoding encoding);
    // The mode every opening starts in ("Dominant" unless set).
    void SetStartMode(ExportMode mode);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void AddMeasurementsPanel();
    QWidget* MakeOptionsRow(QWidget* panel);
    void ChooseMode(ExportMode mode);
    void CheckMode(ExportMode mode);

    ExportChoice choice_;
    ExportMode startMode_ = ExportMode::Dominant;
    QRadioButton* dominantButton_ = nullptr;
    QRadioButton* meanButton_ = nullptr;
    QRadioButton* tableButton_ = nullptr;
    QComboBox* encodingBox_ = nullptr;
    QComboBox* sourceBox_ = nullptr;
    QLabel* encodingLabel_ = nullptr;
    QLabel* sourceLabel_ = nullptr;
};

} // namespace mirado
