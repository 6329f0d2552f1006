#pragma once
// A folder of the fuzz run's own for the files a target writes: in memory where the
// system offers it (saves sync to disk), made on first use and removed with everything
// in it when the run ends.

#include <string>

namespace mirado {

// The folder's path, without a trailing slash; prefix names it ("mirado-fuzz-edit").
// Aborts when no folder can be made. Every call returns the folder of the first one.
const std::string& FuzzWorkFolder(const char* prefix);

} // namespace mirado
