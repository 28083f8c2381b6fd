#include "fake/FakeShell.h"

namespace lumivar::fake {

void FakeShell::Advance(uint64_t ms) {
    const uint64_t target = clock.ms + ms;
    for (;;) {
        int next = 0;
        uint64_t due = target + 1;
        for (const auto& [id, t] : window.timers)
            if (t.due < due) {
                due = t.due;
                next = id;
            }
        if (next == 0) break;
        if (due > clock.ms) clock.ms = due;
        Timer& t = window.timers[next];
        t.due = clock.ms + (t.period < 10 ? 10 : t.period);  // periodic until killed
        if (onTimer) onTimer(next);
        if (!background.manual) background.Finish();
    }
    if (clock.ms < target) clock.ms = target;
}

}  // namespace lumivar::fake
