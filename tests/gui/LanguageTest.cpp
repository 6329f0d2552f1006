#include "GuiTestSupport.h"

#include "app/MainFrame.h"
#include "app/MiradoApp.h"
#include "document/ErrorTexts.h"
#include "platform/qt/UiText.h"
#include "support/ScriptedPlatform.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include <gtest/gtest.h>

namespace mirado {
namespace {

constexpr const char* kJapaneseFileFormatError =
    "ファイルが破損しています。読み込むことができませんでした";

class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureQtApp();
        documents = std::make_unique<FixedDocumentsFolder>(home.Path() + "/");
        services.documentsFolder = documents.get();
        services.prompts = &prompts;
        services.openDialog = &openDialog;
    }

    QString SettingsPath() const {
        return QString::fromStdString(home.Path()) +
               "/QuorvinFiles/TenvarAWU/Preference/Tenvar.s99";
    }

    void WriteSettings(const char* text) const {
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(home.Path()) +
                                  "/QuorvinFiles/TenvarAWU/Preference"));
        QFile file(SettingsPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QByteArray ReadSettings() const {
        QFile file(SettingsPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static QStringList MenuTitles(CMainFrame& frame) {
        QStringList titles;
        for (QAction* action : frame.menuBar()->actions())
            titles << action->text();
        return titles;
    }

    static QAction* LanguageItem(CMainFrame& frame, const char* code) {
        return frame.menuBar()->findChild<QAction*>(QStringLiteral("language_") +
                                                    QString::fromLatin1(code));
    }

    test::TempFolder home;
    ScriptedUserPrompts prompts;
    ScriptedOpenFileDialog openDialog;
    std::unique_ptr<FixedDocumentsFolder> documents;
    AppServices services;
};

TEST_F(LanguageTest, EnglishIsTheDefaultAndKeepsTheTextsAsTheyAre) {
    CMiradoApp app(services);
    ASSERT_TRUE(app.InitInstance({}));
    CMainFrame& frame = *app.GetMainFrame();
    EXPECT_EQ(app.Language(), UiLanguage::English);
    EXPECT_EQ(MenuTitles(frame),
              QStringList({"File(&F)", "Edit(&E)", "Display(&D)", "View(&V)", "Help(&H)"}));
    EXPECT_EQ(frame.Action(ID_FILE_OPEN)->text(), "Open(&O)...");
    EXPECT_EQ(frame.Action(ID_FILE_PRINT)->text(), "Print this file...");
    EXPECT_EQ(frame.windowTitle(), "Untitled[*] - Mirado");
    EXPECT_EQ(app.GetDocument()->GetErrorText(kErrorFileFormat), "File format Error.");
    EXPECT_TRUE(LanguageItem(frame, "en")->isChecked());
    EXPECT_FALSE(LanguageItem(frame, "ja")->isChecked());
}

TEST_F(LanguageTest, JapaneseTranslatesMenusTitleAndTheDamagedFileText) {
    {
        CMiradoApp app(services);
        app.SetLanguage(UiLanguage::Japanese);
        ASSERT_TRUE(app.InitInstance({}));
        CMainFrame& frame = *app.GetMainFrame();
        EXPECT_EQ(app.Language(), UiLanguage::Japanese);
        EXPECT_EQ(MenuTitles(frame),
                  QStringList({QString::fromUtf8("ファイル(&F)"), QString::fromUtf8("編集(&E)"),
                               QString::fromUtf8("表示(&D)"), QString::fromUtf8("ビュー(&V)"),
                               QString::fromUtf8("ヘルプ(&H)")}));
        EXPECT_EQ(frame.Action(ID_FILE_OPEN)->text(), QString::fromUtf8("開く(&O)..."));
        EXPECT_EQ(frame.windowTitle(), QString::fromUtf8("無題[*] - Mirado"));
        EXPECT_EQ(app.GetDocument()->GetErrorText(kErrorFileFormat), kJapaneseFileFormatError);
        // The command line's choice is for this run only.
        EXPECT_FALSE(ReadSettings().contains("language"));
    }
    // Once the program is gone, the application's texts are English again.
    EXPECT_EQ(UiText("File(&F)"), "File(&F)");
}

TEST_F(LanguageTest, EveryMenuItemHasAJapaneseText) {
    QStringList english;
    {
        CMiradoApp app(services);
        ASSERT_TRUE(app.InitInstance({}));
        for (QAction* action : app.GetMainFrame()->menuBar()->findChildren<QAction*>())
            english << action->text();
    }
    CMiradoApp app(services);
    app.SetLanguage(UiLanguage::Japanese);
    ASSERT_TRUE(app.InitInstance({}));
    const QList<QAction*> actions = app.GetMainFrame()->menuBar()->findChildren<QAction*>();
    ASSERT_EQ(actions.size(), english.size());
    for (int i = 0; i < actions.size(); ++i) {
        const QString text = actions[i]->text();
        // Separators carry no text; the language items name themselves in their language.
        if (text.isEmpty() || text == "English" || text == QString::fromUtf8("日本語"))
            continue;
        EXPECT_NE(text, english[i]) << english[i].toStdString();
    }
}

TEST_F(LanguageTest, StoredLanguageIsUsedAndAChoiceIsStoredForTheNextStart) {
    WriteSettings("[Mirado]\nlanguage=ja\n");
    CMiradoApp app(services);
    ASSERT_TRUE(app.InitInstance({}));
    CMainFrame& frame = *app.GetMainFrame();
    EXPECT_EQ(app.Language(), UiLanguage::Japanese);
    EXPECT_TRUE(LanguageItem(frame, "ja")->isChecked());

    LanguageItem(frame, "en")->trigger();
    EXPECT_TRUE(ReadSettings().contains("language=en"));
    EXPECT_EQ(frame.statusBar()->currentMessage(),
              QString::fromUtf8("言語は次回の起動時に切り替わります。"));
    // The window keeps its language until the next start.
    EXPECT_EQ(frame.Action(ID_FILE_OPEN)->text(), QString::fromUtf8("開く(&O)..."));
}

TEST_F(LanguageTest, UnknownStoredLanguageGivesEnglish) {
    WriteSettings("[Mirado]\nlanguage=de\n");
    CMiradoApp app(services);
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_EQ(app.Language(), UiLanguage::English);
    EXPECT_EQ(app.GetMainFrame()->Action(ID_FILE_OPEN)->text(), "Open(&O)...");
}

} // namespace
} // namespace mirado
