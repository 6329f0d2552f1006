// mirado-cli export: the main window's "Save to Textfile" without the window. The given
// files form the file list, every one marked, and the same export run writes the text
// file, so the output is byte for byte what the program writes for those files.

#include "cli/CliCommand.h"
#include "document/ExportLoop.h"
#include "document/MiradoDoc.h"
#include "platform/UserPrompts.h"

#include <ostream>

namespace mirado {

const char* const kExportUsage =
    "mirado-cli export [--mode dominant|mean] -o OUT FILE...\n"
    "  Writes the comma-separated text export of the files to OUT (replaced whole, never\n"
    "  left half-written): one line per file (dominant, the default) or one averaged line\n"
    "  per animal number (mean). A file that fails to load still gives its line from what\n"
    "  was read; its load message goes to standard error and the exit status is 1.\n";

namespace {

// Load messages of the batch run go to the error stream, one line each.
class StreamPrompts : public IUserPrompts {
public:
    explicit StreamPrompts(std::ostream& err) : err_(err) {}
    MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon,
                              MessageButtons buttons) override {
        err_ << "mirado-cli export: " << caption << ": " << text << "\n";
        return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel
                   ? MessageAnswer::No
                   : MessageAnswer::Ok;
    }

private:
    std::ostream& err_;
};

struct ExportArgs {
    ExportMode mode = ExportMode::Dominant;
    std::string output;
    std::vector<std::string> files;
};

bool ParseExportArgs(const CliArgs& args, ExportArgs& parsed, std::ostream& err) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--mode" && hasValue) {
            const std::string& mode = args[++i];
            if (mode == "dominant") {
                parsed.mode = ExportMode::Dominant;
            } else if (mode == "mean") {
                parsed.mode = ExportMode::Mean;
            } else {
                err << "mirado-cli export: unknown mode '" << mode << "'\n";
                return false;
            }
        } else if (arg == "-o" && hasValue) {
            parsed.output = args[++i];
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            err << "mirado-cli export: unknown or incomplete option '" << arg << "'\n";
            return false;
        } else {
            parsed.files.push_back(arg);
        }
    }
    if (parsed.output.empty() || parsed.files.empty()) {
        err << "mirado-cli export: needs -o OUT and at least one FILE\n";
        return false;
    }
    return true;
}

} // namespace

int RunExport(const CliArgs& args, std::ostream& out, std::ostream& err) {
    ExportArgs parsed;
    if (!ParseExportArgs(args, parsed, err)) {
        err << kExportUsage;
        return kExitUsage;
    }
    StreamPrompts prompts(err);
    DocumentServices services;
    services.prompts = &prompts;
    CMiradoDoc doc(services);
    doc.SetFileList(parsed.files);
    doc.SelectAll();
    bool allLoaded = true;
    const ExportResult result = ExportMarkedFiles(
        doc, parsed.mode, parsed.output, [&](int index) { allLoaded &= !doc.IsDamagedAt(index); });
    if (!result.written) {
        err << "mirado-cli export: " << result.error << "\n";
        return kExitLoadFailed;
    }
    out.flush();
    return allLoaded ? kExitOk : kExitLoadFailed;
}

} // namespace mirado
