#pragma once
// A click that hits a radio button whatever width its layout gives it.

#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

namespace mirado::test {

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
