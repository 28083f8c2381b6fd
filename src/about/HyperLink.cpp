#include "about/HyperLink.h"

namespace lumivar {

Rect FitToText(Rect rc, Size text, unsigned style) {
    if (style & kStaticCenterImage) {
        const int dy = (rc.Height() - text.cy) / 2;
        rc.top += dy;
        rc.bottom -= dy;
    } else {
        rc.bottom = rc.top + text.cy;
    }
    if (style & kStaticCenter) {
        const int dx = (rc.Width() - text.cx) / 2;
        rc.left += dx;
        rc.right -= dx;
    } else if (style & kStaticRight) {
        rc.left = rc.right - text.cx;
    } else {
        rc.right = rc.left + text.cx;
    }
    return rc;
}

std::string FallbackCommandLine(std::string_view registeredCommand, std::string_view target) {
    // A plain byte search is safe in GBK and UTF-8 alike: no lead or trail byte
    // of either encoding is below 0x40, so '"', '%' and '1' always stand alone.
    std::string_view cmd = registeredCommand;
    size_t at = cmd.find("\"%1\"");
    if (at == std::string_view::npos) at = cmd.find("%1");
    if (at != std::string_view::npos) cmd = cmd.substr(0, at);
    std::string line(cmd);
    line += ' ';
    line += target;
    return line;
}

std::string OpenErrorText(int code) {
    const char* text = nullptr;
    switch (code) {
    case 0: text = "The operating system is out\nof memory or resources."; break;
    case 2: text = "The specified file was not found."; break;
    case 3: text = "The specified path was not found."; break;
    case 5: text = "The operating system denied\naccess to the specified file."; break;
    case 8: text = "There was not enough memory to complete the operation."; break;
    case 11: text = "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."; break;
    case 26: text = "A sharing violation occurred. "; break;
    case 27: text = "The filename association is\nincomplete or invalid."; break;
    case 28: text = "The DDE transaction could not\nbe completed because the request timed out."; break;
    case 29: text = "The DDE transaction failed."; break;
    case 30:
        text = "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.";
        break;
    case 31: text = "There is no application associated\nwith the given filename extension."; break;
    case 32: text = "The specified dynamic-link library was not found."; break;
    }
    const std::string prefix = "Unable to open hyperlink:\n\n";
    if (text) return prefix + text;
    return prefix + "Unknown Error (" + std::to_string(code) + ") occurred.";
}

Colorref LinkTextColor(bool hover, bool visited, Colorref hoverColor) {
    if (hover) return hoverColor;
    return visited ? kLinkVisited : kLinkNormal;
}

}  // namespace lumivar
