#include "dialogs/FileDialog4Text.h"

#include "platform/qtcore/UiText.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace mirado {

namespace {

constexpr const char* kTextSuffix = "txt";
constexpr const char* kTableSuffix = "csv";
// Room beside the title on a window's title bar: the icon and the window's buttons.
constexpr int kTitleAllowance = 160;

} // namespace

CFileDialog4Text::CFileDialog4Text(const QString& defaultExtension, const QString& defaultFileName,
                                   const QStringList& filters, QWidget* parent)
    : QFileDialog(parent) {
    // The panel can only join the layout of Qt's own dialog, never a native one.
    setOption(QFileDialog::DontUseNativeDialog, true);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setDefaultSuffix(defaultExtension);
    setNameFilters(filters);
    selectFile(defaultFileName);
    setSizeGripEnabled(true);
    AddMeasurementsPanel();
    SetStartMode(ExportMode::Dominant);
}

void CFileDialog4Text::AddMeasurementsPanel() {
    auto* panel = new QGroupBox(UiText(" Measurements "), this);
    dominantButton_ = new QRadioButton(UiText("Dominant"), panel);
    dominantButton_->setObjectName(QStringLiteral("exportDominant"));
    meanButton_ = new QRadioButton(UiText("Mean"), panel);
    meanButton_->setObjectName(QStringLiteral("exportMean"));
    tableButton_ = new QRadioButton(UiText("Table"), panel);
    tableButton_->setObjectName(QStringLiteral("exportTable"));
    auto* group = new QButtonGroup(panel);
    group->addButton(dominantButton_);
    group->addButton(meanButton_);
    group->addButton(tableButton_);
    auto* row = new QHBoxLayout(panel);
    row->addWidget(dominantButton_);
    row->addWidget(meanButton_);
    row->addWidget(tableButton_);
    row->addWidget(MakeOptionsRow(panel));
    row->addStretch();
    connect(dominantButton_, &QRadioButton::clicked, this,
            [this] { ChooseMode(ExportMode::Dominant); });
    connect(meanButton_, &QRadioButton::clicked, this, [this] { ChooseMode(ExportMode::Mean); });
    connect(tableButton_, &QRadioButton::clicked, this, [this] { ChooseMode(ExportMode::Table); });

    // Qt's own dialog lays its widgets out in a grid: the panel takes a new bottom row
    // across all columns, under the file name and type fields.
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(panel, grid->rowCount(), 0, 1, grid->columnCount());
    else if (layout())
        layout()->addWidget(panel);
}

QWidget* CFileDialog4Text::MakeOptionsRow(QWidget* panel) {
    auto* options = new QWidget(panel);
    auto* row = new QHBoxLayout(options);
    row->setContentsMargins(0, 0, 0, 0);
    encodingBox_ = new QComboBox(options);
    encodingBox_->setObjectName(QStringLiteral("exportEncoding"));
    encodingBox_->addItem(UiText("Japanese (CP932)"));
    encodingBox_->addItem(UiText("UTF-8 (with BOM)"));
    sourceBox_ = new QComboBox(options);
    sourceBox_->setObjectName(QStringLiteral("exportSource"));
    sourceBox_->addItem(UiText("Stored"));
    sourceBox_->addItem(UiText("Analysis S"));
    sourceBox_->addItem(UiText("Analysis S-M"));
    encodingLabel_ = new QLabel(UiText("Encoding"), options);
    encodingLabel_->setBuddy(encodingBox_);
    sourceLabel_ = new QLabel(UiText("Values"), options);
    sourceLabel_->setBuddy(sourceBox_);
    row->addSpacing(12);
    row->addWidget(encodingLabel_);
    row->addWidget(encodingBox_);
    row->addWidget(sourceLabel_);
    row->addWidget(sourceBox_);
    connect(encodingBox_, &QComboBox::currentIndexChanged, this, [this](int index) {
        choice_.encoding = index == 1 ? ExportEncoding::Utf8WithBom : ExportEncoding::Cp932;
    });
    connect(sourceBox_, &QComboBox::currentIndexChanged, this, [this](int index) {
        choice_.source = index == 2   ? ValueSource::AnalysisSM
                         : index == 1 ? ValueSource::AnalysisS
                                      : ValueSource::Stored;
    });
    return options;
}

void CFileDialog4Text::SetEncoding(ExportEncoding encoding) {
    encodingBox_->setCurrentIndex(encoding == ExportEncoding::Utf8WithBom ? 1 : 0);
}

// The encoding applies to Dominant and Mean, the value source to the table: only the
// one that applies is shown. The default file name and extension follow the mode while
// the name is still a default one.
void CFileDialog4Text::ChooseMode(ExportMode mode) {
    choice_.mode = mode;
    const bool table = mode == ExportMode::Table;
    encodingLabel_->setVisible(!table);
    encodingBox_->setVisible(!table);
    encodingBox_->setEnabled(!table);
    sourceLabel_->setVisible(table);
    sourceBox_->setVisible(table);
    sourceBox_->setEnabled(table);
    setDefaultSuffix(QString::fromUtf8(table ? kTableSuffix : kTextSuffix));
    auto* nameField = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    const QString name = nameField != nullptr ? nameField->text() : QString();
    const QString defaultName =
        QString::fromUtf8(table ? kTableExportFileName : kTextExportFileName);
    const QString otherDefault =
        QString::fromUtf8(table ? kTextExportFileName : kTableExportFileName);
    if (name == otherDefault)
        selectFile(defaultName);
}

void CFileDialog4Text::SetStartMode(ExportMode mode) {
    startMode_ = mode;
    CheckMode(mode);
}

void CFileDialog4Text::CheckMode(ExportMode mode) {
    QRadioButton* button = mode == ExportMode::Table  ? tableButton_
                           : mode == ExportMode::Mean ? meanButton_
                                                      : dominantButton_;
    button->setChecked(true);
    ChooseMode(mode);
}

// Every opening starts in the start mode; the title keeps its whole width.
void CFileDialog4Text::showEvent(QShowEvent* event) {
    CheckMode(startMode_);
    QFileDialog::showEvent(event);
    const int titleWidth = fontMetrics().horizontalAdvance(windowTitle()) + kTitleAllowance;
    if (width() < titleWidth)
        resize(titleWidth, height());
}

} // namespace mirado
