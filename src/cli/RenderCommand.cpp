// mirado-cli render: draws printed pages headless, the current-file page of one file
// (PDF or PNG) or the selected-files pages of several files (PDF, one page per file),
// exactly as the program prints them.

#include "cli/CliCommand.h"
#include "cli/CliOptions.h"
#include "cli/OffscreenApplication.h"
#include "cli/RunOptions.h"
#include "document/DisplaySettings.h"
#include "document/MiradoDoc.h"
#include "document/RecordSource.h"
#include "drawing/ColumnEnvelope.h"
#include "files/FileAccess.h"
#include "platform/ConsolePrompts.h"
#include "rendering/FontSubstitutions.h"
#include "rendering/PageRendering.h"

#include <QBuffer>

#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>

namespace mirado {

namespace {

constexpr int kLargestDpi = 2400;

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool AnyDamaged(const CMiradoDoc& doc) {
    for (int i = 0; i < doc.GetFileCount(); ++i) {
        if (doc.IsDamagedAt(i))
            return true;
    }
    return false;
}

class CRenderCommand : public CCliCommand {
public:
    void Declare(CLI::App& command) override {
        command.footer(
            "mirado-cli render FILE -o OUT.pdf|OUT.png [--dpi N] [--fitted-curve] [--view-scale "
            "G]\n"
            "mirado-cli render --selected FILE... -o OUT.pdf [--dpi N] [--fitted-curve]\n"
            "                  [--view-scale G]\n"
            "Draws the printed page of FILE on a landscape A4 sheet, or with --selected one\n"
            "selected-files page per FILE in the given order, as PDF (or, for one FILE, PNG).\n"
            "Message boxes the page would show are written to standard error. A file that\n"
            "fails to load gives an empty page and exit status 1.\n"
            "OUT is replaced whole or not at all: when it cannot be written, an existing OUT\n"
            "keeps its bytes and the exit status is 1.");
        files_.AddTo(command, true);
        AddOutputOption(command, output_, "the PDF or PNG file to write");
        command.add_flag("--selected", selected_, "one selected-files page per FILE (PDF only)");
        AddIntegerOption(
            command, "--dpi", 1, kLargestDpi, [this](int64_t dpi) { dpi_ = static_cast<int>(dpi); },
            "device resolution (default 600; 1 to 2400, PNG at most 1200)");
        command.add_flag("--fitted-curve", fittedCurve_, "draw the fitted pulse-amplitude curve");
        AddIntegerOption(
            command, "--view-scale", kSmallestViewScale, kLargestViewScale,
            [this](int64_t scale) { viewScale_ = static_cast<int>(scale); },
            "pulse-wave scale 0 to 10 (default 5)")
            ->type_name("G");
        AddIntegerOption(
            command, "--wave-colour", 0, kColourCount - 1,
            [this](int64_t index) { waveColour_ = static_cast<int>(index); },
            "pulse-wave colour, 0 to 17 in the Color dialog's order (default 0, Blue)")
            ->type_name("N");
        AddIntegerOption(
            command, "--pressure-colour", 0, kColourCount - 1,
            [this](int64_t index) { pressureColour_ = static_cast<int>(index); },
            "cuff-pressure colour, 0 to 17 in the Color dialog's order (default 6, Gray)")
            ->type_name("N");
        AddJobsOption(command, jobs_);
    }

    Result<void> Prepare(std::istream& in) override {
        const bool png = EndsWith(output_, ".png");
        if (!png && !EndsWith(output_, ".pdf"))
            return Fail("the output must end in .pdf or .png");
        if (png && dpi_ > kLargestImageDpi)
            return Fail("--dpi: a PNG takes at most " + std::to_string(kLargestImageDpi));
        if (Result<void> collected = files_.Collect(in); !collected.ok())
            return collected;
        if (!selected_ && files_.Paths().size() != 1)
            return Fail("one FILE without --selected");
        if (png && selected_)
            return Fail("--selected writes PDF only");
        return CheckOutputIsNoInput(output_, files_.Paths());
    }

    int Run(CliStreams& io) override {
        EnsureOffscreenApplication();
        CConsolePrompts prompts(io.err, "mirado-cli render", MessageAnswer::Yes);
        DocumentServices services;
        services.prompts = &prompts;
        CMiradoDoc doc(services);
        doc.SetFileList(files_.Paths());
        doc.SetFittedCurveShown(fittedCurve_);
        doc.SetViewScale(viewScale_);
        doc.GetSettings().SetWaveColor(waveColour_);
        doc.GetSettings().SetPressColor(pressureColour_);

        QBuffer pages;
        pages.open(QIODevice::WriteOnly);
        if (!Render(doc, prompts, pages)) {
            io.err << "mirado-cli render: " << SingleLine("cannot draw " + output_) << "\n";
            return kExitLoadFailed;
        }
        const QByteArray& bytes = pages.data();
        const Result<void> written =
            WriteFileAtomically(output_, std::string_view(bytes.constData(), bytes.size()));
        if (!written.ok()) {
            io.err << "mirado-cli render: "
                   << SingleLine("cannot write " + output_ + ": " + written.error()) << "\n";
            return kExitLoadFailed;
        }
        io.out << SingleLine(output_) << "\n";
        return AnyDamaged(doc) ? kExitLoadFailed : kExitOk;
    }

private:
    // Draws the pages into memory, so that the output file is written in one piece.
    bool Render(CMiradoDoc& doc, IUserPrompts& prompts, QIODevice& device) const {
        if (selected_) {
            // The pages open the files in list order after the first file was opened for
            // the selection marks; the next files are read and decoded meanwhile.
            std::vector<std::string> opens = ListedPaths(doc);
            opens.insert(opens.begin(), opens.front());
            CRecordPrefetch prefetch(std::move(opens), jobs_);
            doc.SetRecordSource(&prefetch);
            // Selection marks need a loaded file, as in the program.
            doc.OpenFileAt(0);
            doc.SelectAll();
            const PageJob job =
                SelectedFilesJob(doc, prompts, [&doc](int index) { doc.OpenFileAt(index); });
            const bool drawn = RenderJobToPdf(job, device, dpi_);
            doc.SetRecordSource(nullptr);
            return drawn;
        }
        doc.OpenFileAt(0);
        const PageJob job = CurrentFileJob(doc, prompts);
        return EndsWith(output_, ".png") ? RenderFirstPageToPng(job, device, dpi_)
                                         : RenderJobToPdf(job, device, dpi_);
    }

    CFileArguments files_;
    std::string output_;
    bool selected_ = false;
    int dpi_ = kDefaultRenderDpi;
    bool fittedCurve_ = false;
    int viewScale_ = kInitialViewScale;
    int waveColour_ = kDefaultWaveColor;
    int pressureColour_ = kDefaultPressColor;
    unsigned jobs_ = 1;
};

} // namespace

std::unique_ptr<CCliCommand> MakeRenderCommand() {
    return std::make_unique<CRenderCommand>();
}

} // namespace mirado
