#include "dialogs/ParametersDialog.h"
#include "dialogs/ColourPreview.h"
#include "dialogs/UpDownControl.h"
#include "document/DisplaySettings.h"
#include "support/RecordingSurface.h"
#include "support/ScriptedPlatform.h"
#include "support/ScriptedUserPrompts.h"

#include "RadioClick.h"
#include "support/NamedChild.h"
#include "support/TestApplication.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace mirado {
namespace {

class ParametersDialogTest : public ::testing::Test {
protected:
    void SetUp() override { test::EnsureQtApp(); }

    std::optional<std::string> Stored(const char* key) const {
        return profile.GetRaw(kProfileSection, key);
    }
    void StoreAll(int bk, int press, int wave, int interval, int alert) {
        profile.SetRaw(kProfileSection, kKeyBkColor, std::to_string(bk));
        profile.SetRaw(kProfileSection, kKeyPressColor, std::to_string(press));
        profile.SetRaw(kProfileSection, kKeyWaveColor, std::to_string(wave));
        profile.SetRaw(kProfileSection, kKeyInterval, std::to_string(interval));
        profile.SetRaw(kProfileSection, kKeyAlert, std::to_string(alert));
    }
    void ExpectStored(int bk, int press, int wave, int interval, int alert) const {
        EXPECT_EQ(Stored(kKeyBkColor), std::to_string(bk));
        EXPECT_EQ(Stored(kKeyPressColor), std::to_string(press));
        EXPECT_EQ(Stored(kKeyWaveColor), std::to_string(wave));
        EXPECT_EQ(Stored(kKeyInterval), std::to_string(interval));
        EXPECT_EQ(Stored(kKeyAlert), std::to_string(alert));
    }

    MemoryProfile profile;
    CDisplaySettings settings{&profile};
    ScriptedUserPrompts prompts;
};

TEST_F(ParametersDialogTest, OpensWithTheDefaultsWhenNothingIsStored) {
    CParametersDialog dialog(settings, prompts);
    EXPECT_EQ(dialog.windowTitle(), "Parameters");
    EXPECT_EQ(test::NamedChild<QLineEdit>(dialog, "interval")->text(), "0.5");
    EXPECT_EQ(test::NamedChild<CUpDownControl>(dialog, "intervalSpin")->GetPosition(), 5);
    EXPECT_TRUE(test::NamedChild<QRadioButton>(dialog, "backgroundWhite")->isChecked());
    EXPECT_TRUE(test::NamedChild<QRadioButton>(dialog, "alertOff")->isChecked());
    EXPECT_EQ(test::NamedChild<QComboBox>(dialog, "pressColour")->currentText(), "Gray");
    EXPECT_EQ(test::NamedChild<QComboBox>(dialog, "opticalColour")->currentText(), "Blue\t");
    ASSERT_EQ(test::NamedChild<QComboBox>(dialog, "pressColour")->count(), kColourCount);
    for (int i = 0; i < kColourCount; ++i)
        EXPECT_EQ(test::NamedChild<QComboBox>(dialog, "pressColour")->itemText(i).toStdString(),
                  kColourTable[i].name);
}

TEST_F(ParametersDialogTest, OpeningRereadsTheSettingsFile) {
    StoreAll(1, 14, 8, 23, 1);
    CParametersDialog dialog(settings, prompts);
    EXPECT_TRUE(test::NamedChild<QRadioButton>(dialog, "backgroundBlack")->isChecked());
    EXPECT_TRUE(test::NamedChild<QRadioButton>(dialog, "alertOn")->isChecked());
    EXPECT_EQ(test::NamedChild<QComboBox>(dialog, "pressColour")->currentText(), "Red");
    EXPECT_EQ(test::NamedChild<QComboBox>(dialog, "opticalColour")->currentText(), "Green");
    EXPECT_EQ(test::NamedChild<QLineEdit>(dialog, "interval")->text(), "2.3");
}

TEST_F(ParametersDialogTest, DefaultThenOkStoresTheDefaults) {
    StoreAll(1, 14, 8, 23, 1);
    CParametersDialog dialog(settings, prompts);
    QTest::mouseClick(test::NamedChild<QPushButton>(dialog, "default"), Qt::LeftButton);
    EXPECT_EQ(test::NamedChild<QLineEdit>(dialog, "interval")->text(), "0.5");
    EXPECT_TRUE(test::NamedChild<QRadioButton>(dialog, "backgroundWhite")->isChecked());
    EXPECT_TRUE(test::NamedChild<QRadioButton>(dialog, "alertOff")->isChecked());
    QTest::mouseClick(test::NamedChild<QPushButton>(dialog, "ok"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ExpectStored(0, 6, 0, 5, 0);
    EXPECT_EQ(settings.GetPressColor(), 6);
}

TEST_F(ParametersDialogTest, DefaultThenCancelStoresNothing) {
    StoreAll(1, 14, 8, 23, 1);
    CParametersDialog dialog(settings, prompts);
    QTest::mouseClick(test::NamedChild<QPushButton>(dialog, "default"), Qt::LeftButton);
    QTest::mouseClick(test::NamedChild<QPushButton>(dialog, "cancel"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    ExpectStored(1, 14, 8, 23, 1);
    EXPECT_EQ(settings.GetInterval(), 23);
}

TEST_F(ParametersDialogTest, ArrowsStopAtATenthAndThreeSeconds) {
    CParametersDialog dialog(settings, prompts);
    CUpDownControl* spin = test::NamedChild<CUpDownControl>(dialog, "intervalSpin");
    for (int i = 0; i < 10; ++i)
        QTest::mouseClick(test::NamedChild<QToolButton>(*spin, "down"), Qt::LeftButton);
    EXPECT_EQ(spin->GetPosition(), 1);
    EXPECT_EQ(test::NamedChild<QLineEdit>(dialog, "interval")->text(), "0.1");
    for (int i = 0; i < 40; ++i)
        spin->StepUp();
    EXPECT_EQ(spin->GetPosition(), 30);
    EXPECT_EQ(test::NamedChild<QLineEdit>(dialog, "interval")->text(), "3");
    QTest::mouseClick(test::NamedChild<QPushButton>(dialog, "ok"), Qt::LeftButton);
    EXPECT_EQ(Stored(kKeyInterval), "30");
}

// Tab walks the dialog as it is laid out: the background, the two colours, the
// interval, the alert, then the buttons left to right; the arrows, which show no focus,
// are no stop: the interval's edit takes their keys.
TEST_F(ParametersDialogTest, TabFollowsTheLayoutWithNoInvisibleStop) {
    CParametersDialog dialog(settings, prompts);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    test::NamedChild<QRadioButton>(dialog, "backgroundWhite")->setFocus();
    std::vector<QWidget*> stops;
    for (int i = 0; i < 9; ++i) {
        QWidget* focus = QApplication::focusWidget();
        while (focus != nullptr && focus->focusProxy() != nullptr)
            focus = focus->focusProxy();
        // An editable list's own edit stands for the list.
        if (focus != nullptr && qobject_cast<QComboBox*>(focus->parentWidget()) != nullptr)
            focus = focus->parentWidget();
        stops.push_back(focus);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    const std::vector<QWidget*> expected = {
        test::NamedChild<QRadioButton>(dialog, "backgroundWhite"),
        test::NamedChild<QComboBox>(dialog, "pressColour"),
        test::NamedChild<QComboBox>(dialog, "opticalColour"),
        test::NamedChild<QLineEdit>(dialog, "interval"),
        test::NamedChild<QRadioButton>(dialog, "alertOff"),
        test::NamedChild<QPushButton>(dialog, "default"),
        test::NamedChild<QPushButton>(dialog, "cancel"),
        test::NamedChild<QPushButton>(dialog, "ok"),
        test::NamedChild<QRadioButton>(dialog, "backgroundWhite")};
    EXPECT_EQ(stops, expected);

    const int position = test::NamedChild<CUpDownControl>(dialog, "intervalSpin")->GetPosition();
    QTest::keyClick(test::NamedChild<QLineEdit>(dialog, "interval"), Qt::Key_Up);
    EXPECT_EQ(test::NamedChild<CUpDownControl>(dialog, "intervalSpin")->GetPosition(),
              position + 1);
    EXPECT_EQ(test::NamedChild<CUpDownControl>(dialog, "intervalSpin")->focusPolicy(), Qt::NoFocus);
}

TEST_F(ParametersDialogTest, StoredIntervalBeyondTheArrowsShowsWhatOkStores) {
    StoreAll(0, 6, 0, 50, 0);
    CParametersDialog dialog(settings, prompts);
    EXPECT_EQ(test::NamedChild<CUpDownControl>(dialog, "intervalSpin")->GetPosition(), 30);
    EXPECT_EQ(test::NamedChild<QLineEdit>(dialog, "interval")->text(), "3");
    QTest::mouseClick(test::NamedChild<QPushButton>(dialog, "ok"), Qt::LeftButton);
    EXPECT_EQ(Stored(kKeyInterval), "30");
}

TEST_F(ParametersDialogTest, OnlyTheArrowPositionIsStoredNotTheTypedNumber) {
    CParametersDialog dialog(settings, prompts);
    test::NamedChild<CUpDownControl>(dialog, "intervalSpin")->SetPosition(12);
    test::NamedChild<QLineEdit>(dialog, "interval")->setText("2.7");
    QTest::mouseClick(test::NamedChild<QPushButton>(dialog, "ok"), Qt::LeftButton);
    EXPECT_EQ(Stored(kKeyInterval), "12");
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST_F(ParametersDialogTest, TextThatIsNoNumberKeepsTheDialogOpen) {
    CParametersDialog dialog(settings, prompts);
    dialog.show();
    for (const char* text : {"abc", "", "1.5x"}) {
        prompts.Clear();
        test::NamedChild<QLineEdit>(dialog, "interval")->setText(text);
        QTest::mouseClick(test::NamedChild<QPushButton>(dialog, "ok"), Qt::LeftButton);
        ASSERT_EQ(prompts.Shown().size(), 1u) << text;
        EXPECT_EQ(prompts.Shown()[0].text, "Please enter a number.");
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_FALSE(Stored(kKeyInterval).has_value());
    }
    test::NamedChild<QLineEdit>(dialog, "interval")->setText(" 1.5 ");
    QTest::mouseClick(test::NamedChild<QPushButton>(dialog, "ok"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(Stored(kKeyInterval), "5");
}

TEST_F(ParametersDialogTest, ChoicesReachTheSettingsOnOk) {
    CParametersDialog dialog(settings, prompts);
    dialog.show();
    test::ClickRadio(test::NamedChild<QRadioButton>(dialog, "backgroundBlack"));
    test::ClickRadio(test::NamedChild<QRadioButton>(dialog, "alertOn"));
    test::NamedChild<QComboBox>(dialog, "pressColour")->setCurrentIndex(17);
    test::NamedChild<QComboBox>(dialog, "opticalColour")->setCurrentIndex(11);
    QTest::mouseClick(test::NamedChild<QPushButton>(dialog, "ok"), Qt::LeftButton);
    ExpectStored(1, 17, 11, 5, 1);
}

TEST_F(ParametersDialogTest, ColourTextNamingNoEntryKeepsThePreviousColour) {
    StoreAll(0, 14, 8, 5, 0);
    CParametersDialog dialog(settings, prompts);
    test::NamedChild<QComboBox>(dialog, "pressColour")->setEditText("Mauve");
    EXPECT_EQ(dialog.CurrentPreviewColours().press, kColourTable[14].colour);
    test::NamedChild<QComboBox>(dialog, "opticalColour")->setEditText("yellow ");
    EXPECT_EQ(dialog.CurrentPreviewColours().optical, kColourTable[17].colour);
    QTest::mouseClick(test::NamedChild<QPushButton>(dialog, "ok"), Qt::LeftButton);
    EXPECT_EQ(Stored(kKeyPressColor), "14");
    EXPECT_EQ(Stored(kKeyWaveColor), "17");
}

TEST_F(ParametersDialogTest, PreviewDrawsTheChosenColours) {
    CParametersDialog dialog(settings, prompts);
    dialog.show();
    test::ClickRadio(test::NamedChild<QRadioButton>(dialog, "backgroundBlack"));
    test::NamedChild<QComboBox>(dialog, "pressColour")->setCurrentIndex(14);
    test::NamedChild<QComboBox>(dialog, "opticalColour")->setCurrentIndex(8);

    RecordingSurface surface;
    DrawColourPreview(surface, dialog.CurrentPreviewColours());
    ASSERT_EQ(surface.texts.size(), 1u);
    EXPECT_EQ(surface.texts[0].text, "Color Image");
    EXPECT_EQ(surface.texts[0].at, (Point{300, 30}));
    ASSERT_EQ(surface.fills.size(), 1u);
    EXPECT_EQ(surface.fills[0].rect, (Rect{270, 60, 440, 170}));
    EXPECT_EQ(surface.fills[0].colour, Rgb(0, 0, 0));
    ASSERT_EQ(surface.frames.size(), 1u);
    EXPECT_EQ(surface.frames[0].colour, Rgb(0, 0, 0));
    ASSERT_EQ(surface.lines.size(), 1u);
    EXPECT_EQ(surface.lines[0].from, (Point{270, 73}));
    EXPECT_EQ(surface.lines[0].to, (Point{440, 115}));
    EXPECT_EQ(surface.lines[0].pen, (Pen{PenStyle::Solid, 1, Rgb(255, 0, 0)}));
    ASSERT_EQ(surface.polylines.size(), 1u);
    const std::vector<Point> zigzag = {{270, 157}, {312, 115}, {355, 157}, {397, 115}, {440, 157}};
    EXPECT_EQ(surface.polylines[0].points, zigzag);
    EXPECT_EQ(surface.polylines[0].pen, (Pen{PenStyle::Solid, 1, Rgb(0, 255, 0)}));

    test::ClickRadio(test::NamedChild<QRadioButton>(dialog, "backgroundWhite"));
    RecordingSurface white;
    DrawColourPreview(white, dialog.CurrentPreviewColours());
    EXPECT_EQ(white.fills[0].colour, Rgb(255, 255, 255));
}

TEST_F(ParametersDialogTest, PreviewRepaintsWhenBackgroundOrColourChanges) {
    CParametersDialog dialog(settings, prompts);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QImage before = test::NamedChild<CColourPreview>(dialog, "preview")->grab().toImage();
    test::ClickRadio(test::NamedChild<QRadioButton>(dialog, "backgroundBlack"));
    QImage after = test::NamedChild<CColourPreview>(dialog, "preview")->grab().toImage();
    EXPECT_NE(before, after);
    // The middle of the preview's rectangle turned black.
    const QPoint inside(test::NamedChild<CColourPreview>(dialog, "preview")->width() / 2,
                        test::NamedChild<CColourPreview>(dialog, "preview")->height() * 3 / 4);
    EXPECT_EQ(after.pixelColor(inside), QColor(Qt::black));
}

} // namespace
} // namespace mirado
