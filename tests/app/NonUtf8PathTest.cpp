// A recording whose name is not valid UTF-8 (a CP932 name from another system) opens from the
// command line, the open dialog and by drag and drop, and a correction is saved to that same file.

#include "AppFixture.h"

#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/MiradoApp.h"
#include "document/MiradoDoc.h"
#include "platform/qtcore/PathBytes.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace mirado {
namespace {

// "マウス.001" in CP932.
constexpr const char* kCp932Name = "\x83\x7d\x83\x45\x83\x58.001";

// The name as Qt shows it: a replacement character for each byte it cannot decode.
QString Shown(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

class NonUtf8PathTest : public test::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        const std::string written = test::WriteRecordings(data, 1).front();
        path = data.File(kCp932Name);
        std::filesystem::rename(written, path);
    }

    // Answers the file dialog as a user does, by typing the file's shown path into its name
    // field and pressing Open; what stays open after that (Qt's "File not found" and the
    // dialog) is closed, so a refused pick fails the test instead of hanging it. The name is
    // typed rather than given to QFileDialog::selectFile, which leaves the field alone once it
    // has the focus and selects nothing before the folder's listing has loaded, so the pick
    // depended on which came first.
    static void AnswerFileDialogs(QTimer& timer, const QString& shownPath) {
        QObject::connect(&timer, &QTimer::timeout, &timer, [shownPath, picked = false]() mutable {
            QWidget* modal = QApplication::activeModalWidget();
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (dialog != nullptr && !picked) {
                picked = true;
                if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                    name->setText(shownPath);
                // The Open button, pressed outside this slot: a timer does not fire again while
                // its slot runs, and a refusal's box runs its own event loop.
                QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            } else if (modal != nullptr) {
                modal->close();
            }
        });
        timer.start(10);
    }

    test::TempFolder data;
    std::string path;
};

TEST_F(NonUtf8PathTest, OpensFromTheOpenDialogAndSavesToTheSameFile) {
    services.openDialog = nullptr; // Qt's own file dialog
    CMiradoApp app(services);
    ASSERT_TRUE(app.InitInstance({}));
    CMainFrame& frame = *app.GetMainFrame();
    CMiradoDoc& doc = *frame.GetDocument();

    QTimer answering;
    AnswerFileDialogs(answering, Shown(path));
    frame.Action(ID_FILE_OPEN)->trigger();
    answering.stop();
    ASSERT_EQ(doc.GetFileCount(), 1);
    EXPECT_EQ(doc.GetCurrentPath(), path);
    EXPECT_TRUE(doc.IsLoaded());
    EXPECT_TRUE(doc.IsCurrentRecordUsable());

    const std::string before = test::ReadText(path);
    const MarkerPlacement old = doc.MoveMarker({MovableMarker::S, 0});
    doc.MoveMarker({MovableMarker::S, old.sample + 25});
    ASSERT_TRUE(doc.SaveCurrentFile());
    EXPECT_NE(test::ReadText(path), before);
    EXPECT_EQ(test::ReadText(data.Path() + "/.mirado-originals/" + kCp932Name), before);
    EXPECT_EQ(std::filesystem::directory_iterator(data.Path())->path().filename(), kCp932Name);
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST_F(NonUtf8PathTest, OpensFromTheCommandLine) {
    CMiradoApp app(services);
    ASSERT_TRUE(app.InitInstance({path}));
    const CMiradoDoc& doc = *app.GetMainFrame()->GetDocument();
    EXPECT_EQ(doc.GetCurrentPath(), path);
    EXPECT_TRUE(doc.IsLoaded());
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST_F(NonUtf8PathTest, OpensADroppedFile) {
    CMiradoApp app(services);
    ASSERT_TRUE(app.InitInstance({}));
    CMainFrame& frame = *app.GetMainFrame();
    QMimeData mime;
    mime.setData(QStringLiteral("text/uri-list"),
                 "file://" + QByteArray::fromStdString(path).toPercentEncoding("/") + "\r\n");
    ASSERT_TRUE(frame.OpenDroppedFiles(&mime));
    EXPECT_EQ(frame.GetDocument()->GetCurrentPath(), path);
    EXPECT_TRUE(frame.GetDocument()->IsLoaded());
    EXPECT_TRUE(frame.GetDocument()->IsCurrentRecordUsable());
}

// The bytes behind a shown path: found by the shown name in each folder; left as encoded when
// no entry or more than one entry shows that name.
TEST(PathBytesTest, FindsTheEntryAShownNameStandsFor) {
    test::TempFolder data;
    const std::string folder = data.File("\x83\x74\x83\x48\x83\x8b\x83\x5f"); // "フォルダ"
    std::filesystem::create_directory(folder);
    const std::string cp932 = folder + "/" + kCp932Name;
    const std::string utf8 = folder + "/\xe3\x83\x9e\xe3\x82\xa6\xe3\x82\xb9.001";
    const std::string twinA = folder + "/\x83X.002";
    const std::string twinB = folder + "/\x84X.002";
    for (const std::string& file : {cp932, utf8, twinA, twinB})
        test::WriteText(file, "x");

    EXPECT_EQ(PathBytes(Shown(cp932)), cp932);
    EXPECT_EQ(PathBytes(Shown(utf8)), utf8);
    EXPECT_EQ(PathBytes(Shown(folder + "/new.001")), folder + "/new.001");
    EXPECT_EQ(PathBytes(QUrl::fromLocalFile(Shown(cp932))), cp932);
    EXPECT_FALSE(IsRegularFile(PathBytes(Shown(twinA))));
    EXPECT_FALSE(IsRegularFile(PathBytes(Shown(folder + "/\x85Y.001"))));
    EXPECT_TRUE(IsRegularFile(cp932));
    EXPECT_FALSE(IsRegularFile(folder));
}

} // namespace
} // namespace mirado
