// The application's name, as message boxes are titled with it.
#pragma once

#include <string>
#include <string_view>

namespace lumivar {

// The program file's name without its folder and extension: a renamed copy
// goes by its new name.
std::string AppNameFromPath(std::string_view path);

}  // namespace lumivar
