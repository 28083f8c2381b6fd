// Background jobs: on the one worker thread, and the outcome posted back to the main window.
#include <memory>

#include "win32/Win32Ports.h"

namespace lumivar {

void Win32Background::Run(std::function<void()> work, std::function<void()> done) {
    const HWND hwnd = m_owner.Handle();
    // Exit does not wait on the network. A message to a window that is gone is refused, and
    // then its call is simply dropped.
    m_worker.Post([hwnd, work = std::move(work), done = std::move(done)]() mutable {
        work();
        auto call = std::make_unique<std::function<void()>>(std::move(done));
        if (PostMessageW(hwnd, WM_BACKGROUND_DONE, 0, LPARAM(call.get()))) call.release();
    });
}

void Win32Background::Deliver(LPARAM call) {
    std::unique_ptr<std::function<void()>> done(reinterpret_cast<std::function<void()>*>(call));
    (*done)();
}

}  // namespace lumivar
