// Documentation tool: shows each dialog of the program with sample contents and saves a
// picture of it as PNG into the folder given on the command line (run under a virtual X
// server for the documentation's screenshots). A second argument "ja" shows them in
// Japanese and adds "-ja" to the file names.

#include "app/UiTranslation.h"
#include "dialogs/FileDialog4Text.h"
#include "dialogs/IdDialog.h"
#include "dialogs/ParametersDialog.h"
#include "document/DisplaySettings.h"
#include "support/NamedChild.h"
#include "support/ScriptedPlatform.h"
#include "support/ScriptedUserPrompts.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QTest>

#include <cstdio>
#include <cstring>

namespace {

bool Save(QWidget& dialog, const QString& path) {
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog))
        return false;
    QTest::qWait(1000); // the file dialog lists its folder in the background
    const bool saved = dialog.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    dialog.hide();
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: dialogs_screenshots FOLDER [ja]\n");
        return 2;
    }
    const bool japanese = argc > 2 && std::strcmp(argv[2], "ja") == 0;
    const mirado::CUiTranslation translation(japanese ? mirado::UiLanguage::Japanese
                                                      : mirado::UiLanguage::English);
    const QString suffix = japanese ? QStringLiteral("-ja.png") : QStringLiteral(".png");
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    mirado::ScriptedUserPrompts prompts;
    bool ok = true;

    mirado::MemoryProfile profile;
    mirado::CDisplaySettings settings(&profile);
    mirado::CParametersDialog parameters(settings, prompts);
    ok &= Save(parameters, folder.filePath("dialog-parameters" + suffix));
    mirado::test::NamedChild<QRadioButton>(parameters, "backgroundBlack")->click();
    mirado::test::NamedChild<QComboBox>(parameters, "pressColour")->setCurrentIndex(17);
    mirado::test::NamedChild<QComboBox>(parameters, "opticalColour")->setCurrentIndex(8);
    ok &= Save(parameters, folder.filePath("dialog-parameters-black" + suffix));

    const mirado::IdDialogFields fields{{"R-12", "試験A-01", "293g", "雄 16週", "baseline day 3"},
                                        "DATE&TIME: 24/10/05 12:36:40"};
    mirado::CIdDialog id(fields, prompts);
    ok &= Save(id, folder.filePath("dialog-id" + suffix));

    mirado::CFileDialog4Text save("txt", "Textout.txt", {"txt file (*.txt)", "All Files (*.*)"});
    // A folder of its own with earlier exports in it, rather than whatever /tmp holds.
    mirado::test::TempFolder exports;
    for (const char* name : {"MS0412.txt", "RT0415-mean.txt", "Textout.txt"})
        QFile(QDir(QString::fromStdString(exports.Path())).filePath(name))
            .open(QIODevice::WriteOnly);
    save.setDirectory(QString::fromStdString(exports.Path()));
    save.resize(640, 420);
    ok &= Save(save, folder.filePath("dialog-save-as-text" + suffix));
    return ok ? 0 : 1;
}
