#pragma once
// Typed columns for the module's tables, made from text fields or values in C++ and handed
// to the Python side as numpy arrays and lists; the Python side makes them a DataFrame
// (pandas is imported only there). Each column is a tuple (name, kind, values, mask):
//   "str"   a list of str, None where missing;
//   "int"   int64 values and a bool mask, True where missing (pandas Int64);
//   "bool"  bool values and a mask (pandas boolean);
//   "float" float64 values, NaN where missing (mask None);
//   "date"  int64 days since 1970-01-01 and a mask (datetime64).

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mirado::python {

enum class ColumnKind { Text, Integer, Boolean, Real, Date };

class CColumn {
public:
    CColumn(std::string name, ColumnKind kind, size_t rows);
    void AddText(const std::optional<std::string>& text);
    void AddInteger(std::optional<int64_t> value);
    void AddReal(std::optional<double> value);
    // A date's days since 1970-01-01.
    void AddDate(std::optional<int64_t> days);
    // A field as the table's text holds it: empty is missing; a number, a date (YY/MM/DD)
    // or a 0/1 flag as the column's kind reads it.
    void AddField(const std::string& field);
    pybind11::tuple ToPython() const;

private:
    std::string name_;
    ColumnKind kind_;
    std::vector<std::optional<std::string>> texts_;
    std::vector<int64_t> integers_;
    std::vector<double> reals_;
    std::vector<bool> missing_;
};

// Days since 1970-01-01 of a date text that reads as YY/MM/DD (the study summary's rule).
std::optional<int64_t> DateTextDays(const std::string& text);

} // namespace mirado::python
