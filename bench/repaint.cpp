// The rest screen's repaint, counted on the fake shell: every rectangle the core invalidates
// during one rest, as a share of the screen per second. Text is measured by the fake painter
// (10 px a byte, 20 px high), not by real fonts.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "app/MainDlg.h"
#include "fake/FakeShell.h"

using namespace lumivar;

int main() {
    setenv("TZ", "Asia/Shanghai", 1);
    tzset();
    constexpr int kRestSeconds = 60;
    fake::FakeShell shell;
    shell.files.files["C:\\Program Files\\Lumivar\\Lumivar.ini"] =
        "[Lumivar2003]\r\nAUTOCHECKNEWVERSION=0\r\n[SCREEN]\r\nWORKTIME=1\r\nBREAKTIME=" +
        std::to_string(kRestSeconds) + "\r\n";
    auto dlg = std::make_unique<CMainDlg>(shell.ports());
    // Each invalidation is painted as Windows would, so the core learns its real text boxes.
    shell.onTimer = [&](int id) {
        dlg->OnTimer(id);
        if (!shell.window.invalidated.empty()) {
            fake::FakePainter painter;
            dlg->OnPaint(painter);
        }
    };
    dlg->OnInitDialog();
    shell.Advance(10);
    shell.Advance(60 * 1000 - 1);  // the working period, up to the moment the rest begins
    shell.window.invalidated.clear();
    shell.Advance(1);
    if (shell.window.show != fake::FakeWindow::Show::FullScreen) {
        std::fprintf(stderr, "no rest began\n");
        return 1;
    }
    const Rect screen = shell.window.WindowRect();
    const double screenArea = double(screen.Width()) * screen.Height();
    long long opening = 0;
    for (const Rect& r : shell.window.invalidated) opening += (long long)r.Width() * r.Height();
    long long area = 0;
    int seconds = 0;
    // The seconds after the opening paint, while the rest lasts.
    while (shell.window.show == fake::FakeWindow::Show::FullScreen && seconds < kRestSeconds + 5) {
        shell.window.invalidated.clear();
        shell.Advance(1000);
        if (shell.window.show != fake::FakeWindow::Show::FullScreen) break;
        for (const Rect& r : shell.window.invalidated) area += (long long)r.Width() * r.Height();
        ++seconds;
    }
    std::printf("screen %dx%d; opening paint %.1f%%; then %d s: %.0f px/s = %.2f%% of the screen per second\n",
                screen.Width(), screen.Height(), 100.0 * opening / screenArea, seconds,
                seconds ? double(area) / seconds : 0.0, seconds ? 100.0 * area / seconds / screenArea : 0.0);
    return 0;
}
