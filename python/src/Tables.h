#pragma once
// The table export and the study summary as typed columns (Columns.h).

#include <pybind11/pybind11.h>

#include <optional>
#include <string>
#include <vector>

namespace mirado::python {

// The columns of the table export of the files (and, with a profile, each row's review
// status and reason), and the review logs' warnings.
pybind11::tuple TableColumns(const std::vector<std::string>& paths, const std::string& source,
                             const std::optional<std::string>& profile, unsigned jobs);

// The study summary's rows by session or by animal as columns, and the warnings.
pybind11::tuple SummaryColumns(const std::vector<std::string>& paths, const std::string& source,
                               const std::optional<std::string>& profile, const std::string& level,
                               unsigned jobs);

} // namespace mirado::python
