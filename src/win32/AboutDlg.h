// The About dialog, run from the resources of a given module (the program's own
// in normal use; the tests take them from the built program file).
#pragma once

#include <windows.h>

#include <string>

namespace lumivar {

// Modal, without a parent; returns the id that closed it, or -1 if it could not open.
INT_PTR RunAboutDialog(HINSTANCE module, const std::string& currentVersion, const std::string& latestVersion);

}  // namespace lumivar
