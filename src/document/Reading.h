#pragma once
// A reading: one measurement file read on its own for the study summary, with a fresh
// analysis record set, so that nothing of the document (its current file, unsaved edits,
// display switches, the list's damage marks) is touched and the values do not depend on
// which files were read before. Its values are those of the file's Dominant export row
// for the chosen source.

#include "document/DominantValues.h"

#include <functional>
#include <string>
#include <vector>

namespace mirado {

struct Reading {
    std::string path;
    bool loaded = false;
    std::string error;    // the load message as shown after the path; empty when loaded
    CExportFields values; // the Dominant row's columns for the source (CP932 texts, mmHg)
    bool complete = false;
    // Whether the identification texts can be trusted: the file loaded, or its header
    // carries a known writer's mark. A reading without it joins no group of a summary.
    bool headerRead = false;
};

// Whether a reading enters the statistics: it loaded, its SBP is not 0 and, except with
// Analysis S (which has no mean pressure), its MBP is not 0.
bool IsCompleteReading(bool loaded, const CExportFields& values, ValueSource source);

// Loads the file and, for an analysis source, analyses it with fresh records the way the
// viewer does when it opens the file.
Reading ReadRecording(const std::string& path, ValueSource source);

// Reads the files on up to jobs threads and hands each reading to take on the calling
// thread, in the files' order; take answers false to stop. At most a few readings per
// thread wait at a time, so memory does not grow with the list.
void ForEachReading(const std::vector<std::string>& paths, ValueSource source, unsigned jobs,
                    const std::function<bool(Reading&&)>& take);

// Called on the calling thread after each reading, with the number done so far; answering
// false stops the run (the readings done so far are returned).
using ReadingProgress = std::function<bool(size_t done)>;

// Reads the files on up to jobs threads; the readings come back in the files' order and
// are the same whatever the number of threads.
std::vector<Reading> ReadRecordings(const std::vector<std::string>& paths, ValueSource source,
                                    unsigned jobs, const ReadingProgress& progress = {});

} // namespace mirado
