// Texts that the string table of the program also carries, by their string ids.
#pragma once

#include <string>

namespace lumivar {

inline constexpr const char* kProductName = "眸安星";
inline constexpr const char* kStrNoUpdateYet = "尚未检查是否有更新版本";        // IDS_NO_UPDATE_YET
inline constexpr const char* kStrIsLatest = "恭喜!您当前所用即为最新版本!";      // IDS_IS_LATEST
inline constexpr const char* kStrHomepageB = "http://lumivar.github.io/";        // IDS_HOMEPAGE_B
inline constexpr const char* kStrHomepageA = "http://www.lumivar.com.cn/lumivar"; // IDS_HOMEPAGE_A
inline constexpr const char* kStrUpdateFileB = "http://lumivar.github.io/update.ini";              // IDS_UPDATE_FILE_B
inline constexpr const char* kStrUpdateFileA = "http://www.lumivar.com.cn/lumivar/update.ini";     // IDS_UPDATE_FILE_A
inline constexpr const char* kStrEmail = "mailto:lumivar@lumivar.com.cn";       // IDS_EMAIL

// What every number box of the dialogs says when its value is out of range.
inline std::string RangeMessage(int low, int high) {
    return "Please enter an integer between " + std::to_string(low) + " and " + std::to_string(high) + ".";
}

// A number box's check: within [low, high], or false with the message above.
inline bool InRange(long long value, int low, int high, std::string& message) {
    if (value >= low && value <= high) return true;
    message = RangeMessage(low, high);
    return false;
}

}  // namespace lumivar
