// Owners for what the shell opens, creates or selects: each is given back once, when its
// owner goes, however the function that made it leaves.
#pragma once

#include <windows.h>

#include <utility>

namespace lumivar {

// One handle of a kind; Traits says what "none" is and how it is given back.
template <class Traits>
class Unique {
public:
    using Type = typename Traits::Type;

    Unique() = default;
    explicit Unique(Type h) : m_h(h) {}
    ~Unique() { Reset(); }
    Unique(Unique&& other) noexcept : m_h(other.Release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;

    Type Get() const { return m_h; }
    explicit operator bool() const { return Traits::Valid(m_h); }

    // For the calls that hand a new one back through a pointer: whatever was held goes first.
    Type* Put() {
        Reset();
        return &m_h;
    }

    // Hands the handle over without giving it back.
    Type Release() { return std::exchange(m_h, Traits::None()); }

    void Reset(Type h = Traits::None()) {
        const Type old = std::exchange(m_h, h);
        if (Traits::Valid(old)) Traits::Close(old);
    }

private:
    Type m_h = Traits::None();
};

// A handle that is null when there is none, given back by `close`.
template <class T, auto close>
struct NullHandleTraits {
    using Type = T;
    static Type None() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static void Close(Type h) { close(h); }
};

using RegKey = Unique<NullHandleTraits<HKEY, RegCloseKey>>;

// Files, processes, threads, tokens. CreateFile fails with INVALID_HANDLE_VALUE, the others with
// null: neither is closed.
struct KernelHandleTraits {
    using Type = HANDLE;
    static Type None() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CloseHandle(h); }
};
using KernelHandle = Unique<KernelHandleTraits>;

// A font, brush, bitmap... the shell created. Give it back only once no DC has it selected.
template <class T>
using GdiObject = Unique<NullHandleTraits<T, DeleteObject>>;
// From CreateCompatibleDC.
using MemoryDC = Unique<NullHandleTraits<HDC, DeleteDC>>;
// A menu loaded or created, not one a window owns (that goes with its window).
using Menu = Unique<NullHandleTraits<HMENU, DestroyMenu>>;
using Library = Unique<NullHandleTraits<HMODULE, FreeLibrary>>;

// A window's DC from GetDC.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : m_hwnd(hwnd), m_dc(GetDC(hwnd)) {}
    ~WindowDC() {
        if (m_dc) ReleaseDC(m_hwnd, m_dc);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

// An object selected into a DC for a while; what was there before is put back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (m_old && m_old != HGDI_ERROR) SelectObject(m_dc, m_old);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// A COM interface pointer that holds one reference.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            m_p = std::exchange(other.m_p, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // For the calls that hand back a new reference: whatever was held is released first.
    T** Put() {
        Reset();
        return &m_p;
    }

    void Reset() {
        if (T* p = std::exchange(m_p, nullptr)) p->Release();
    }

private:
    T* m_p = nullptr;
};

}  // namespace lumivar
