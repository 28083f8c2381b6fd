#pragma once

#include <ctime>
#include <string>

namespace lumivar {

// "hh:mm:ss" of the seconds still shown; hours are not limited to two digits.
std::string CountdownText(int restLeft);
// Local time "%H:%M:%S".
std::string ClockText(std::time_t t);

}  // namespace lumivar
