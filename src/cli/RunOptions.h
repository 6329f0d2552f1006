#pragma once
// Options of the commands that read many files: how many threads they use and which values
// a reading takes. Declared once here for every command that takes them.

#include "document/DominantValues.h"

namespace CLI {
class App;
} // namespace CLI

namespace mirado {

// Adds --jobs N (1 to 1024; default the number of cores). The output does not depend on it.
void AddJobsOption(CLI::App& command, unsigned& jobs);

// Adds --analysis s|sm: the values of the system's own analysis as the viewer shows them
// with Analysis S or Analysis S-M, instead of the stored ones (the default).
void AddAnalysisOption(CLI::App& command, ValueSource& source);

} // namespace mirado
