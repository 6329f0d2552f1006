#pragma once
// Synthetic measurement files: the physiological model's channels (CSignalModel) put into
// the measurement-file layout with a plausible header, the true pressures in the stored
// result block and the true beat positions, optionally damaged on purpose.

#include "records/synth/SynthOptions.h"

#include <string>

namespace mirado {

// The file's bytes and the truth behind them. The options must pass CheckSynthOptions.
SynthRecording GenerateRecording(const SynthOptions& options);

// Generates and writes the file; false with a message in error when writing fails.
bool WriteRecording(const std::string& path, const SynthOptions& options, std::string& error);

// Writes bytes to a file; false with a message in error on failure.
bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);

} // namespace mirado
