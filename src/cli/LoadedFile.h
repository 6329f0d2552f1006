#pragma once
// One measurement file as the batch commands see it: the record after Load, whether it
// loaded, the message of a failed load, and whether any byte could be read at all.

#include "records/AdData.h"

#include <memory>
#include <string>
#include <vector>

namespace mirado {

inline constexpr int kModelUnknownCode = 4;

struct LoadedFile {
    std::string path;
    CAdData record;
    int modelLetterCode = kModelUnknownCode; // as Load reports it
    bool ok = false;
    bool anythingRead = false; // false when the file could not be opened or read
    std::string error;         // the message after the path; empty on success
};

std::unique_ptr<LoadedFile> LoadMeasurementFile(const std::string& path);
// The same for a file whose bytes were already read whole.
std::unique_ptr<LoadedFile> LoadMeasurementBytes(const std::string& path,
                                                 const std::vector<uint8_t>& bytes);

// "A" for models 0, 2 and 4; "E" for 1 and 3.
const char* VariantName(int model);

} // namespace mirado
