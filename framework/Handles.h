// Owners of the system's references and handles, so that an early return cannot leak.
#pragma once

#include <windows.h>

// A COM interface pointer that owns one reference and releases it when it goes.
template <class Interface> class ComRef {
public:
    ComRef() = default;
    // Takes over a reference the caller holds.
    explicit ComRef(Interface* object) : object(object) {}
    ComRef(ComRef&& other) noexcept : object(other.object) { other.object = nullptr; }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() { Reset(); }

    Interface* operator->() const { return object; }
    Interface* Get() const { return object; }
    explicit operator bool() const { return object != nullptr; }
    // Releases the reference held and gives the place for a new one, as an out parameter.
    Interface** Put() {
        Reset();
        return &object;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }
    void Reset() {
        if (object) object->Release();
        object = nullptr;
    }

private:
    Interface* object = nullptr;
};

// A movable global memory block, freed when it goes unless it was handed over.
class GlobalBlock {
public:
    explicit GlobalBlock(HGLOBAL block) : block(block) {}
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;
    ~GlobalBlock() {
        if (block) GlobalFree(block);
    }

    operator HGLOBAL() const { return block; }
    // The block now belongs to someone else (the clipboard).
    void HandOver() { block = nullptr; }

private:
    HGLOBAL block;
};

// The bytes of a global memory block, locked while this lives; null when it cannot be locked.
class GlobalLocked {
public:
    explicit GlobalLocked(HGLOBAL block)
        : block(block), bytes(block ? GlobalLock(block) : nullptr) {}
    GlobalLocked(const GlobalLocked&) = delete;
    GlobalLocked& operator=(const GlobalLocked&) = delete;
    ~GlobalLocked() {
        if (bytes) GlobalUnlock(block);
    }

    void* Bytes() const { return bytes; }

private:
    HGLOBAL block;
    void* bytes;
};

// The clipboard, open for `owner` while this lives; false when another program holds it.
class ClipboardOpen {
public:
    explicit ClipboardOpen(HWND owner) : open(OpenClipboard(owner) != FALSE) {}
    ClipboardOpen(const ClipboardOpen&) = delete;
    ClipboardOpen& operator=(const ClipboardOpen&) = delete;
    ~ClipboardOpen() {
        if (open) CloseClipboard();
    }

    explicit operator bool() const { return open; }

private:
    bool open;
};

// A GDI object (brush, pen, font) that the program created, deleted when it goes or when
// another one takes its place.
template <class Object> class GdiObject {
public:
    GdiObject() = default;
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() { Reset(); }

    void Reset(Object object = nullptr) {
        if (handle) DeleteObject(handle);
        handle = object;
    }
    operator Object() const { return handle; }

private:
    Object handle = nullptr;
};

// A device context of a window, released when it goes.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window(window), dc(GetWindowDC(window)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc) ReleaseDC(window, dc);
    }

    operator HDC() const { return dc; }

private:
    HWND window;
    HDC dc;
};
