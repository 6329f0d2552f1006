#pragma once
// The groups table of a study: which treatment group each animal (study number × animal
// number) belongs to, with any further columns (sex, strain, notes) kept as they are.
//
// The file is CSV (RFC 4180): a header row starting study_no,animal_no,group, then one row
// per animal. It is read as UTF-8 when it is valid UTF-8 (a BOM is skipped), otherwise as
// CP932; it is written as UTF-8 without BOM, LF line ends, quoted only where needed.
// Study and animal numbers are held as CP932 bytes, as the recordings hold them; group
// names and the further columns as UTF-8.
//
// A row that repeats an animal already listed, lacks a column or names an animal the
// recordings do not hold is skipped with a warning naming its line. Animals the table does
// not list belong to the group "(none)". The groups keep the order of their first row.
//
// Use:
//   std::string path = FindGroupsFile(recordingPaths);      // "" when there is none
//   Result<GroupsRead> read = ReadGroupsFile(path, &animals); // or ParseGroupsCsv(bytes)
//   read.value().warnings;  read.value().table.GroupOf(studyNo, animalNo);
//   WriteGroupsFile(path, table);

#include "files/Result.h"

#include <string>
#include <utility>
#include <vector>

namespace mirado {

inline constexpr const char* kGroupsFileName = "mirado-groups.csv";
inline constexpr const char* kNoGroupName = "(none)";

// An animal: study number and animal number, CP932 bytes as in the recordings.
struct AnimalKey {
    std::string studyNo, animalNo;
    friend auto operator<=>(const AnimalKey&, const AnimalKey&) = default;
};

struct GroupAssignment {
    AnimalKey animal;
    std::string group;              // UTF-8
    std::vector<std::string> extra; // the further columns, UTF-8, as many as the header's
    int line = 0;                   // the line of the file it came from; 0 when made here
};

struct GroupsTable {
    std::vector<std::string> extraColumns; // the header's names after "group"
    std::vector<GroupAssignment> rows;

    // The group of the animal, kNoGroupName when the table does not list it.
    std::string GroupOf(const AnimalKey& animal) const;
    // The group names in the order of their first row (without "(none)").
    std::vector<std::string> GroupNames() const;
    // Sets the animal's group, adding a row at the end when it is not listed yet.
    void Assign(const AnimalKey& animal, const std::string& group);
};

struct GroupsRead {
    GroupsTable table;
    std::vector<std::string> warnings; // "line N: ..." for each row skipped
};

// Reads the table from the file's bytes. knownAnimals, when given, holds every animal of
// the recordings; a row naming another one is skipped (an editor that writes the table
// back reads it without, so that no row is lost). Fails only when the header does not
// start with study_no,animal_no,group or a quoted field does not end.
Result<GroupsRead> ParseGroupsCsv(std::string_view bytes,
                                  const std::vector<AnimalKey>* knownAnimals = nullptr);
Result<GroupsRead> ReadGroupsFile(const std::string& path,
                                  const std::vector<AnimalKey>* knownAnimals = nullptr);

// The table as UTF-8 CSV, header row first.
std::string GroupsCsv(const GroupsTable& table);
// Writes the CSV atomically.
Result<void> WriteGroupsFile(const std::string& path, const GroupsTable& table);

// The groups file beside the recordings: kGroupsFileName in the folder of the first path
// whose folder holds one; "" when none does.
std::string FindGroupsFile(const std::vector<std::string>& recordingPaths);
// Where the groups file of these recordings belongs: the first path's folder.
std::string GroupsFilePathFor(const std::string& recordingPath);

} // namespace mirado
