#pragma once

namespace lumivar {

// Runs the hidden main window modally until the program exits.
int RunMainWindow();

}  // namespace lumivar
