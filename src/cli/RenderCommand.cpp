// mirado-cli render: draws printed pages headless, the current-file page of one file
// (PDF or PNG) or the selected-files pages of several files (PDF, one page per file),
// exactly as the program prints them.

#include "rendering/FontSubstitutions.h"
#include "rendering/PageRendering.h"
#include "cli/CliCommand.h"
#include "document/MiradoDoc.h"
#include "platform/UserPrompts.h"

#include <QGuiApplication>
#include <QString>

#include <memory>
#include <ostream>

namespace mirado {

const char* const kRenderUsage =
    "mirado-cli render FILE -o OUT.pdf|OUT.png [--dpi N] [--fitted-curve] [--view-scale G]\n"
    "mirado-cli render --selected FILE... -o OUT.pdf [--dpi N] [--fitted-curve] [--view-scale G]\n"
    "  Draws the printed page of FILE on a landscape A4 sheet, or with --selected one\n"
    "  selected-files page per FILE in the given order, as PDF (or, for one FILE, PNG).\n"
    "  --dpi N         device resolution (default 600; 1 to 2400, PNG at most 1200)\n"
    "  --fitted-curve  draw the fitted pulse-amplitude curve\n"
    "  --view-scale G  pulse-wave scale 0 to 10 (default 5)\n"
    "  Message boxes the page would show are written to standard error. A file that\n"
    "  fails to load gives an empty page and exit status 1.\n";

namespace {

constexpr int kLargestDpi = 2400;
constexpr int kLargestViewScale = 10;

// Message boxes become lines on standard error; every question takes its first answer.
class StreamPrompts : public IUserPrompts {
public:
    explicit StreamPrompts(std::ostream& err) : err_(err) {}
    MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon,
                              MessageButtons buttons) override {
        err_ << "mirado-cli render: " << caption << ": " << text << "\n";
        return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel
                   ? MessageAnswer::Yes
                   : MessageAnswer::Ok;
    }

private:
    std::ostream& err_;
};

struct RenderOptions {
    std::vector<std::string> files;
    std::string output;
    bool selected = false;
    int dpi = kDefaultRenderDpi;
    bool fittedCurve = false;
    int viewScale = kInitialViewScale;
};

bool ParseInt(const std::string& text, int lowest, int highest, int& value) {
    try {
        size_t used = 0;
        const int parsed = std::stoi(text, &used);
        if (used != text.size() || parsed < lowest || parsed > highest)
            return false;
        value = parsed;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Empty on success, else what is wrong.
std::string ParseOptions(const CliArgs& args, RenderOptions& options) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--selected") {
            options.selected = true;
        } else if (arg == "--fitted-curve") {
            options.fittedCurve = true;
        } else if (arg == "-o") {
            if (!hasValue)
                return "-o needs a file name";
            options.output = args[++i];
        } else if (arg == "--dpi") {
            if (!hasValue || !ParseInt(args[++i], 1, kLargestDpi, options.dpi))
                return "--dpi needs a number from 1 to 2400";
        } else if (arg == "--view-scale") {
            if (!hasValue || !ParseInt(args[++i], 0, kLargestViewScale, options.viewScale))
                return "--view-scale needs a number from 0 to 10";
        } else if (arg.size() > 1 && arg[0] == '-') {
            return "unknown option '" + arg + "'";
        } else {
            options.files.push_back(arg);
        }
    }
    if (options.output.empty())
        return "no output file given (-o)";
    if (options.files.empty())
        return "no FILE given";
    const bool png = EndsWith(options.output, ".png");
    if (!png && !EndsWith(options.output, ".pdf"))
        return "the output must end in .pdf or .png";
    if (!options.selected && options.files.size() != 1)
        return "one FILE without --selected";
    if (png && options.selected)
        return "--selected writes PDF only";
    return {};
}

// The batch tool draws with Qt's offscreen platform: no display is needed.
void EnsureGuiApplication() {
    if (QCoreApplication::instance() != nullptr)
        return;
    static int argc = 3;
    static char name[] = "mirado-cli";
    static char option[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    static QGuiApplication application(argc, argv);
    // The same faces as the program's pages.
    InstallFontSubstitutions();
}

bool AnyDamaged(const CMiradoDoc& doc) {
    for (int i = 0; i < doc.GetFileCount(); ++i) {
        if (doc.IsDamagedAt(i))
            return true;
    }
    return false;
}

} // namespace

int RunRender(const CliArgs& args, std::ostream& out, std::ostream& err) {
    RenderOptions options;
    const std::string problem = ParseOptions(args, options);
    if (!problem.empty()) {
        err << "mirado-cli render: " << problem << "\n" << kRenderUsage;
        return kExitUsage;
    }
    EnsureGuiApplication();
    StreamPrompts prompts(err);
    DocumentServices services;
    services.prompts = &prompts;
    CMiradoDoc doc(services);
    doc.SetFileList(options.files);
    doc.SetFittedCurveShown(options.fittedCurve);
    doc.SetViewScale(options.viewScale);

    const QString output = QString::fromStdString(options.output);
    bool written = false;
    if (options.selected) {
        // Selection marks need a loaded file, as in the program.
        doc.OpenFileAt(0);
        doc.SelectAll();
        const PageJob job =
            SelectedFilesJob(doc, prompts, [&doc](int index) { doc.OpenFileAt(index); });
        written = RenderJobToPdf(job, output, options.dpi);
    } else {
        doc.OpenFileAt(0);
        const PageJob job = CurrentFileJob(doc, prompts);
        written = EndsWith(options.output, ".png") ? RenderFirstPageToPng(job, output, options.dpi)
                                                   : RenderJobToPdf(job, output, options.dpi);
    }
    if (!written) {
        err << "mirado-cli render: cannot write " << options.output << "\n";
        return kExitLoadFailed;
    }
    out << options.output << "\n";
    return AnyDamaged(doc) ? kExitLoadFailed : kExitOk;
}

} // namespace mirado
