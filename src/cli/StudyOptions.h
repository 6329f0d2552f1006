#pragma once
// What the commands over a study's groups share (stats, summary --level group): each
// animal's value per session (the mean of its complete readings, or with --profile of its
// accepted ones), the groups table --groups names or the one found beside the
// recordings, and the study built from both.

#include "cli/CliCommand.h"
#include "document/Reading.h"
#include "review/AcceptanceProfile.h"
#include "stats/StudyStatistics.h"

#include <optional>
#include <string>
#include <vector>

namespace mirado {

struct StudyRead {
    StudyData data;
    bool allLoaded = true; // false when some file failed to load (its message went to err)
};

// Reads the files, reviews them under the profile when one is given, and builds the study
// over the groups table: groupsPath, or else the groups file beside the recordings, or
// else none (every animal in "(none)"). Warnings about the review logs and the groups
// file's skipped rows go to err after "mirado-cli COMMAND: "; a groups file that cannot
// be read is the failure.
Result<StudyRead> ReadStudy(const std::vector<std::string>& paths, ValueSource source,
                            unsigned jobs, const std::optional<AcceptanceProfile>& profile,
                            const std::string& groupsPath, const std::string& command,
                            std::ostream& err);

// The groups table over session values already taken: groupsPath, or else the groups file
// beside the recordings, or else an empty one; warnings as for ReadStudy.
Result<GroupsTable> ReadCommandGroups(const std::vector<SessionValues>& values,
                                      const std::vector<std::string>& paths,
                                      const std::string& groupsPath, const std::string& command,
                                      std::ostream& err);

// The study from session values already taken (as ReadStudy builds it after reading).
Result<StudyData> BuildStudy(const std::vector<SessionValues>& values,
                             const std::vector<std::string>& paths, const std::string& groupsPath,
                             const std::string& command, std::ostream& err);

// The control group --control names (empty: the first group); the failure names the
// groups there are.
Result<size_t> FindControlGroup(const StudyData& data, const std::string& name);

// The baseline session --baseline names (empty: the first); the failure lists the dates.
Result<size_t> FindBaselineSession(const StudyData& data, const std::string& date);

// The animal as "study S, animal A" (UTF-8).
std::string AnimalText(const StudyData& data, size_t animal);

// Writes text to standard output, or atomically to output; false (with the message on
// err) when the file cannot be written.
bool WriteCommandOutput(const std::string& text, const std::string& output,
                        const std::string& command, CliStreams& io);

} // namespace mirado
