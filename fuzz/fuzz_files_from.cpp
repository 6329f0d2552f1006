// Reads arbitrary bytes as the batch tool's `--files-from -` list on standard input,
// then orders the files it names as the window orders picked files. Checks:
// - a list that is accepted gives one path per line that is not empty, in the list's
//   order, each from the root, keeping the line's file name;
// - the natural order of the names is a consistent order: sorting leaves no pair the
//   wrong way round, and two names compare opposite ways when swapped.

#include "cli/CliOptions.h"
#include "document/FileList.h"
#include "document/NaturalOrder.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace mirado {
namespace {

constexpr size_t kMostPairChecks = 64;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "fuzz_files_from: %s\n", what);
    std::abort();
}

std::vector<std::string> NonEmptyLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            lines.push_back(line);
    return lines;
}

// The line's last part when it names a file by itself ("", "." and ".." do not).
bool NamesFile(const std::string& line, std::string& name) {
    name = FileNameOfPath(line);
    return !name.empty() && name != "." && name != "..";
}

void CheckPaths(const std::vector<std::string>& lines, const std::vector<std::string>& paths) {
    if (paths.size() != lines.size())
        Fail("the list's lines and the paths differ in number");
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& path = paths[i];
        if (path.empty() || path.front() != '/')
            Fail("a path not from the root");
        if (AbsolutePath(path) != path)
            Fail("a path changes when taken from the root again");
        std::string name;
        if (NamesFile(lines[i], name) && FileNameOfPath(path) != name)
            Fail("a path lost its line's file name");
    }
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

void CheckNaturalOrder(std::vector<std::string> paths) {
    SortByNaturalName(paths);
    if (paths.size() > kMostPairChecks)
        paths.resize(kMostPairChecks);
    for (size_t i = 0; i < paths.size(); ++i) {
        for (size_t j = i + 1; j < paths.size(); ++j) {
            if (IsBeforeByNaturalName(paths[j], paths[i]))
                Fail("sorted names out of order");
            const std::string a = FileNameOfPath(paths[i]);
            const std::string b = FileNameOfPath(paths[j]);
            if (Sign(CompareNaturally(a, b)) != -Sign(CompareNaturally(b, a)))
                Fail("two names compare the same way both ways round");
        }
    }
}

} // namespace
} // namespace mirado

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const std::string text(reinterpret_cast<const char*>(bytes), size);
    CLI::App command;
    mirado::CFileArguments files;
    files.AddTo(command, true);
    std::vector<std::string> arguments = {"-", "--files-from"}; // CLI11 takes them reversed
    command.parse(arguments);
    std::istringstream in(text);
    if (!files.Collect(in).ok())
        return 0;
    mirado::CheckPaths(mirado::NonEmptyLines(text), files.Paths());
    mirado::CheckNaturalOrder(files.Paths());
    return 0;
}
