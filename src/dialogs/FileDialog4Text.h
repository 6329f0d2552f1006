#pragma once
// CFileDialog4Text: the save dialog of the text export. It is Qt's own (non-native) file
// dialog with a " Measurements " panel added below the file name, where the user
// chooses between the dominant values of each file and the mean values per animal.
// Every opening starts at "Dominant", whatever was chosen before.

#include <QFileDialog>

class QRadioButton;

namespace mirado {

class CFileDialog4Text : public QFileDialog {
    Q_OBJECT
public:
    // A save dialog with the given default extension (added when the user types a name
    // without one), default file name and filters ("label (*.ext)" each).
    CFileDialog4Text(const QString& defaultExtension, const QString& defaultFileName,
                     const QStringList& filters, QWidget* parent = nullptr);

    // True for "Dominant", false for "Mean".
    bool IsDominant() const { return dominant_; }

    // The two choices of the panel (for keyboard and test access).
    QRadioButton* DominantButton() const { return dominantButton_; }
    QRadioButton* MeanButton() const { return meanButton_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void AddMeasurementsPanel();
    void ResetToDominant();

    bool dominant_ = true;
    QRadioButton* dominantButton_ = nullptr;
    QRadioButton* meanButton_ = nullptr;
};

} // namespace mirado
