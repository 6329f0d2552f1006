#pragma once
// The table export and the study summary as typed columns (Columns.h).

#include "Columns.h"
#include "document/DominantValues.h"
#include "review/AcceptanceProfile.h"

#include <pybind11/pybind11.h>

#include <optional>
#include <string>
#include <vector>

namespace mirado::python {

// "stored", "s" or "sm"; another name raises ValueError.
ValueSource SourceNamed(const std::string& name);
// 0 is every core.
unsigned JobCount(unsigned jobs);
// The acceptance profile a name gives (as --profile finds it); none for none. A name that
// gives none raises ValueError.
std::optional<AcceptanceProfile> ProfileIfNamed(const std::optional<std::string>& name);
pybind11::list ColumnsToPython(const std::vector<CColumn>& columns);
// Texts for Python's warnings (invalid UTF-8 replaced).
pybind11::list WarningsToPython(const std::vector<std::string>& texts);

// The columns of the table export of the files (and, with a profile, each row's review
// status and reason), and the review logs' warnings.
pybind11::tuple TableColumns(const std::vector<std::string>& paths, const std::string& source,
                             const std::optional<std::string>& profile, unsigned jobs);

// The study summary's rows by session or by animal as columns, and the warnings.
pybind11::tuple SummaryColumns(const std::vector<std::string>& paths, const std::string& source,
                               const std::optional<std::string>& profile, const std::string& level,
                               unsigned jobs);

} // namespace mirado::python
