#include "app/AboutDialog.h"

#include "platform/qtcore/UiText.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

namespace mirado {

namespace {
constexpr int kIconSize = 32;
}

QString CAboutDialog::ProductLine() {
    return UiText("Mirado Version %1").arg(QStringLiteral(MIRADO_VERSION));
}

QString CAboutDialog::CopyrightLine() {
    return QStringLiteral("Copyright (C) 2024 The Mirado developers");
}

QString CAboutDialog::BuildLine() {
    return UiText("Build %1 (Qt %2)").arg(QStringLiteral(MIRADO_VERSION), qVersion());
}

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(UiText("About Mirado"));
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/analysis_sm.svg")).pixmap(kIconSize, kIconSize));
    auto* lines = new QVBoxLayout;
    for (const QString& text : {ProductLine(), CopyrightLine(), BuildLine()})
        lines->addWidget(new QLabel(text, this));
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(lines);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace mirado
