// ParseTaskDate on any text and time of day: a date it accepts is that day, local time.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string_view>

#include "Check.h"
#include "tasks/TaskSchedule.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("TZ", "Asia/Shanghai", 1);  // as the unit tests run
    tzset();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int32_t hm[2] = {};
    const size_t head = size < sizeof hm ? size : sizeof hm;
    std::memcpy(hm, data, head);
    const std::string_view text(reinterpret_cast<const char*>(data) + head, size - head);

    std::time_t at = 0;
    if (!lumivar::ParseTaskDate(text, hm[0], hm[1], at)) return 0;
    std::time_t midnight = 0;
    FUZZ_CHECK(lumivar::ParseEditorDate(text, midnight));
    // Within the day, no daylight saving in this zone: the time is midnight plus the clock time.
    if (hm[0] >= 0 && hm[0] < 24 && hm[1] >= 0 && hm[1] < 60)
        FUZZ_CHECK(at - midnight == std::time_t(hm[0]) * 3600 + hm[1] * 60);
    std::tm local{};
    FUZZ_CHECK(localtime_r(&midnight, &local) && local.tm_year + 1900 >= 2002 && local.tm_year + 1900 <= 2038 &&
               local.tm_hour == 0 && local.tm_min == 0);
    return 0;
}
