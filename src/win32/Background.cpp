// Background jobs: a thread each, and the outcome posted back to the main window.
#include <memory>
#include <thread>

#include "win32/Win32Ports.h"

namespace lumivar {

void Win32Background::Run(std::function<void()> work, std::function<void()> done) {
    const HWND hwnd = m_owner.Handle();
    // Detached: exit does not wait on the network. A message to a window that is gone is
    // refused, and then its call is simply dropped.
    std::thread([hwnd, work = std::move(work), done = std::move(done)]() mutable {
        work();
        auto call = std::make_unique<std::function<void()>>(std::move(done));
        if (PostMessageW(hwnd, WM_BACKGROUND_DONE, 0, LPARAM(call.get()))) call.release();
    }).detach();
}

void Win32Background::Deliver(LPARAM call) {
    std::unique_ptr<std::function<void()>> done(reinterpret_cast<std::function<void()>*>(call));
    (*done)();
}

}  // namespace lumivar
