#include "stats/GroupsTable.h"

#include "document/CsvField.h"
#include "files/FileAccess.h"
#include "platform/Utf8.h"
#include "records/TextEncoding.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace mirado {

namespace {

// Groups files list animals; anything far beyond this is not one.
constexpr size_t kMaxGroupsFileSize = 16u * 1024u * 1024u;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

struct CsvRecord {
    std::vector<std::string> fields;
    int line = 0; // the line it starts on
};

// Splits RFC 4180 text into records (CRLF or LF line ends, quoted fields may hold line
// breaks). Fails when a quoted field does not end. Blank lines give no record.
Result<std::vector<CsvRecord>> SplitCsv(std::string_view text) {
    std::vector<CsvRecord> records;
    CsvRecord current{{}, 1};
    std::string field;
    bool quoted = false, fieldStarted = false;
    int line = 1;
    const auto endRecord = [&] {
        if (fieldStarted || !current.fields.empty()) {
            current.fields.push_back(std::move(field));
            records.push_back(std::move(current));
        }
        field.clear();
        fieldStarted = false;
        current = CsvRecord{{}, line};
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                if (c == '\n')
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == '"' && field.empty()) {
            quoted = fieldStarted = true;
        } else if (c == ',') {
            current.fields.push_back(std::move(field));
            field.clear();
            fieldStarted = true;
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        } else if (c == '\n') {
            ++line;
            endRecord();
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (quoted)
        return Fail("line " + std::to_string(current.line) + ": a quoted field does not end");
    endRecord();
    return records;
}

// Appends the fields as one CSV line, each quoted where RFC 4180 needs it.
void AppendCsvRow(std::string& csv, const std::vector<std::string>& fields) {
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            csv += ',';
        csv += CsvField(fields[i]);
    }
    csv += '\n';
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string LineWarning(int line, const std::string& what) {
    return "line " + std::to_string(line) + ": " + what;
}

// A number field as the recordings hold it: CP932 bytes. A UTF-8 file's text is
// converted; a character CP932 lacks leaves it as it is (it then matches no recording).
std::string RecordText(const std::string& field, bool utf8) {
    if (!utf8)
        return field;
    std::optional<std::string> cp932 = Utf8ToCp932(field);
    return cp932 ? *cp932 : field;
}

std::string DisplayText(const std::string& field, bool utf8) {
    return utf8 ? field : Cp932ToUtf8(field);
}

} // namespace

std::string GroupsTable::GroupOf(const AnimalKey& animal) const {
    for (const GroupAssignment& row : rows)
        if (row.animal == animal)
            return row.group;
    return kNoGroupName;
}

std::vector<std::string> GroupsTable::GroupNames() const {
    std::vector<std::string> names;
    for (const GroupAssignment& row : rows)
        if (std::find(names.begin(), names.end(), row.group) == names.end())
            names.push_back(row.group);
    return names;
}

void GroupsTable::Assign(const AnimalKey& animal, const std::string& group) {
    for (GroupAssignment& row : rows)
        if (row.animal == animal) {
            row.group = group;
            return;
        }
    rows.push_back({animal, group, std::vector<std::string>(extraColumns.size()), 0});
}

Result<GroupsRead> ParseGroupsCsv(std::string_view bytes,
                                  const std::vector<AnimalKey>* knownAnimals) {
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom)
        bytes.remove_prefix(kUtf8Bom.size());
    const bool utf8 = IsValidUtf8(bytes);
    Result<std::vector<CsvRecord>> split = SplitCsv(bytes);
    if (!split.ok())
        return Fail(split.error());
    const std::vector<CsvRecord>& records = split.value();
    if (records.empty() || records[0].fields.size() < 3 ||
        Trimmed(records[0].fields[0]) != "study_no" ||
        Trimmed(records[0].fields[1]) != "animal_no" || Trimmed(records[0].fields[2]) != "group")
        return Fail("the first row must start with study_no,animal_no,group");

    GroupsRead read;
    const std::vector<std::string>& header = records[0].fields;
    for (size_t i = 3; i < header.size(); ++i)
        read.table.extraColumns.push_back(DisplayText(header[i], utf8));
    std::set<AnimalKey> seen;
    for (size_t r = 1; r < records.size(); ++r) {
        const CsvRecord& record = records[r];
        if (record.fields.size() < 3) {
            read.warnings.push_back(
                LineWarning(record.line, "fewer than 3 columns; the row is skipped"));
            continue;
        }
        GroupAssignment row;
        row.animal = {RecordText(Trimmed(record.fields[0]), utf8),
                      RecordText(Trimmed(record.fields[1]), utf8)};
        row.group = DisplayText(Trimmed(record.fields[2]), utf8);
        row.line = record.line;
        const std::string who = "study " + DisplayText(row.animal.studyNo, true) + ", animal " +
                                DisplayText(row.animal.animalNo, true);
        if (row.group.empty()) {
            read.warnings.push_back(LineWarning(record.line, who + " has no group; skipped"));
            continue;
        }
        if (knownAnimals != nullptr && std::find(knownAnimals->begin(), knownAnimals->end(),
                                                 row.animal) == knownAnimals->end()) {
            read.warnings.push_back(
                LineWarning(record.line, who + " is not in the recordings; skipped"));
            continue;
        }
        if (!seen.insert(row.animal).second) {
            read.warnings.push_back(
                LineWarning(record.line, who + " is listed again; the row is skipped"));
            continue;
        }
        for (size_t i = 3; i < header.size(); ++i)
            row.extra.push_back(i < record.fields.size() ? DisplayText(record.fields[i], utf8)
                                                         : std::string());
        read.table.rows.push_back(std::move(row));
    }
    return read;
}

Result<GroupsRead> ReadGroupsFile(const std::string& path,
                                  const std::vector<AnimalKey>* knownAnimals) {
    Result<std::vector<uint8_t>> bytes = ReadWholeFile(path, kMaxGroupsFileSize);
    if (!bytes.ok())
        return Fail(path + ": " + bytes.error());
    const std::vector<uint8_t>& data = bytes.value();
    Result<GroupsRead> read = ParseGroupsCsv(
        std::string_view(reinterpret_cast<const char*>(data.data()), data.size()), knownAnimals);
    if (!read.ok())
        return Fail(path + ": " + read.error());
    return read;
}

std::string GroupsCsv(const GroupsTable& table) {
    std::vector<std::string> header = {"study_no", "animal_no", "group"};
    header.insert(header.end(), table.extraColumns.begin(), table.extraColumns.end());
    std::string csv;
    AppendCsvRow(csv, header);
    for (const GroupAssignment& row : table.rows) {
        std::vector<std::string> fields = {Cp932ToUtf8(row.animal.studyNo),
                                           Cp932ToUtf8(row.animal.animalNo), row.group};
        for (size_t i = 0; i < table.extraColumns.size(); ++i)
            fields.push_back(i < row.extra.size() ? row.extra[i] : std::string());
        AppendCsvRow(csv, fields);
    }
    return csv;
}

Result<void> WriteGroupsFile(const std::string& path, const GroupsTable& table) {
    return WriteFileAtomically(path, GroupsCsv(table));
}

std::string GroupsFilePathFor(const std::string& recordingPath) {
    return (std::filesystem::path(recordingPath).parent_path() / kGroupsFileName).string();
}

std::string FindGroupsFile(const std::vector<std::string>& recordingPaths) {
    std::set<std::string> tried;
    for (const std::string& recording : recordingPaths) {
        const std::string candidate = GroupsFilePathFor(recording);
        if (!tried.insert(candidate).second)
            continue;
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error))
            return candidate;
    }
    return {};
}

} // namespace mirado
