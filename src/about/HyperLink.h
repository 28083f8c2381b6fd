// The parts of the hyperlink control that need no window system: how it fits
// itself to its text, how it falls back to the registered browser, what it says
// when a link cannot be opened.
#pragma once

#include <string>
#include <string_view>

#include "ports/Geometry.h"

namespace lumivar {

inline constexpr Colorref kLinkNormal = Rgb(0, 0, 238);
inline constexpr Colorref kLinkVisited = Rgb(85, 26, 139);

// Static control styles that decide where the text sits inside the control.
inline constexpr unsigned kStaticCenter = 0x1;        // SS_CENTER
inline constexpr unsigned kStaticRight = 0x2;         // SS_RIGHT
inline constexpr unsigned kStaticCenterImage = 0x200; // SS_CENTERIMAGE

// The control's rectangle shrunk (or grown) to the text, keeping the edge or
// centre that the alignment style anchors.
Rect FitToText(Rect rc, Size text, unsigned style);

// The command line that opens `target` with the program registered for web pages:
// the registered command up to its "%1" placeholder, a blank, then the target.
std::string FallbackCommandLine(std::string_view registeredCommand, std::string_view target);

// The message shown when neither the shell nor the browser could open a link;
// `code` is the shell's result.
std::string OpenErrorText(int code);

Colorref LinkTextColor(bool hover, bool visited, Colorref hoverColor);

}  // namespace lumivar
