#include "dialogs/ParametersDialog.h"

#include "dialogs/UpDownControl.h"
#include "document/DisplaySettings.h"
#include "platform/UserPrompts.h"
#include "platform/qtcore/UiText.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <iterator>

namespace mirado {

namespace {
constexpr int kBackgroundChoiceWhite = 0;
constexpr int kBackgroundChoiceBlack = 1;
constexpr int kAlertOff = 0;
constexpr int kAlertOn = 1;
constexpr int kIntervalEditWidth = 40;
constexpr int kColourListWidth = 90;
// Enough digits that a tenth step reads back as typed (0.1 * 23 shows as 2.3).
constexpr int kShownIntervalDigits = 15;
constexpr const char* kNotANumber = "Please enter a number.";

QString IntervalText(double seconds) {
    return QString::number(seconds, 'g', kShownIntervalDigits);
}

QComboBox* MakeColourList(QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setMinimumWidth(kColourListWidth);
    for (const ColourTableEntry& entry : kColourTable)
        list->addItem(UiText(entry.name));
    return list;
}

QGroupBox* MakeRadioPair(const QString& title, QRadioButton* first, QRadioButton* second,
                         QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    auto* row = new QHBoxLayout(box);
    row->addWidget(first);
    row->addWidget(second);
    auto* group = new QButtonGroup(box);
    group->addButton(first);
    group->addButton(second);
    return box;
}
} // namespace

CParametersDialog::CParametersDialog(CDisplaySettings& settings, IUserPrompts& prompts,
                                     QWidget* parent)
    : QDialog(parent), settings_(settings), prompts_(prompts) {
    setWindowTitle(UiText("Parameters"));
    BuildControls();
    LoadFromSettings();
    WriteMembersToControls();
    spin_->SetRange(kIntervalLowest, kIntervalHighest);
    spin_->SetPosition(interval_);
    // A stored interval outside the arrows' range shows as the clamped value OK stores.
    if (spin_->GetPosition() != interval_)
        OnSpinChanged(spin_->GetPosition());
    pressList_->setCurrentIndex(pressColour_);
    opticalList_->setCurrentIndex(opticalColour_);

    connect(spin_, &CUpDownControl::PositionChanged, this, &CParametersDialog::OnSpinChanged);
    auto repaintPreview = [this] { preview_->update(); };
    connect(white_, &QRadioButton::clicked, this, repaintPreview);
    connect(black_, &QRadioButton::clicked, this, repaintPreview);
    for (QComboBox* list : {pressList_, opticalList_}) {
        connect(list, &QComboBox::currentIndexChanged, this, repaintPreview);
        connect(list, &QComboBox::editTextChanged, this, repaintPreview);
    }
    connect(default_, &QPushButton::clicked, this, &CParametersDialog::OnDefault);
    connect(ok_, &QPushButton::clicked, this, &CParametersDialog::OnOk);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void CParametersDialog::BuildControls() {
    white_ = new QRadioButton(UiText("White"), this);
    white_->setObjectName(QStringLiteral("backgroundWhite"));
    black_ = new QRadioButton(UiText("Black"), this);
    black_->setObjectName(QStringLiteral("backgroundBlack"));
    alertOff_ = new QRadioButton(UiText("Off"), this);
    alertOff_->setObjectName(QStringLiteral("alertOff"));
    alertOn_ = new QRadioButton(UiText("On"), this);
    alertOn_->setObjectName(QStringLiteral("alertOn"));
    auto* background = MakeRadioPair(UiText(" Background Color "), white_, black_, this);
    auto* alert = MakeRadioPair(UiText(" Changeings Alert "), alertOff_, alertOn_, this);

    pressList_ = MakeColourList(this);
    pressList_->setObjectName(QStringLiteral("pressColour"));
    opticalList_ = MakeColourList(this);
    opticalList_->setObjectName(QStringLiteral("opticalColour"));
    auto* waveColours = new QGroupBox(UiText(" Wave Color "), this);
    auto* colourGrid = new QGridLayout(waveColours);
    colourGrid->addWidget(new QLabel(UiText("Press"), waveColours), 0, 0);
    colourGrid->addWidget(pressList_, 0, 1);
    colourGrid->addWidget(new QLabel(UiText("Optical"), waveColours), 1, 0);
    colourGrid->addWidget(opticalList_, 1, 1);

    intervalEdit_ = new QLineEdit(this);
    intervalEdit_->setObjectName(QStringLiteral("interval"));
    intervalEdit_->setAlignment(Qt::AlignCenter);
    intervalEdit_->setFixedWidth(kIntervalEditWidth);
    spin_ = new CUpDownControl(this);
    spin_->setObjectName(QStringLiteral("intervalSpin"));
    auto* intervalRow = new QHBoxLayout;
    intervalRow->addWidget(new QLabel(UiText("Display Interval"), this));
    intervalRow->addWidget(intervalEdit_);
    intervalRow->addWidget(spin_);
    intervalRow->addWidget(new QLabel(UiText("sec"), this));
    intervalRow->addStretch();

    preview_ = new CColourPreview([this] { return CurrentPreviewColours(); }, this);
    preview_->setObjectName(QStringLiteral("preview"));

    ok_ = new QPushButton(UiText("OK"), this);
    ok_->setObjectName(QStringLiteral("ok"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(UiText("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("cancel"));
    default_ = new QPushButton(UiText("Default"), this);
    default_->setObjectName(QStringLiteral("default"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(default_);
    buttons->addSpacing(default_->sizeHint().width());
    buttons->addWidget(cancel_);
    buttons->addWidget(ok_);

    auto* settingsColumn = new QVBoxLayout;
    settingsColumn->addWidget(background);
    settingsColumn->addWidget(waveColours);
    settingsColumn->addStretch();

    auto* grid = new QGridLayout(this);
    grid->addLayout(settingsColumn, 0, 0);
    grid->addWidget(preview_, 0, 1, Qt::AlignTop);
    grid->addLayout(intervalRow, 1, 0);
    grid->addWidget(alert, 1, 1);
    grid->addLayout(buttons, 2, 0, 1, 2);
    SetTabOrder();
}

// Tab follows the layout: the colours down the left column, the interval, the alert, then
// the buttons from left to right. The arrows show no focus, so the interval's edit takes
// their keys instead of being a stop of their own.
void CParametersDialog::SetTabOrder() {
    spin_->setFocusPolicy(Qt::NoFocus);
    spin_->TakeArrowKeysFrom(intervalEdit_);
    QWidget* const order[] = {white_,    black_,   pressList_, opticalList_, intervalEdit_,
                              alertOff_, alertOn_, default_,   cancel_,      ok_};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void CParametersDialog::LoadFromSettings() {
    settings_.Load();
    interval_ = settings_.GetInterval();
    shownInterval_ = interval_ * kSecondsPerIntervalUnit;
    background_ = settings_.GetBkColor() == kBackgroundChoiceWhite ? kBackgroundChoiceWhite
                                                                   : kBackgroundChoiceBlack;
    alert_ = settings_.GetAlert() == kAlertOff ? kAlertOff : kAlertOn;
    pressColour_ =
        IsColourIndex(settings_.GetPressColor()) ? settings_.GetPressColor() : kDefaultPressColor;
    opticalColour_ =
        IsColourIndex(settings_.GetWaveColor()) ? settings_.GetWaveColor() : kDefaultWaveColor;
}

void CParametersDialog::WriteMembersToControls() {
    (background_ == kBackgroundChoiceWhite ? white_ : black_)->setChecked(true);
    (alert_ == kAlertOff ? alertOff_ : alertOn_)->setChecked(true);
    intervalEdit_->setText(IntervalText(shownInterval_));
}

void CParametersDialog::OnSpinChanged(int position) {
    interval_ = position;
    shownInterval_ = position * kSecondsPerIntervalUnit;
    intervalEdit_->setText(IntervalText(shownInterval_));
}

void CParametersDialog::OnDefault() {
    spin_->SetPosition(kDefaultInterval);
    interval_ = kDefaultInterval;
    shownInterval_ = kDefaultInterval * kSecondsPerIntervalUnit;
    background_ = kBackgroundChoiceWhite;
    alert_ = kAlertOff;
    WriteMembersToControls();
    pressList_->setCurrentIndex(kDefaultPressColor);
    pressList_->setEditText(pressList_->itemText(kDefaultPressColor));
    pressColour_ = kDefaultPressColor;
    opticalList_->setCurrentIndex(kDefaultWaveColor);
    opticalList_->setEditText(opticalList_->itemText(kDefaultWaveColor));
    opticalColour_ = kDefaultWaveColor;
    preview_->update();
}

int CParametersDialog::ColourIndexOf(const QComboBox* list, int fallback) const {
    // The list's edit can hold any text; only a text naming a table entry selects it.
    const QString text = list->currentText().trimmed();
    for (int index = 0; index < list->count(); ++index) {
        if (list->itemText(index).trimmed().compare(text, Qt::CaseInsensitive) == 0)
            return index;
    }
    return fallback;
}

PreviewColours CParametersDialog::CurrentPreviewColours() const {
    PreviewColours colours;
    colours.blackBackground = black_->isChecked();
    colours.press = kColourTable[ColourIndexOf(pressList_, pressColour_)].colour;
    colours.optical = kColourTable[ColourIndexOf(opticalList_, opticalColour_)].colour;
    const QColor face = palette().color(QPalette::Button);
    colours.buttonFace = Rgb(face.red(), face.green(), face.blue());
    return colours;
}

void CParametersDialog::OnOk() {
    bool isNumber = false;
    const double seconds = QLocale::c().toDouble(intervalEdit_->text().trimmed(), &isNumber);
    if (!isNumber) {
        prompts_.ShowMessage(kNotANumber, kApplicationTitle, MessageIcon::Warning,
                             MessageButtons::Ok);
        intervalEdit_->setFocus();
        intervalEdit_->selectAll();
        return;
    }
    // The edit's number is only checked: the interval comes from the arrows' position.
    shownInterval_ = seconds;
    background_ = black_->isChecked() ? kBackgroundChoiceBlack : kBackgroundChoiceWhite;
    alert_ = alertOn_->isChecked() ? kAlertOn : kAlertOff;
    interval_ = spin_->GetPosition();
    pressColour_ = ColourIndexOf(pressList_, pressColour_);
    opticalColour_ = ColourIndexOf(opticalList_, opticalColour_);

    settings_.SetBkColor(background_);
    settings_.SetInterval(interval_);
    settings_.SetAlert(alert_);
    settings_.SetPressColor(pressColour_);
    settings_.SetWaveColor(opticalColour_);
    settings_.Save();
    accept();
}

} // namespace mirado
