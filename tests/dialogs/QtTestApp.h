#pragma once
// One QApplication for the whole test executable, created on first use (the tests run
// with the offscreen platform, so nothing appears on a screen), and a click that hits a
// radio button whatever width its layout gives it.

#include <QApplication>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

namespace mirado::test {

inline QApplication& EnsureQtApp() {
    static int argc = 1;
    static char name[] = "dialogs_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = qApp ? nullptr : new QApplication(argc, argv);
    (void)app;
    return *qApp;
}

// A radio button only takes clicks on its indicator and label; the middle of a button
// that the layout made wider than its text may lie beyond both, depending on the fonts.
inline void ClickRadio(QRadioButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    const QRect indicator =
        button->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, button);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, indicator.center());
}

} // namespace mirado::test
