#pragma once
// The values a Dominant export row takes from one record, in one place for the document
// (the current file) and for readings made outside it (the study summary): the pressures
// from the stored result or from an analysis record, the validity rule, HalfRound to
// mmHg, the stored heart rate and the texts.

#include "document/TextExport.h"

namespace mirado {

class CAdData;
class CPressureAnalysis;

// What the accessors answer while no record exists.
inline constexpr const char* kNeutralDate = "00/00/00";
inline constexpr const char* kNeutralTime = "00:00:00";
inline constexpr int kNeutralSampling = 1;

// Which values a reading takes, as the viewer shows them in each mode: the values stored
// in the file; the system's own analysis without a valid mean (marker M, MBP and DBP
// shown as absent); the system's own analysis with it.
enum class ValueSource { Stored, AnalysisS, AnalysisSM };

// Raw pressures in half mmHg.
struct DominantPressures {
    int sbp = 0, mbp = 0, dbp = 0;
};

// (SBP, MBP, DBP) of the analysis record when one is given, else the stored ones (zeros
// without a record); MBP and DBP become 0 when the values are not valid.
DominantPressures DominantPressuresOf(const CAdData* data, CPressureAnalysis* analysis, bool valid);

// The columns of a Dominant row: texts as CP932 bytes ("00/00/00" and "00:00:00" without
// a record), the sampling in whole milliseconds, the stored heart rate and the pressures
// converted with HalfRound.
CExportFields ExportFieldsOf(const CAdData* data, const DominantPressures& pressures);

// A record's Dominant row as the viewer shows it for the source. analysis is the record
// the file's model selects, already analysed from data; it is not used for Stored and
// may then be null. A record that failed to load gives its stored values: the viewer
// never shows an analysis for it.
CExportFields ExportFieldsFor(const CAdData& data, bool loaded, CPressureAnalysis* analysis,
                              ValueSource source);

} // namespace mirado
