#include "base/AppName.h"

namespace lumivar {

std::string AppNameFromPath(std::string_view path) {
    if (const std::size_t slash = path.find_last_of("\\/"); slash != std::string_view::npos)
        path.remove_prefix(slash + 1);
    // Only the last dot starts the extension; a dot in a folder was cut off above.
    if (const std::size_t dot = path.rfind('.'); dot != std::string_view::npos) path = path.substr(0, dot);
    return std::string(path);
}

}  // namespace lumivar
