#pragma once
// CFileDialog4Text: the save dialog of the text export. It is Qt's own (non-native) file
// dialog with a " Measurements " panel added below the file name, where the user
// chooses between the dominant values of each file, the mean values per animal and the
// tidy table, with the encoding of the first two and the value source of the table.
// Every opening starts at "Dominant", whatever was chosen before; the encoding is the
// one given (the last one used).

#include "document/ExportLoop.h"

#include <QFileDialog>

class QComboBox;
class QRadioButton;

namespace mirado {

inline constexpr const char* kTextExportFileName = "Textout.txt";
inline constexpr const char* kTableExportFileName = "Textout.csv";

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

    // The choices of the panel (for keyboard and test access).
    QRadioButton* DominantButton() const { return dominantButton_; }
    QRadioButton* MeanButton() const { return meanButton_; }
    QRadioButton* TableButton() const { return tableButton_; }
    QComboBox* EncodingBox() const { return encodingBox_; }
    QComboBox* SourceBox() const { return sourceBox_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void AddMeasurementsPanel();
    QWidget* MakeOptionsRow(QWidget* panel);
    void ChooseMode(ExportMode mode);
    void ResetToDominant();

    ExportChoice choice_;
    QRadioButton* dominantButton_ = nullptr;
    QRadioButton* meanButton_ = nullptr;
    QRadioButton* tableButton_ = nullptr;
    QComboBox* encodingBox_ = nullptr;
    QComboBox* sourceBox_ = nullptr;
};

} // namespace mirado
