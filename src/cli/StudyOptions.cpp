#include "cli/StudyOptions.h"

#include "cli/ProfileOption.h"
#include "files/FileAccess.h"
#include "platform/ConsolePrompts.h"
#include "records/TextEncoding.h"

#include <ostream>

namespace mirado {

namespace {

std::vector<SessionValues> ReadSessionValues(const std::vector<std::string>& paths,
                                             ValueSource source, unsigned jobs,
                                             const std::optional<AcceptanceProfile>& profile,
                                             const std::string& command, std::ostream& err,
                                             bool& allLoaded) {
    const auto noteFailure = [&](const Reading& reading) {
        if (reading.loaded)
            return;
        err << SingleLine(reading.path + reading.error) << '\n';
        allLoaded = false;
    };
    if (profile) {
        const std::vector<Reading> readings = ReadRecordings(paths, source, jobs);
        for (const Reading& reading : readings)
            noteFailure(reading);
        return SessionValuesFromReview(
            ReviewWithLogs(readings, paths, source, *profile, command, err));
    }
    CStudySummaryBuilder builder(source);
    ForEachReading(paths, source, jobs, [&](Reading&& reading) {
        noteFailure(reading);
        builder.Add(reading);
        return true;
    });
    return SessionValuesFromSummary(builder.Build().sessions);
}

std::string JoinedNames(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names)
        joined += (joined.empty() ? "" : ", ") + name;
    return joined;
}

} // namespace

Result<GroupsTable> ReadCommandGroups(const std::vector<SessionValues>& values,
                                      const std::vector<std::string>& paths,
                                      const std::string& groupsPath, const std::string& command,
                                      std::ostream& err) {
    std::vector<std::string> warnings;
    Result<GroupsTable> groups = ReadStudyGroups(values, paths, groupsPath, warnings);
    for (const std::string& warning : warnings)
        err << "mirado-cli " << command << ": " << SingleLine(warning) << '\n';
    return groups;
}

Result<StudyData> BuildStudy(const std::vector<SessionValues>& values,
                             const std::vector<std::string>& paths, const std::string& groupsPath,
                             const std::string& command, std::ostream& err) {
    const Result<GroupsTable> groups = ReadCommandGroups(values, paths, groupsPath, command, err);
    if (!groups.ok())
        return Fail(groups.error());
    return CollectStudyData(values, groups.value());
}

Result<StudyRead> ReadStudy(const std::vector<std::string>& paths, ValueSource source,
                            unsigned jobs, const std::optional<AcceptanceProfile>& profile,
                            const std::string& groupsPath, const std::string& command,
                            std::ostream& err) {
    StudyRead read;
    const std::vector<SessionValues> values =
        ReadSessionValues(paths, source, jobs, profile, command, err, read.allLoaded);
    Result<StudyData> data = BuildStudy(values, paths, groupsPath, command, err);
    if (!data.ok())
        return Fail(data.error());
    read.data = std::move(data.value());
    return read;
}

Result<size_t> FindControlGroup(const StudyData& data, const std::string& name) {
    if (name.empty()) {
        if (data.groups.empty())
            return Fail("no groups: no animal was read");
        return size_t{0};
    }
    if (const std::optional<size_t> group = FindGroup(data, name))
        return *group;
    return Fail("--control: no group \"" + name + "\"; the groups are " + JoinedNames(data.groups));
}

Result<size_t> FindBaselineSession(const StudyData& data, const std::string& date) {
    if (data.sessions.empty())
        return Fail("no sessions: no recording was read");
    if (date.empty())
        return size_t{0};
    if (const std::optional<size_t> session = FindSession(data, date))
        return *session;
    std::vector<std::string> dates;
    for (const StudySession& session : data.sessions)
        dates.push_back(Cp932ToUtf8(session.date));
    return Fail("--baseline: no session on " + date + "; the sessions are " + JoinedNames(dates));
}

std::string AnimalText(const StudyData& data, size_t animal) {
    const AnimalKey& key = data.animals[animal].animal;
    return "study " + Cp932ToUtf8(key.studyNo) + ", animal " + Cp932ToUtf8(key.animalNo);
}

bool WriteCommandOutput(const std::string& text, const std::string& output,
                        const std::string& command, CliStreams& io) {
    if (output.empty()) {
        io.out << text;
        return true;
    }
    if (const Result<void> written = WriteFileAtomically(output, text); !written.ok()) {
        io.err << "mirado-cli " << command << ": " << SingleLine(output + ": " + written.error())
               << '\n';
        return false;
    }
    return true;
}

} // namespace mirado
