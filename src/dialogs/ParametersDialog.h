#pragma once
// CParametersDialog ("Parameters"): edits the persisted display settings - background
// white or black, the pressure and optical trace colours, the automatic stepping
// interval and the change alert - with a live preview of the colours. Values take
// effect only through OK, which stores them in the settings and writes the settings file.

#include "dialogs/ColourPreview.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace mirado {

class CDisplaySettings;
class CUpDownControl;
class IUserPrompts;

inline constexpr int kIntervalLowest = 1; // tenths of a second
inline constexpr int kIntervalHighest = 30;
inline constexpr double kSecondsPerIntervalUnit = 0.1;

class CParametersDialog : public QDialog {
    Q_OBJECT
public:
    // Re-reads the settings file and shows its values. prompts shows the number check.
    CParametersDialog(CDisplaySettings& settings, IUserPrompts& prompts, QWidget* parent = nullptr);

    // What the preview shows for the controls' current state.
    PreviewColours CurrentPreviewColours() const;

private:
    void BuildControls();
    void SetTabOrder();
    void LoadFromSettings();
    void WriteMembersToControls();
    void OnSpinChanged(int position);
    void OnDefault();
    void OnOk();
    // The table index the list's text names; fallback when it names no entry.
    int ColourIndexOf(const QComboBox* list, int fallback) const;

    CDisplaySettings& settings_;
    IUserPrompts& prompts_;

    int interval_ = 5;
    int pressColour_ = 6;
    int opticalColour_ = 0;
    int alert_ = 0;
    int background_ = 0;
    double shownInterval_ = 0;

    QRadioButton* white_ = nullptr;
    QRadioButton* black_ = nullptr;
    QRadioButton* alertOff_ = nullptr;
    QRadioButton* alertOn_ = nullptr;
    QComboBox* pressList_ = nullptr;
    QComboBox* opticalList_ = nullptr;
    QLineEdit* intervalEdit_ = nullptr;
    CUpDownControl* spin_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* default_ = nullptr;
    CColourPreview* preview_ = nullptr;
};

} // namespace mirado
