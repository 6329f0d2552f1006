#include "dialogs/IdDialog.h"
#include "records/TextEncoding.h"
#include "support/ScriptedUserPrompts.h"

#include "support/NamedChild.h"
#include "support/TestApplication.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace mirado {
namespace {

class IdDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureQtApp();
        fields = {"A-001", "EX12", "350g", "M/8w", "baseline", "DATE&TIME: 24/05/01 10:11:12"};
    }
    void TypeInto(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        edit->end(false);
        // One key press per character, as typed (QTest's key clicks know ASCII only).
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(edit, &press);
        }
    }

    IdDialogFields fields;
    ScriptedUserPrompts prompts;
};

TEST_F(IdDialogTest, ShowsTheFieldsAndTheDateLine) {
    CIdDialog dialog(fields, prompts);
    EXPECT_EQ(dialog.windowTitle(), "ID");
    EXPECT_EQ(test::NamedChild<QLabel>(dialog, "dateTime")->text(), "DATE&TIME: 24/05/01 10:11:12");
    EXPECT_EQ(dialog.Edit(CIdDialog::AnimalNo)->text(), "A-001");
    EXPECT_EQ(dialog.Edit(CIdDialog::StudyNo)->text(), "EX12");
    EXPECT_EQ(dialog.Edit(CIdDialog::Weight)->text(), "350g");
    EXPECT_EQ(dialog.Edit(CIdDialog::SexAge)->text(), "M/8w");
    EXPECT_EQ(dialog.Edit(CIdDialog::Comment)->text(), "baseline");
}

TEST_F(IdDialogTest, TypingStopsAtTheFieldWidthInBytes) {
    fields = {};
    CIdDialog dialog(fields, prompts);
    dialog.show();
    TypeInto(dialog.Edit(CIdDialog::AnimalNo), "123456789");
    EXPECT_EQ(dialog.Edit(CIdDialog::AnimalNo)->text(), "12345678");
    // Each of these characters takes two bytes: four fit into eight.
    TypeInto(dialog.Edit(CIdDialog::Weight), QString::fromUtf8("体重測定値"));
    EXPECT_EQ(dialog.Edit(CIdDialog::Weight)->text(), QString::fromUtf8("体重測定"));
    TypeInto(dialog.Edit(CIdDialog::SexAge), QString::fromUtf8("abc雄雄雄"));
    EXPECT_EQ(dialog.Edit(CIdDialog::SexAge)->text(), QString::fromUtf8("abc雄雄"));
    TypeInto(dialog.Edit(CIdDialog::Comment), QString(40, u'x'));
    EXPECT_EQ(dialog.Edit(CIdDialog::Comment)->text(), QString(32, u'x'));
    // Half-width katakana take one byte each.
    TypeInto(dialog.Edit(CIdDialog::StudyNo), QString::fromUtf8("ｱｲｳｴｵｶｷｸｹ"));
    EXPECT_EQ(dialog.Edit(CIdDialog::StudyNo)->text(), QString::fromUtf8("ｱｲｳｴｵｶｷｸ"));

    QTest::mouseClick(test::NamedChild<QPushButton>(dialog, "ok"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(prompts.Shown().empty());
    const IdDialogFields edited = dialog.Fields();
    EXPECT_EQ(edited.animalNo, "12345678");
    EXPECT_EQ(edited.weight, "体重測定");
    EXPECT_EQ(Cp932ByteLength(edited.sexAge), 7u);
}

TEST_F(IdDialogTest, OverLongTextFromTheFileIsRefusedUntilShortened) {
    fields.animalNo = "ABCDEFGHIJ";
    fields.comment = std::string(16, 'c') + "ａｂｃｄｅｆｇｈｉ"; // 16 + 18 bytes
    CIdDialog dialog(fields, prompts);
    dialog.show();
    EXPECT_EQ(dialog.Edit(CIdDialog::AnimalNo)->text(), "ABCDEFGHIJ");

    QTest::mouseClick(test::NamedChild<QPushButton>(dialog, "ok"), Qt::LeftButton);
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].text, "Please enter no more than 8 characters.");
    EXPECT_TRUE(dialog.isVisible());

    // Typing cannot make it longer, deleting can shorten it.
    QLineEdit* animal = dialog.Edit(CIdDialog::AnimalNo);
    TypeInto(animal, "K");
    EXPECT_EQ(animal->text(), "ABCDEFGHIJ");
    QTest::keyClick(animal, Qt::Key_Backspace);
    QTest::keyClick(animal, Qt::Key_Backspace);
    EXPECT_EQ(animal->text(), "ABCDEFGH");

    QTest::mouseClick(test::NamedChild<QPushButton>(dialog, "ok"), Qt::LeftButton);
    ASSERT_EQ(prompts.Shown().size(), 2u);
    EXPECT_EQ(prompts.Shown()[1].text, "Please enter no more than 32 characters.");
    QLineEdit* comment = dialog.Edit(CIdDialog::Comment);
    comment->end(false);
    QTest::keyClick(comment, Qt::Key_Backspace);
    EXPECT_TRUE(dialog.isVisible());
    QTest::mouseClick(test::NamedChild<QPushButton>(dialog, "ok"), Qt::LeftButton);
    EXPECT_EQ(prompts.Shown().size(), 2u);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.Fields().animalNo, "ABCDEFGH");
}

TEST_F(IdDialogTest, CharacterTheFileCannotHoldIsRefused) {
    CIdDialog dialog(fields, prompts);
    dialog.show();
    dialog.Edit(CIdDialog::SexAge)->setText(QString::fromUtf8("M😀"));
    QTest::mouseClick(test::NamedChild<QPushButton>(dialog, "ok"), Qt::LeftButton);
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_NE(prompts.Shown()[0].text.find("cannot be saved"), std::string::npos);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), dialog.Edit(CIdDialog::SexAge));
}

TEST_F(IdDialogTest, UnchangedFieldsComeBackExactlyAsGiven) {
    // Undecodable bytes of the file arrive as replacement characters; left alone they
    // must not be refused, and the document gets back the very text it gave.
    fields.comment = "ab\xEF\xBF\xBD"
                     "cd";
    fields.weight = "\xEF\xBF\xBD\xEF\xBF\xBD";
    CIdDialog dialog(fields, prompts);
    dialog.show();
    dialog.Edit(CIdDialog::AnimalNo)->setText("B-7");
    QTest::mouseClick(test::NamedChild<QPushButton>(dialog, "ok"), Qt::LeftButton);
    EXPECT_TRUE(prompts.Shown().empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const IdDialogFields edited = dialog.Fields();
    EXPECT_EQ(edited.animalNo, "B-7");
    EXPECT_EQ(edited.comment, fields.comment);
    EXPECT_EQ(edited.weight, fields.weight);
    EXPECT_EQ(edited.exNo, "EX12");
}

TEST_F(IdDialogTest, ClearedFieldIsAcceptedAsEmpty) {
    CIdDialog dialog(fields, prompts);
    dialog.show();
    dialog.Edit(CIdDialog::Comment)->clear();
    QTest::mouseClick(test::NamedChild<QPushButton>(dialog, "ok"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Fields().comment, "");
}

} // namespace
} // namespace mirado
