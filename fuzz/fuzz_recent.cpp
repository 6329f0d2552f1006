// Reads arbitrary bytes as the recent-files file and works with the sets as the File
// menu does: a set is added, one removed, the missing files dropped, and the file is
// written and read back from disk. Checks:
// - the sets read are at most the limit, none empty;
// - the text written for the sets reads back as the same sets, and writing those again
//   gives the same text; the same through the file on disk;
// - adding a set puts it first once, within the limit; removing it leaves no equal set;
// - dropping missing files keeps the others in order and counts the dropped ones.

#include "WorkFolder.h"
#include "document/RecentFileSets.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace mirado {
namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "fuzz_recent: %s\n", what);
    std::abort();
}

void CheckShape(const CRecentFileSets& recent) {
    if (recent.Sets().size() > kMaxRecentFileSets)
        Fail("more sets than the limit");
    for (const FileSet& set : recent.Sets())
        if (set.empty())
            Fail("an empty set");
}

void CheckRoundTrip(const CRecentFileSets& recent) {
    const std::string text = recent.Format();
    const CRecentFileSets again = CRecentFileSets::Parse(text);
    if (again.Sets() != recent.Sets())
        Fail("the written sets read back differ");
    if (again.Format() != text)
        Fail("writing the sets read back changes the text");
}

void CheckOnDisk(const CRecentFileSets& recent) {
    static const std::string path = RecentFilesPath(FuzzWorkFolder("mirado-fuzz-recent") + "/");
    if (!recent.Save(path).ok())
        Fail("the sets cannot be saved");
    if (CRecentFileSets::Load(path).Sets() != recent.Sets())
        Fail("the saved sets load differently");
}

// A set of absolute paths, as the window remembers them, made from the input's lines
// with a line break, a backslash and a carriage return kept inside the names.
FileSet SetFrom(const std::string& text) {
    FileSet set;
    size_t start = 0;
    while (start < text.size() && set.size() < 16) {
        const size_t end = std::min(text.find('\n', start), text.size());
        set.push_back("/data/" + text.substr(start, end - start) + "\\\r\n.001");
        start = end + 1;
    }
    return set;
}

void CheckAddAndRemove(CRecentFileSets recent, const FileSet& set) {
    recent.Add(set);
    CheckShape(recent);
    if (recent.Sets().empty() || recent.Sets().front() != set ||
        std::count(recent.Sets().begin(), recent.Sets().end(), set) != 1)
        Fail("an added set is not first and alone");
    CheckRoundTrip(recent);
    recent.Remove(set);
    if (std::count(recent.Sets().begin(), recent.Sets().end(), set) != 0)
        Fail("a removed set is still listed");
}

void CheckKeepExisting(const FileSet& set) {
    const auto exists = [](const std::string& path) { return path.size() % 2 == 0; };
    const ExistingFiles existing = KeepExistingFiles(set, exists);
    FileSet expected;
    std::copy_if(set.begin(), set.end(), std::back_inserter(expected), exists);
    if (existing.kept != expected ||
        existing.dropped != static_cast<int>(set.size() - expected.size()))
        Fail("dropping missing files lost or kept the wrong ones");
    const ExistingFiles onDisk = KeepExistingFiles(set);
    if (onDisk.kept.size() + static_cast<size_t>(onDisk.dropped) != set.size())
        Fail("files on disk were neither kept nor dropped");
}

} // namespace
} // namespace mirado

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const std::string text(reinterpret_cast<const char*>(bytes), size);
    const mirado::CRecentFileSets recent = mirado::CRecentFileSets::Parse(text);
    mirado::CheckShape(recent);
    mirado::CheckRoundTrip(recent);
    mirado::CheckOnDisk(recent);
    const mirado::FileSet set = mirado::SetFrom(text.substr(0, 512));
    if (!set.empty())
        mirado::CheckAddAndRemove(recent, set);
    for (const mirado::FileSet& listed : recent.Sets())
        mirado::CheckKeepExisting(listed);
    return 0;
}
