#include "records/PaneTexts.h"

#include "records/RecordLayout.h"
#include "records/RecordUnits.h"

namespace mirado {

namespace {

// Codes that are flagged even when the values are not valid.
constexpr int kInvalidPassCodes[] = {kResultIrregular, kResultDeflation, kResultAir, kResultLo};

} // namespace

std::string SpeciesText(int modelCode, int sampling) {
    switch (modelCode) {
    case kModelCodeA:
    case kModelCodeC:
        if (sampling == kInterval10ms)
            return "Other";
        return sampling == kInterval4ms ? "RAT" : "MOUSE";
    case kModelCodeB:
    case kModelCodeD:
        if (sampling == kInterval10ms)
            return "Other";
        return sampling == kInterval4ms ? "DOG" : "RABBIT/MONKEY";
    default:
        return "MS  " + std::to_string(sampling / kIntervalUnitsPerMs);
    }
}

int ShownResultCode(int resultCode, bool valid) {
    if (resultCode == kResultOk || valid)
        return resultCode;
    for (int code : kInvalidPassCodes)
        if (code == resultCode)
            return resultCode;
    return kResultOk;
}

} // namespace mirado
