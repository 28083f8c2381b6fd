// The system's local time (the C library's rules, daylight saving included).
#pragma once

#include <ctime>

namespace lumivar {

inline bool ToLocal(std::time_t t, std::tm& out) {
#ifdef _WIN32
    return localtime_s(&out, &t) == 0;
#else
    return localtime_r(&t, &out) != nullptr;
#endif
}

inline std::tm LocalTime(std::time_t t) {
    std::tm tm{};
    ToLocal(t, tm);
    return tm;
}

}  // namespace lumivar
