#pragma once
// A study over its groups of animals and its sessions as typed columns (Columns.h): each
// group's levels per session (the summary's group level) and the tests (mixed ANOVA,
// Welch's comparisons against the control group), as the batch tool's summary and stats
// give them.

#include <pybind11/pybind11.h>

#include <optional>
#include <string>
#include <vector>

namespace mirado::python {

// The group levels, or with a baseline each animal's change from it ("" for the first
// session); the columns and the warnings.
pybind11::tuple GroupLevelColumns(const std::vector<std::string>& paths, const std::string& source,
                                  const std::optional<std::string>& profile,
                                  const std::optional<std::string>& groups,
                                  const std::optional<std::string>& baseline, unsigned jobs);

// The summary's reading level: each reading with its animal's group, the values the
// statistics take and its status (under the profile and the review logs, or without one
// as the summary counts); the columns and the warnings.
pybind11::tuple ReadingLevelColumns(const std::vector<std::string>& paths,
                                    const std::string& source,
                                    const std::optional<std::string>& profile,
                                    const std::optional<std::string>& groups, unsigned jobs);

// The tests of the measures (all four when none is named) against the control group (the
// first when none is named); the columns and the warnings.
pybind11::tuple StatsColumns(const std::vector<std::string>& paths, const std::string& source,
                             const std::optional<std::string>& profile,
                             const std::optional<std::string>& groups,
                             const std::optional<std::string>& control,
                             const std::optional<std::string>& measure, unsigned jobs);

} // namespace mirado::python
