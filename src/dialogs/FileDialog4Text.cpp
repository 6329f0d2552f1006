#include "dialogs/FileDialog4Text.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>

namespace mirado {

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
    ResetToDominant();
}

void CFileDialog4Text::AddMeasurementsPanel() {
    auto* panel = new QGroupBox(QStringLiteral(" Measurements "), this);
    dominantButton_ = new QRadioButton(QStringLiteral("Dominant"), panel);
    meanButton_ = new QRadioButton(QStringLiteral("Mean"), panel);
    auto* group = new QButtonGroup(panel);
    group->addButton(dominantButton_);
    group->addButton(meanButton_);
    auto* row = new QHBoxLayout(panel);
    row->addWidget(dominantButton_);
    row->addWidget(meanButton_);
    row->addStretch();
    connect(dominantButton_, &QRadioButton::clicked, this, [this] { dominant_ = true; });
    connect(meanButton_, &QRadioButton::clicked, this, [this] { dominant_ = false; });

    // Qt's own dialog lays its widgets out in a grid: the panel takes a new bottom row
    // across all columns, under the file name and type fields.
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(panel, grid->rowCount(), 0, 1, grid->columnCount());
    else if (layout())
        layout()->addWidget(panel);
}

void CFileDialog4Text::ResetToDominant() {
    dominant_ = true;
    dominantButton_->setChecked(true);
}

void CFileDialog4Text::showEvent(QShowEvent* event) {
    ResetToDominant();
    QFileDialog::showEvent(event);
}

} // namespace mirado
