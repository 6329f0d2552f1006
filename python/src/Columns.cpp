#include "Columns.h"

#include "document/StudySummary.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <limits>

namespace py = pybind11;

namespace mirado::python {

namespace {

const char* KindName(ColumnKind kind) {
    switch (kind) {
    case ColumnKind::Text:
        return "str";
    case ColumnKind::Integer:
        return "int";
    case ColumnKind::Boolean:
        return "bool";
    case ColumnKind::Real:
        return "float";
    case ColumnKind::Date:
        return "date";
    }
    return "str";
}

std::optional<int64_t> ParseInteger(const std::string& field) {
    int64_t value = 0;
    const char* end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, value);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

std::optional<double> ParseReal(const std::string& field) {
    double value = 0;
    const char* end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, value);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

template <typename T> py::array_t<T> ToArray(const std::vector<T>& values) {
    py::array_t<T> array(static_cast<py::ssize_t>(values.size()));
    std::copy(values.begin(), values.end(), array.mutable_data());
    return array;
}

py::array_t<bool> ToArray(const std::vector<bool>& values) {
    py::array_t<bool> array(static_cast<py::ssize_t>(values.size()));
    bool* data = array.mutable_data();
    for (size_t i = 0; i < values.size(); ++i)
        data[i] = values[i];
    return array;
}

} // namespace

std::optional<int64_t> DateTextDays(const std::string& text) {
    const std::optional<SessionDate> date = ReadSessionDate(text);
    if (!date)
        return std::nullopt;
    const std::chrono::year_month_day day{std::chrono::year(date->year),
                                          std::chrono::month(static_cast<unsigned>(date->month)),
                                          std::chrono::day(static_cast<unsigned>(date->day))};
    return std::chrono::sys_days(day).time_since_epoch().count();
}

CColumn::CColumn(std::string name, ColumnKind kind, size_t rows)
    : name_(std::move(name)), kind_(kind) {
    missing_.reserve(rows);
    if (kind == ColumnKind::Text)
        texts_.reserve(rows);
    else if (kind == ColumnKind::Real)
        reals_.reserve(rows);
    else
        integers_.reserve(rows);
}

void CColumn::AddText(const std::optional<std::string>& text) {
    texts_.push_back(text);
    missing_.push_back(!text);
}

void CColumn::AddInteger(std::optional<int64_t> value) {
    integers_.push_back(value.value_or(0));
    missing_.push_back(!value);
}

void CColumn::AddReal(std::optional<double> value) {
    reals_.push_back(value.value_or(std::numeric_limits<double>::quiet_NaN()));
    missing_.push_back(!value);
}

void CColumn::AddDate(std::optional<int64_t> days) {
    AddInteger(days);
}

void CColumn::AddField(const std::string& field) {
    if (field.empty() && kind_ != ColumnKind::Real) {
        kind_ == ColumnKind::Text ? AddText(std::nullopt) : AddInteger(std::nullopt);
        return;
    }
    switch (kind_) {
    case ColumnKind::Text:
        AddText(field);
        break;
    case ColumnKind::Integer:
    case ColumnKind::Boolean:
        AddInteger(ParseInteger(field));
        break;
    case ColumnKind::Real:
        AddReal(field.empty() ? std::nullopt : ParseReal(field));
        break;
    case ColumnKind::Date:
        AddDate(DateTextDays(field));
        break;
    }
}

py::tuple CColumn::ToPython() const {
    switch (kind_) {
    case ColumnKind::Text: {
        py::list values(texts_.size());
        for (size_t i = 0; i < texts_.size(); ++i) {
            if (texts_[i])
                values[i] = py::str(*texts_[i]);
            else
                values[i] = py::none();
        }
        return py::make_tuple(name_, KindName(kind_), values, py::none());
    }
    case ColumnKind::Real:
        return py::make_tuple(name_, KindName(kind_), ToArray(reals_), py::none());
    case ColumnKind::Integer:
    case ColumnKind::Boolean:
    case ColumnKind::Date:
        break;
    }
    return py::make_tuple(name_, KindName(kind_), ToArray(integers_), ToArray(missing_));
}

} // namespace mirado::python
