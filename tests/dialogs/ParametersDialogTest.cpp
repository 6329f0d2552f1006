#include "dialogs/ParametersDialog.h"
#include "dialogs/ColourPreview.h"
#include "dialogs/UpDownControl.h"
#include "document/DisplaySettings.h"
#include "support/RecordingSurface.h"
#include "support/ScriptedPlatform.h"
#include "support/ScriptedUserPrompts.h"

#include "RadioClick.h"
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
    EXPECT_EQ(dialog.IntervalEdit()->text(), "0.5");
    EXPECT_EQ(dialog.IntervalSpin()->GetPosition(), 5);
    EXPECT_TRUE(dialog.WhiteButton()->isChecked());
    EXPECT_TRUE(dialog.AlertOffButton()->isChecked());
    EXPECT_EQ(dialog.PressList()->currentText(), "Gray");
    EXPECT_EQ(dialog.OpticalList()->currentText(), "Blue\t");
    ASSERT_EQ(dialog.PressList()->count(), kColourCount);
    for (int i = 0; i < kColourCount; ++i)
        EXPECT_EQ(dialog.PressList()->itemText(i).toStdString(), kColourTable[i].name);
}

TEST_F(ParametersDialogTest, OpeningRereadsTheSettingsFile) {
    StoreAll(1, 14, 8, 23, 1);
    CParametersDialog dialog(settings, prompts);
    EXPECT_TRUE(dialog.BlackButton()->isChecked());
    EXPECT_TRUE(dialog.AlertOnButton()->isChecked());
    EXPECT_EQ(dialog.PressList()->currentText(), "Red");
    EXPECT_EQ(dialog.OpticalList()->currentText(), "Green");
    EXPECT_EQ(dialog.IntervalEdit()->text(), "2.3");
}

TEST_F(ParametersDialogTest, DefaultThenOkStoresTheDefaults) {
    StoreAll(1, 14, 8, 23, 1);
    CParametersDialog dialog(settings, prompts);
    QTest::mouseClick(dialog.DefaultButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.IntervalEdit()->text(), "0.5");
    EXPECT_TRUE(dialog.WhiteButton()->isChecked());
    EXPECT_TRUE(dialog.AlertOffButton()->isChecked());
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ExpectStored(0, 6, 0, 5, 0);
    EXPECT_EQ(settings.GetPressColor(), 6);
}

TEST_F(ParametersDialogTest, DefaultThenCancelStoresNothing) {
    StoreAll(1, 14, 8, 23, 1);
    CParametersDialog dialog(settings, prompts);
    QTest::mouseClick(dialog.DefaultButton(), Qt::LeftButton);
    QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    ExpectStored(1, 14, 8, 23, 1);
    EXPECT_EQ(settings.GetInterval(), 23);
}

TEST_F(ParametersDialogTest, ArrowsStopAtATenthAndThreeSeconds) {
    CParametersDialog dialog(settings, prompts);
    CUpDownControl* spin = dialog.IntervalSpin();
    for (int i = 0; i < 10; ++i)
        QTest::mouseClick(spin->DownButton(), Qt::LeftButton);
    EXPECT_EQ(spin->GetPosition(), 1);
    EXPECT_EQ(dialog.IntervalEdit()->text(), "0.1");
    for (int i = 0; i < 40; ++i)
        spin->StepUp();
    EXPECT_EQ(spin->GetPosition(), 30);
    EXPECT_EQ(dialog.IntervalEdit()->text(), "3");
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
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
    dialog.WhiteButton()->setFocus();
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
        dialog.WhiteButton(),  dialog.PressList(),      dialog.OpticalList(),
        dialog.IntervalEdit(), dialog.AlertOffButton(), dialog.DefaultButton(),
        dialog.CancelButton(), dialog.OkButton(),       dialog.WhiteButton()};
    EXPECT_EQ(stops, expected);

    const int position = dialog.IntervalSpin()->GetPosition();
    QTest::keyClick(dialog.IntervalEdit(), Qt::Key_Up);
    EXPECT_EQ(dialog.IntervalSpin()->GetPosition(), position + 1);
    EXPECT_EQ(dialog.IntervalSpin()->focusPolicy(), Qt::NoFocus);
}

TEST_F(ParametersDialogTest, StoredIntervalBeyondTheArrowsShowsWhatOkStores) {
    StoreAll(0, 6, 0, 50, 0);
    CParametersDialog dialog(settings, prompts);
    EXPECT_EQ(dialog.IntervalSpin()->GetPosition(), 30);
    EXPECT_EQ(dialog.IntervalEdit()->text(), "3");
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    EXPECT_EQ(Stored(kKeyInterval), "30");
}

TEST_F(ParametersDialogTest, OnlyTheArrowPositionIsStoredNotTheTypedNumber) {
    CParametersDialog dialog(settings, prompts);
    dialog.IntervalSpin()->SetPosition(12);
    dialog.IntervalEdit()->setText("2.7");
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    EXPECT_EQ(Stored(kKeyInterval), "12");
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST_F(ParametersDialogTest, TextThatIsNoNumberKeepsTheDialogOpen) {
    CParametersDialog dialog(settings, prompts);
    dialog.show();
    for (const char* text : {"abc", "", "1.5x"}) {
        prompts.Clear();
        dialog.IntervalEdit()->setText(text);
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        ASSERT_EQ(prompts.Shown().size(), 1u) << text;
        EXPECT_EQ(prompts.Shown()[0].text, "Please enter a number.");
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_FALSE(Stored(kKeyInterval).has_value());
    }
    dialog.IntervalEdit()->setText(" 1.5 ");
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(Stored(kKeyInterval), "5");
}

TEST_F(ParametersDialogTest, ChoicesReachTheSettingsOnOk) {
    CParametersDialog dialog(settings, prompts);
    dialog.show();
    test::ClickRadio(dialog.BlackButton());
    test::ClickRadio(dialog.AlertOnButton());
    dialog.PressList()->setCurrentIndex(17);
    dialog.OpticalList()->setCurrentIndex(11);
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    ExpectStored(1, 17, 11, 5, 1);
}

TEST_F(ParametersDialogTest, ColourTextNamingNoEntryKeepsThePreviousColour) {
    StoreAll(0, 14, 8, 5, 0);
    CParametersDialog dialog(settings, prompts);
    dialog.PressList()->setEditText("Mauve");
    EXPECT_EQ(dialog.CurrentPreviewColours().press, kColourTable[14].colour);
    dialog.OpticalList()->setEditText("yellow ");
    EXPECT_EQ(dialog.CurrentPreviewColours().optical, kColourTable[17].colour);
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    EXPECT_EQ(Stored(kKeyPressColor), "14");
    EXPECT_EQ(Stored(kKeyWaveColor), "17");
}

TEST_F(ParametersDialogTest, PreviewDrawsTheChosenColours) {
    CParametersDialog dialog(settings, prompts);
    dialog.show();
    test::ClickRadio(dialog.BlackButton());
    dialog.PressList()->setCurrentIndex(14);
    dialog.OpticalList()->setCurrentIndex(8);

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

    test::ClickRadio(dialog.WhiteButton());
    RecordingSurface white;
    DrawColourPreview(white, dialog.CurrentPreviewColours());
    EXPECT_EQ(white.fills[0].colour, Rgb(255, 255, 255));
}

TEST_F(ParametersDialogTest, PreviewRepaintsWhenBackgroundOrColourChanges) {
    CParametersDialog dialog(settings, prompts);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QImage before = dialog.Preview()->grab().toImage();
    test::ClickRadio(dialog.BlackButton());
    QImage after = dialog.Preview()->grab().toImage();
    EXPECT_NE(before, after);
    // The middle of the preview's rectangle turned black.
    const QPoint inside(dialog.Preview()->width() / 2, dialog.Preview()->height() * 3 / 4);
    EXPECT_EQ(after.pixelColor(inside), QColor(Qt::black));
}

} // namespace
} // namespace mirado
