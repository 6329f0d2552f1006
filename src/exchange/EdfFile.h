#pragma once
// The bytes of an EDF+ file (continuous, "EDF+C"): the header record, then one data record
// holding every signal and an "EDF Annotations" signal with the time-stamped annotation
// lists. The helpers make the header's ASCII fields and the annotations' time texts.

#include <cstdint>
#include <string>
#include <vector>

namespace mirado {

struct EdfSignal {
    std::string label;                    // up to 16 ASCII characters
    std::string transducer;               // up to 80
    std::string unit;                     // up to 8
    std::string physicalMin, physicalMax; // exact decimal texts of up to 8 characters
    int digitalMin = -32768, digitalMax = 32767;
    std::vector<int16_t> samples; // the data record's samples
};

struct EdfAnnotation {
    std::string onset; // "+0", "+5.432", "-0.02": seconds from the start
    std::string text;  // UTF-8
};

struct EdfContents {
    std::string patient;       // the local patient identification, up to 80 ASCII characters
    std::string recording;     // the local recording identification, up to 80
    std::string startDate;     // "dd.mm.yy"
    std::string startTime;     // "hh.mm.ss"
    std::string recordSeconds; // the one data record's duration, up to 8 characters
    std::vector<EdfSignal> signals;
    std::vector<EdfAnnotation> annotations;
};

// The whole file: the signals, then the annotation signal whose list starts with the data
// record's time-keeping entry.
std::string EdfBytes(const EdfContents& contents);

// A text as one subfield of an identification field: printable ASCII only. Full-width
// forms become their ASCII letters, any other character outside ASCII (and a control
// character) becomes '?', spaces become '_', and an empty text is "X" (unknown).
std::string EdfSubfield(const std::string& utf8);

// A count of 0.1 ms units as seconds with at most four decimals and no trailing zeros:
// 54320 gives "5.432", 80000 gives "8".
std::string TenthMillisecondsAsSeconds(int64_t units);

// The time of a sample as an annotation onset: "+" or "-", then the seconds.
std::string EdfOnset(int sample, int sampleInterval);

// An annotation text with the bytes the lists use as separators (and other control
// characters) replaced by spaces and invalid UTF-8 by U+FFFD.
std::string EdfAnnotationText(const std::string& utf8);

} // namespace mirado
