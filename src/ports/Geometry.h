// Rectangles, sizes, colours and the few Windows constants the core speaks in.
#pragma once

// Pixels laid out for 96 DPI, at another DPI.
constexpr int ScaleForDpi(int px, int dpi) { return (px * dpi + 48) / 96; }

#include <cstdint>

namespace lumivar {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

struct Size {
    int cx = 0, cy = 0;
    bool operator==(const Size&) const = default;
};

using Colorref = uint32_t;  // 0x00BBGGRR
constexpr Colorref Rgb(int r, int g, int b) { return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16; }

// The Windows values, for the core; a Windows source has them from <windows.h>.
#ifndef AW_HIDE
constexpr uint32_t AW_HOR_POSITIVE = 0x1, AW_VER_POSITIVE = 0x4, AW_VER_NEGATIVE = 0x8,
                   AW_CENTER = 0x10, AW_HIDE = 0x10000, AW_BLEND = 0x80000;
#endif
#ifndef SND_ASYNC
constexpr uint32_t SND_ASYNC = 0x1, SND_NOWAIT = 0x2000, SND_FILENAME = 0x20000;
#endif
#ifndef IDOK
constexpr int IDOK = 1, IDCANCEL = 2;
#endif

}  // namespace lumivar
