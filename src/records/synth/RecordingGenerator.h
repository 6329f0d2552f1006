#pragma once
// Synthetic measurement files: the physiological model's channels (CSignalModel) put into
// the measurement-file layout with a plausible header, the true pressures in the stored
// result block and the true beat positions, optionally damaged on purpose.

#include "files/Result.h"
#include "records/synth/SynthOptions.h"

#include <string>

namespace mirado {

// The file's bytes and the truth behind them. The options must pass CheckSynthOptions.
SynthRecording GenerateRecording(const SynthOptions& options);

// Generates and writes the file; fails with a message when writing fails.
Result<void> WriteRecording(const std::string& path, const SynthOptions& options);

// Writes bytes to a file; fails with a message on failure.
Result<void> WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace mirado
