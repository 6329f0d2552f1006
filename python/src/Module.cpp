// The compiled part of the Python package `mirado`: reading one recording, and the
// table export and the study summary of many as typed columns. The package's __init__.py
// wraps these into the public functions and makes the DataFrames.

#include "Recording.h"
#include "Study.h"
#include "Tables.h"
#include "records/TextEncoding.h"
#include "records/WaveCodec.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cmath>
#include <limits>

namespace py = pybind11;

namespace mirado::python {

namespace {

// A path or a message holding one, as Python shows file names: its bytes decoded with the file
// system's encoding (undecodable bytes kept as surrogates, so the str names the same file).
py::str FsText(const std::string& path) {
    return py::reinterpret_steal<py::str>(
        PyUnicode_DecodeFSDefaultAndSize(path.data(), static_cast<Py_ssize_t>(path.size())));
}

py::array_t<int16_t> Int16Array(const int16_t* values, size_t count) {
    py::array_t<int16_t> array(static_cast<py::ssize_t>(count));
    std::copy_n(values, count, array.mutable_data());
    return array;
}

py::dict MethodDict(const MethodResults& results, const char* ownKey) {
    py::dict dict;
    dict["sbp_raw"] = results.sbpRaw;
    dict["mbp_raw"] = results.mbpRaw;
    dict["dbp_raw"] = results.dbpRaw;
    dict["marker_s"] = results.markerS;
    dict["marker_m"] = results.markerM;
    dict["marker_d"] = results.markerD;
    dict["hr"] = results.heartRate;
    dict["code"] = results.code;
    dict["flag_text"] = results.flagText;
    dict["beats"] = py::cast(std::vector<int>(results.beats.begin(), results.beats.end()));
    dict["fitted_span"] = results.fittedSpan;
    dict[ownKey] = results.ownValue;
    return dict;
}

py::dict StoredDict(const CAdData& data) {
    int16_t sbp = 0, mbp = 0, dbp = 0, s = 0, m = 0, d = 0;
    data.GetStoredPressures(sbp, mbp, dbp);
    data.GetStoredMarkers(s, m, d);
    const int16_t* beats = data.GetBeatPositions();
    py::dict dict;
    dict["sbp_raw"] = sbp;
    dict["mbp_raw"] = mbp;
    dict["dbp_raw"] = dbp;
    dict["sbp"] = HalfRound(sbp);
    dict["mbp"] = HalfRound(mbp);
    dict["dbp"] = HalfRound(dbp);
    dict["marker_s"] = s;
    dict["marker_m"] = m;
    dict["marker_d"] = d;
    dict["hr"] = data.GetStoredHeartRate();
    dict["beats"] = py::cast(std::vector<int>(beats, beats + BeatCount(beats)));
    return dict;
}

py::array_t<double> CuffMmHgArray(const Recording& recording) {
    py::array_t<double> array(static_cast<py::ssize_t>(recording.cuffMmHg.size()));
    double* values = array.mutable_data();
    for (size_t i = 0; i < recording.cuffMmHg.size(); ++i) {
        const std::optional<int> value = recording.cuffMmHg[i];
        values[i] = value ? *value : std::numeric_limits<double>::quiet_NaN();
    }
    return array;
}

py::array_t<double> TimeArray(int sampleInterval) {
    py::array_t<double> array(kSampleCount);
    double* values = array.mutable_data();
    // The interval is in tenths of a millisecond.
    for (int i = 0; i < kSampleCount; ++i)
        values[i] = static_cast<double>(i) * sampleInterval / 10000.0;
    return array;
}

class CRecordingObject {
public:
    explicit CRecordingObject(Recording recording) : recording_(std::move(recording)) {}

    const CAdData& Data() const { return *recording_.file.data; }
    const Recording& Get() const { return recording_; }

private:
    Recording recording_;
};

py::str Text(const std::string& cp932) {
    return py::str(Cp932ToUtf8(cp932));
}

void RaiseRecordingError(const py::object& errorType, const std::string& path,
                         const std::string& message) {
    py::object error = errorType(FsText(path + message));
    error.attr("path") = FsText(path);
    error.attr("message") = FsText(message);
    PyErr_SetObject(errorType.ptr(), error.ptr());
    throw py::error_already_set();
}

void DeclareRecording(py::module_& m) {
    using R = CRecordingObject;
    py::class_<R>(m, "Recording",
                  "One recording: identification texts, stored results, channels and both "
                  "methods' results.")
        .def_property_readonly(
            "path", [](const R& r) { return FsText(r.Get().file.path); }, "The file's path.")
        .def_property_readonly(
            "date", [](const R& r) { return Text(r.Data().GetDate()); }, "Date text (YY/MM/DD).")
        .def_property_readonly(
            "time", [](const R& r) { return Text(r.Data().GetTime()); }, "Time text (HH:MM:SS).")
        .def_property_readonly(
            "animal_no", [](const R& r) { return Text(r.Data().GetAnimalNo()); }, "Animal number.")
        .def_property_readonly(
            "study_no", [](const R& r) { return Text(r.Data().GetStudyNo()); }, "Study number.")
        .def_property_readonly(
            "weight", [](const R& r) { return Text(r.Data().GetWeight()); }, "Weight text.")
        .def_property_readonly(
            "sex_age", [](const R& r) { return Text(r.Data().GetSexAge()); }, "Sex and age text.")
        .def_property_readonly(
            "comment", [](const R& r) { return Text(r.Data().GetComment()); }, "Comment text.")
        .def_property_readonly(
            "model", [](const R& r) { return r.Get().model; },
            "Model code after the file-name rule (1 and 3 use method E).")
        .def_property_readonly(
            "sampling", [](const R& r) { return r.Data().GetSampleInterval(); },
            "Sample interval in tenths of a millisecond.")
        .def_property_readonly(
            "sample_interval_s", [](const R& r) { return r.Data().GetSampleInterval() / 10000.0; },
            "Sample interval in seconds.")
        .def_property_readonly(
            "sense", [](const R& r) { return r.Data().GetSense(); }, "Sensitivity setting.")
        .def_property_readonly(
            "valid", [](const R& r) { return r.Data().IsValid(); },
            "Whether the stored MBP, DBP and marker M are valid.")
        .def_property_readonly(
            "stored", [](const R& r) { return StoredDict(r.Data()); },
            "The stored results: sbp_raw, mbp_raw, dbp_raw (half mmHg), sbp, mbp, dbp (mmHg), "
            "marker_s, marker_m, marker_d, hr, beats.")
        .def_property_readonly(
            "markers",
            [](const R& r) {
                int16_t s = 0, mm = 0, d = 0;
                r.Data().GetStoredMarkers(s, mm, d);
                return py::make_tuple(s, mm, d);
            },
            "The stored markers S, M and D as sample indices.")
        .def_property_readonly(
            "beats",
            [](const R& r) {
                const int16_t* beats = r.Data().GetBeatPositions();
                return Int16Array(beats, static_cast<size_t>(BeatCount(beats)));
            },
            "The stored beat positions (sample indices) as an int16 array.")
        .def_property_readonly(
            "cuff", [](const R& r) { return Int16Array(r.Data().GetChannel1(), kSampleCount); },
            "The decoded cuff channel (half mmHg) as an int16 array.")
        .def_property_readonly(
            "pulse", [](const R& r) { return Int16Array(r.Data().GetChannel2(), kSampleCount); },
            "The decoded optical pulse channel as an int16 array.")
        .def_property_readonly(
            "cuff_mmhg", [](const R& r) { return CuffMmHgArray(r.Get()); },
            "The cuff pressure in whole mmHg at each sample as the viewer reads it out (the mean "
            "of four samples, halved and rounded); NaN for the last three samples.")
        .def_property_readonly(
            "time_s", [](const R& r) { return TimeArray(r.Data().GetSampleInterval()); },
            "Each sample's time from the start of the recording in seconds.")
        .def_property_readonly(
            "inflation_pressure", [](const R& r) { return r.Get().inflationPressure; },
            "The cuff's inflation pressure as mirado-cli info reports it.")
        .def(
            "method_a", [](const R& r) { return MethodDict(r.Get().methodA, "optical_base"); },
            "Method A's results as mirado-cli info reports them under method_a.")
        .def(
            "method_e", [](const R& r) { return MethodDict(r.Get().methodE, "fall_per_beat"); },
            "Method E's results as mirado-cli info reports them under method_e.")
        .def("__repr__", [](const R& r) {
            return py::str("<mirado.Recording {!r} animal {!r}>")
                .format(FsText(r.Get().file.path), Text(r.Data().GetAnimalNo()));
        });
}

} // namespace

PYBIND11_MODULE(_mirado, m) {
    m.doc() = "Compiled part of the mirado package.";
    static py::exception<std::runtime_error> recordingError(m, "RecordingError");
    recordingError.doc() =
        "A recording that could not be read; .path is the file, .message the reason.";
    DeclareRecording(m);
    m.def(
        "read",
        [](const std::string& path) {
            Recording recording;
            {
                py::gil_scoped_release released;
                recording = ReadRecording(path);
            }
            if (!recording.file.Loaded())
                RaiseRecordingError(recordingError, path, recording.file.message);
            return CRecordingObject(std::move(recording));
        },
        py::arg("path"));
    m.def("_table_columns", &TableColumns, py::arg("paths"), py::arg("source"), py::arg("profile"),
          py::arg("jobs"));
    m.def("_summary_columns", &SummaryColumns, py::arg("paths"), py::arg("source"),
          py::arg("profile"), py::arg("level"), py::arg("jobs"));
    m.def("_group_level_columns", &GroupLevelColumns, py::arg("paths"), py::arg("source"),
          py::arg("profile"), py::arg("groups"), py::arg("baseline"), py::arg("jobs"));
    m.def("_reading_level_columns", &ReadingLevelColumns, py::arg("paths"), py::arg("source"),
          py::arg("profile"), py::arg("groups"), py::arg("jobs"));
    m.def("_stats_columns", &StatsColumns, py::arg("paths"), py::arg("source"), py::arg("profile"),
          py::arg("groups"), py::arg("control"), py::arg("measure"), py::arg("jobs"));
}

} // namespace mirado::python
