#pragma once
// The bundled sample recordings: one fixed list of file names and generator options,
// so that the committed samples can be regenerated bit for bit.

#include "records/synth/SynthOptions.h"

#include <string>
#include <vector>

namespace mirado {

struct SampleFile {
    std::string name;
    SynthOptions options;
};

const std::vector<SampleFile>& BundledSamples();

// Writes every bundled sample into folder; false with a message in error on failure.
bool WriteBundledSamples(const std::string& folder, std::string& error);

} // namespace mirado
