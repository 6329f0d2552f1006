#pragma once
// The bundled sample recordings: one fixed list of file names and generator options,
// so that the committed samples can be regenerated bit for bit.

#include "files/Result.h"
#include "records/synth/SynthOptions.h"

#include <string>
#include <vector>

namespace mirado {

struct SampleFile {
    std::string name;
    SynthOptions options;
};

const std::vector<SampleFile>& BundledSamples();

// Writes every bundled sample into folder; fails with a message on the first failure.
Result<void> WriteBundledSamples(const std::string& folder);

} // namespace mirado
