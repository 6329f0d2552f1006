#pragma once
// CAboutDialog: the "About Mirado" box with the product and version, copyright and
// build lines.

#include <QDialog>

namespace mirado {

class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDialog(QWidget* parent = nullptr);

    static QString ProductLine();
    static QString CopyrightLine();
    static QString BuildLine();
};

} // namespace mirado
