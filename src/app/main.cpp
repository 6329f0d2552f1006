// The program: `mirado [FILES...]` opens the viewer on the files;
// `mirado --screenshot PATH [FILES...]` saves a picture of the main window and exits, with
// status 1 when the picture could not be written or a listed file did not load;
// `mirado --version` prints the version and `mirado --help` the usage, both without
// opening a window;
// `mirado --lang en|ja ...` shows the window in that language this time, whatever the
// setting says.

#include "app/MiradoApp.h"
#include "platform/ConsolePrompts.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kScreenshotOption = "--screenshot";
constexpr const char* kVersionOption = "--version";
constexpr const char* kLanguageOption = "--lang";
constexpr const char* kHelpOption = "--help";
constexpr const char* kShortHelpOption = "-h";
constexpr const char* kUsage =
    "usage: mirado [--lang en|ja] [--screenshot PATH] [FILES...] | mirado --version | "
    "mirado --help\n";
constexpr const char* kHelpText =
    "Views and corrects tail-cuff blood-pressure recordings.\n"
    "\n"
    "  FILES...           measurement files to open, in this order\n"
    "  --lang en|ja       show the window in English or Japanese this time\n"
    "  --screenshot PATH  save a picture of the main window to PATH (PNG) and exit\n"
    "  --version          print the version and exit\n"
    "  --help, -h         print this help and exit\n";
// The installed desktop entry's name, so desktops match the window with its launcher.
constexpr const char* kDesktopFileName = "org.mirado.Mirado";

// Whether the command line holds one of the options. Checked before the application
// object exists, so the version and the help work without a display.
bool HasOption(int argc, char* argv[], const char* option, const char* shortOption = nullptr) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], option) == 0 ||
            (shortOption != nullptr && std::strcmp(argv[i], shortOption) == 0))
            return true;
    }
    return false;
}

struct CommandLine {
    std::string screenshotPath;
    std::optional<mirado::UiLanguage> language;
    std::vector<std::string> files;
    bool valid = true;
};

// The arguments as the bytes they came in (Qt's own options already taken out), so that a
// file name that is not valid UTF-8 still names its file.
CommandLine ParseCommandLine(int argc, char* argv[]) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == kScreenshotOption) {
            if (i + 1 >= argc) {
                line.valid = false;
                break;
            }
            line.screenshotPath = argv[++i];
        } else if (argument == kLanguageOption) {
            mirado::UiLanguage language{};
            if (i + 1 >= argc || !mirado::ParseUiLanguage(argv[++i], &language)) {
                line.valid = false;
                break;
            }
            line.language = language;
        } else {
            line.files.push_back(argument);
        }
    }
    return line;
}

} // namespace

int main(int argc, char* argv[]) {
    if (HasOption(argc, argv, kVersionOption)) {
        std::printf("mirado %s\n", MIRADO_VERSION);
        return 0;
    }
    if (HasOption(argc, argv, kHelpOption, kShortHelpOption)) {
        std::printf("%s%s", kUsage, kHelpText);
        return 0;
    }
    QApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName));
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirado"));
    const CommandLine line = ParseCommandLine(argc, argv);
    if (!line.valid) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    // Message boxes while taking a screenshot: nobody is there to answer, so the text goes
    // to the error stream and the box takes its first button's answer.
    mirado::CConsolePrompts consolePrompts(std::cerr, "mirado", mirado::MessageAnswer::Yes);
    mirado::AppServices services;
    if (!line.screenshotPath.empty())
        services.prompts = &consolePrompts;
    mirado::CMiradoApp app(services);
    if (line.language)
        app.SetLanguage(*line.language);
    if (!app.InitInstance(line.files))
        return 1;

    if (!line.screenshotPath.empty()) {
        // Taken once the window has been shown and painted.
        QTimer::singleShot(0, &application, [&] {
            QApplication::processEvents();
            const bool saved = app.SaveScreenshot(line.screenshotPath);
            if (!saved)
                std::fprintf(stderr, "mirado: cannot write %s\n", line.screenshotPath.c_str());
            const bool allLoaded = app.AllListedFilesLoad(stderr);
            QApplication::exit(saved && allLoaded ? 0 : 1);
        });
    }
    return QApplication::exec();
}
