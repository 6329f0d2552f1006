#pragma once
// The one Qt application of a test or benchmark run.

#include <QApplication>

namespace mirado::test {

// Creates the application on first use and returns it. It runs offscreen unless a
// platform is set, so nothing appears on a screen, and it is never destroyed: Qt's own
// objects may already be gone when statics are torn down.
QApplication& EnsureQtApp();

} // namespace mirado::test
