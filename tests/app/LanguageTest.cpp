#include "AppFixture.h"

#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/MiradoApp.h"
#include "document/ErrorTexts.h"
#include "document/ExportLoop.h"
#include "document/MiradoDoc.h"
#include "platform/qtcore/QtProfile.h"
#include "platform/qtcore/UiText.h"
#include "platform/widgets/QtUserPrompts.h"
#include "summary/SummaryTableModel.h"
#include "summary/SummaryWindow.h"
#include "support/NamedChild.h"
#include "support/ScriptedPlatform.h"
#include "views/InformationView.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace mirado {
namespace {

constexpr const char* kJapaneseFileFormatError =
    "ファイルが破損しています。読み込むことができませんでした";

class LanguageTest : public test::AppFixture {
protected:
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

    // The texts of every item of the menu bar's menus and their submenus, in menu order.
    static QStringList MenuTexts(const QList<QAction*>& items) {
        QStringList texts;
        for (const QAction* item : items) {
            texts << item->text();
            if (item->menu() != nullptr)
                texts << MenuTexts(item->menu()->actions());
        }
        return texts;
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
        english = MenuTexts(app.GetMainFrame()->menuBar()->actions());
    }
    CMiradoApp app(services);
    app.SetLanguage(UiLanguage::Japanese);
    ASSERT_TRUE(app.InitInstance({}));
    const QStringList japanese = MenuTexts(app.GetMainFrame()->menuBar()->actions());
    ASSERT_EQ(japanese.size(), english.size());
    EXPECT_TRUE(english.contains("Recent Files"));
    EXPECT_TRUE(english.contains("Export Samples..."));
    for (int i = 0; i < japanese.size(); ++i) {
        const QString& text = japanese[i];
        // Separators carry no text; the language items name themselves in their language.
        if (text.isEmpty() || text == "English" || text == QString::fromUtf8("日本語"))
            continue;
        EXPECT_NE(text, english[i]) << english[i].toStdString();
    }
}

// The program's own messages: a status-bar note, the formats that are filled with a path
// and the texts shown below a path in a box.
TEST_F(LanguageTest, OwnMessagesAreTranslatedAndKeepTheirPlaceholders) {
    ASSERT_TRUE(QDir().mkpath(SettingsPath())); // settings that cannot be saved
    const std::string settings = SettingsPath().toStdString();
    const std::string path = "/data/r1.001";
    {
        CMiradoApp app(services);
        ASSERT_TRUE(app.InitInstance({}));
        EXPECT_EQ(app.GetMainFrame()->statusBar()->currentMessage().toStdString(),
                  "Settings are not saved: " + settings + " is a folder.");
        const CQtUserPrompts boxes;
        EXPECT_EQ(FileOfListText(path, boxes.Translated(kFileOfListFormat)),
                  path + " is one of the files in the list. Choose another file.");
        EXPECT_EQ(TranslatedMessageText(path + "\n" + kDamagedSaveText).toStdString(),
                  path + "\n" + kDamagedSaveText);
        EXPECT_EQ(FormatSavePrompt(path, boxes.Translated(kSavePromptFormat)),
                  "Save changes to " + path + "?");
        EXPECT_EQ(NotWritableText(path, boxes.Translated(kNotWritableFormat)),
                  NotWritableText(path));
    }
    CMiradoApp app(services);
    app.SetLanguage(UiLanguage::Japanese);
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_EQ(app.GetMainFrame()->statusBar()->currentMessage().toStdString(),
              "設定は保存されません: " + settings + " はフォルダーです。");
    const CQtUserPrompts boxes;
    EXPECT_EQ(FileOfListText(path, boxes.Translated(kFileOfListFormat)),
              path + " は一覧のファイルの一つです。別のファイルを選んでください。");
    EXPECT_EQ(ExportWriteFailedText(path, "No space left on device",
                                    boxes.Translated(kExportWriteFailedFormat)),
              "テキストファイルを書き込めませんでした: " + path + " (No space left on device)");
    const QString damaged = TranslatedMessageText(path + "\n" + kDamagedSaveText);
    EXPECT_TRUE(damaged.startsWith(QString::fromStdString(path + "\n")));
    EXPECT_NE(damaged.toStdString(), path + "\n" + kDamagedSaveText);
    EXPECT_EQ(TranslatedMessageText(path + "\n" + kRevertQuestion).toStdString(),
              path + "\nこのファイルを元のファイルで置き換えますか? "
                     "その後に保存した変更はすべて失われます。");
    EXPECT_EQ(boxes.Translated(kRevertFailedText) + "No such file",
              "元のファイルを戻せませんでした: No such file");
    // The specified sentences that hold a path: translated around it.
    EXPECT_EQ(FormatSavePrompt(path, boxes.Translated(kSavePromptFormat)),
              path + " への変更を保存しますか?");
    EXPECT_EQ(boxes.Translated(kTrashErrorPrefix) + path, "ごみ箱に移せませんでした: " + path);
    EXPECT_EQ(NotWritableText(path, boxes.Translated(kNotWritableFormat))
                  .rfind("書き込めません [ " + path + " ]", 0),
              0u);
    // Every reason the settings may not be saved has its words.
    for (const char* reason :
         {"is a named pipe", "is a device", "is a socket", "is a folder", "is not a regular file",
          "cannot be examined", "is a link that leads back to itself", "is a link to nothing"})
        EXPECT_NE(UiText(reason), reason) << reason;
}

TEST_F(LanguageTest, SummaryWindowInJapaneseAndInEnglish) {
    const test::TempFolder data;
    const std::vector<std::string> files = test::WriteRecordings(data, 2);
    const auto openSummary = [&](CMiradoApp& app) {
        app.GetMainFrame()->OpenPaths(files);
        app.GetMainFrame()->Action(ID_SUMMARY)->trigger();
        auto* window = app.GetMainFrame()->findChild<CSummaryWindow*>();
        const bool shown = window != nullptr &&
                           QTest::qWaitFor([&] { return window->Result() != nullptr; }, 10000);
        EXPECT_TRUE(shown);
        return window;
    };
    const auto texts = [](const CSummaryWindow& window) {
        const QAbstractItemModel* model = window.findChild<QTableView*>()->model();
        return QStringList(
            {window.windowTitle(), test::NamedChild<QTabWidget>(window, "summaryTabs")->tabText(0),
             model->headerData(CSummaryTableModel::kReadingsColumn, Qt::Horizontal).toString()});
    };
    {
        CMiradoApp app(services);
        ASSERT_TRUE(app.InitInstance({}));
        const CSummaryWindow* window = openSummary(app);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(texts(*window), QStringList({"Study Summary", "Table", "Readings"}));
    }
    CMiradoApp app(services);
    app.SetLanguage(UiLanguage::Japanese);
    ASSERT_TRUE(app.InitInstance({}));
    const CSummaryWindow* window = openSummary(app);
    ASSERT_NE(window, nullptr);
    const QStringList japanese = texts(*window);
    EXPECT_EQ(japanese[0], QString::fromUtf8("試験の集計"));
    EXPECT_NE(japanese[1], "Table");
    EXPECT_EQ(japanese[2], QString::fromUtf8("測定数"));
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
    EXPECT_EQ(app.Language(), UiLanguage::English);
}

// The language chosen in the View menu takes effect at once: menus, tool tips, the
// title, the panes' texts and the damaged-file text, there and back.
TEST_F(LanguageTest, ChoosingALanguageSwitchesTheOpenWindowsAtOnce) {
    CMiradoApp app(services);
    ASSERT_TRUE(app.InitInstance({}));
    CMainFrame& frame = *app.GetMainFrame();
    const QStringList englishMenus = MenuTexts(frame.menuBar()->actions());
    const QString englishTip = frame.Action(ID_ZOOM_IN)->toolTip();

    LanguageItem(frame, "ja")->trigger();
    EXPECT_EQ(app.Language(), UiLanguage::Japanese);
    EXPECT_EQ(MenuTitles(frame)[0], QString::fromUtf8("ファイル(&F)"));
    EXPECT_EQ(frame.Action(ID_FILE_OPEN)->text(), QString::fromUtf8("開く(&O)..."));
    EXPECT_EQ(frame.windowTitle(), QString::fromUtf8("無題[*] - Mirado"));
    EXPECT_NE(frame.Action(ID_ZOOM_IN)->toolTip(), englishTip);
    EXPECT_TRUE(frame.Action(ID_ZOOM_IN)->toolTip().endsWith("(E)"));
    EXPECT_EQ(app.GetDocument()->GetErrorText(kErrorFileFormat), kJapaneseFileFormatError);
    EXPECT_EQ(CInformationView::Labels().condition, UiText("Condition").toStdString());
    EXPECT_NE(CInformationView::Labels().condition, "Condition");
    EXPECT_TRUE(LanguageItem(frame, "ja")->isChecked());

    LanguageItem(frame, "en")->trigger();
    EXPECT_EQ(MenuTexts(frame.menuBar()->actions()), englishMenus);
    EXPECT_EQ(frame.Action(ID_ZOOM_IN)->toolTip(), englishTip);
    EXPECT_EQ(frame.windowTitle(), "Untitled[*] - Mirado");
    EXPECT_EQ(app.GetDocument()->GetErrorText(kErrorFileFormat), "File format Error.");
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
