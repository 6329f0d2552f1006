// mirado-cli samples: the decoded channels of one file as CSV.

#include "cli/CliCommand.h"
#include "cli/CliOptions.h"
#include "platform/ConsolePrompts.h"
#include "records/LoadedRecord.h"
#include "records/SamplesCsv.h"

#include <CLI/CLI.hpp>

#include <ostream>

namespace mirado {

namespace {

class CSamplesCommand : public CCliCommand {
public:
    void Declare(CLI::App& command) override {
        command.footer(
            "Prints the decoded channels as CSV (LF line ends) with the header row\n"
            "index,time_ms,cuff_raw,cuff_mmHg,optical; time_ms = index x sample interval / 10\n"
            "with one decimal, cuff_mmHg = the cuff sample in mmHg rounded half away from zero.");
        command.add_option("FILE", path_, "the measurement file")->type_name("")->required();
    }

    Result<void> Prepare(std::istream&) override {
        path_ = AbsolutePath(path_);
        return Ok();
    }

    int Run(CliStreams& io) override {
        const LoadedRecord file = LoadRecord(path_);
        if (!file.Loaded()) {
            io.err << SingleLine(file.path + file.message) << '\n';
            return kExitLoadFailed;
        }
        io.out << SamplesCsv(*file.data);
        return kExitOk;
    }

private:
    std::string path_;
};

} // namespace

std::unique_ptr<CCliCommand> MakeSamplesCommand() {
    return std::make_unique<CSamplesCommand>();
}

} // namespace mirado
