// Move-only owners for Win32 handles. Every handle the framework creates has
// exactly one of these as its owner, so no error path can leak or double-free
// one. Types that only borrow a handle say so in their name (…Ref / …View).
#pragma once

#include <windows.h>

#include <utility>

// Generic owner: Traits provides Invalid() and Close(h).
template <class H, class Traits>
class UniqueHandle {
 public:
  UniqueHandle() noexcept = default;
  explicit UniqueHandle(H h) noexcept : h_(h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }

  H get() const noexcept { return h_; }
  explicit operator bool() const noexcept { return valid(); }
  bool valid() const noexcept { return !Traits::IsEmpty(h_); }
  // Gives up ownership without closing.
  H release() noexcept { return std::exchange(h_, Traits::Invalid()); }
  // Closes the held handle (if any) and takes `h`.
  void reset(H h = Traits::Invalid()) noexcept {
    H old = std::exchange(h_, h);
    if (!Traits::IsEmpty(old)) Traits::Close(old);
  }

 private:
  H h_ = Traits::Invalid();
};

// ---- GDI objects (HBITMAP, HFONT, HBRUSH, HPEN, HRGN, HPALETTE) ----
template <class H>
struct GdiObjectTraits {
  static H Invalid() noexcept { return nullptr; }
  static bool IsEmpty(H h) noexcept { return h == nullptr; }
  static void Close(H h) noexcept { ::DeleteObject(h); }
};
template <class H>
using GdiObject = UniqueHandle<H, GdiObjectTraits<H>>;
using UniqueBitmap = GdiObject<HBITMAP>;
using UniqueFont = GdiObject<HFONT>;
using UniqueBrush = GdiObject<HBRUSH>;
using UniquePen = GdiObject<HPEN>;
using UniqueRgn = GdiObject<HRGN>;
using UniquePalette = GdiObject<HPALETTE>;

// ---- Memory DC (CreateCompatibleDC / CreateDC): DeleteDC ----
struct MemDCTraits {
  static HDC Invalid() noexcept { return nullptr; }
  static bool IsEmpty(HDC h) noexcept { return h == nullptr; }
  static void Close(HDC h) noexcept { ::DeleteDC(h); }
};
using UniqueMemDC = UniqueHandle<HDC, MemDCTraits>;

// A memory DC compatible with `ref` (0 = the screen).
inline UniqueMemDC CreateMemDC(HDC ref = nullptr) {
  return UniqueMemDC(::CreateCompatibleDC(ref));
}

// ---- Window / client DC (GetDC, GetWindowDC, GetDCEx): ReleaseDC with the
// window it came from ----
class UniqueWindowDC {
 public:
  UniqueWindowDC() noexcept = default;
  UniqueWindowDC(HWND wnd, HDC dc) noexcept : wnd_(wnd), dc_(dc) {}
  ~UniqueWindowDC() { reset(); }
  UniqueWindowDC(const UniqueWindowDC&) = delete;
  UniqueWindowDC& operator=(const UniqueWindowDC&) = delete;
  UniqueWindowDC(UniqueWindowDC&& o) noexcept
      : wnd_(std::exchange(o.wnd_, nullptr)), dc_(std::exchange(o.dc_, nullptr)) {}
  UniqueWindowDC& operator=(UniqueWindowDC&& o) noexcept {
    if (this != &o) {
      reset();
      wnd_ = std::exchange(o.wnd_, nullptr);
      dc_ = std::exchange(o.dc_, nullptr);
    }
    return *this;
  }
  // GetDC(wnd): client area; wnd 0 is the screen.
  static UniqueWindowDC Client(HWND wnd) { return UniqueWindowDC(wnd, ::GetDC(wnd)); }
  // GetWindowDC(wnd): whole window including the frame.
  static UniqueWindowDC Window(HWND wnd) { return UniqueWindowDC(wnd, ::GetWindowDC(wnd)); }

  HDC get() const noexcept { return dc_; }
  HWND window() const noexcept { return wnd_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }
  void reset() noexcept {
    if (dc_) ::ReleaseDC(wnd_, dc_);
    dc_ = nullptr;
    wnd_ = nullptr;
  }

 private:
  HWND wnd_ = nullptr;
  HDC dc_ = nullptr;
};

// ---- SelectObject scope: selects `obj` (a bitmap, font, brush or pen) into
// `dc` and puts the previous object back when it ends (or on Restore()).
// Does not own `obj`. Regions are not objects of this kind: use
// SelectClipRgn for them. ----
class SelectObjectScope {
 public:
  SelectObjectScope() noexcept = default;
  SelectObjectScope(HDC dc, HGDIOBJ obj) noexcept : dc_(dc) {
    old_ = (dc && obj) ? ::SelectObject(dc, obj) : nullptr;
    if (old_ == HGDI_ERROR) old_ = nullptr;
    if (!old_) dc_ = nullptr;  // nothing selected, nothing to restore
  }
  ~SelectObjectScope() { Restore(); }
  SelectObjectScope(const SelectObjectScope&) = delete;
  SelectObjectScope& operator=(const SelectObjectScope&) = delete;
  SelectObjectScope(SelectObjectScope&& o) noexcept
      : dc_(std::exchange(o.dc_, nullptr)), old_(std::exchange(o.old_, nullptr)) {}
  SelectObjectScope& operator=(SelectObjectScope&& o) noexcept {
    if (this != &o) {
      Restore();
      dc_ = std::exchange(o.dc_, nullptr);
      old_ = std::exchange(o.old_, nullptr);
    }
    return *this;
  }
  // True when the selection took place.
  explicit operator bool() const noexcept { return dc_ != nullptr; }
  HDC dc() const noexcept { return dc_; }
  HGDIOBJ previous() const noexcept { return old_; }
  void Restore() noexcept {
    if (dc_ && old_) ::SelectObject(dc_, old_);
    dc_ = nullptr;
    old_ = nullptr;
  }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

// ---- BeginPaint/EndPaint scope: the paint ends (and the update region is
// validated) however the painting code leaves, a throw included; otherwise
// every later WM_PAINT would find the same region invalid again. ----
class PaintScope {
 public:
  explicit PaintScope(HWND wnd) noexcept : wnd_(wnd), dc_(::BeginPaint(wnd, &ps_)) {}
  ~PaintScope() {
    if (dc_) ::EndPaint(wnd_, &ps_);
  }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const noexcept { return dc_; }
  const PAINTSTRUCT& paint() const noexcept { return ps_; }

 private:
  HWND wnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// ---- SaveDC/RestoreDC scope ----
class SaveDCScope {
 public:
  explicit SaveDCScope(HDC dc) noexcept : dc_(dc), id_(dc ? ::SaveDC(dc) : 0) {}
  ~SaveDCScope() {
    if (dc_ && id_) ::RestoreDC(dc_, id_);
  }
  SaveDCScope(const SaveDCScope&) = delete;
  SaveDCScope& operator=(const SaveDCScope&) = delete;

 private:
  HDC dc_;
  int id_;
};

// ---- Registry key: RegCloseKey. Predefined roots (HKEY_CURRENT_USER, ...)
// are never closed. ----
struct RegKeyTraits {
  static HKEY Invalid() noexcept { return nullptr; }
  static bool IsEmpty(HKEY h) noexcept { return h == nullptr; }
  static void Close(HKEY h) noexcept {
    // Predefined keys have values in 0x80000000..0x8000000F (sign-extended).
    auto v = reinterpret_cast<ULONG_PTR>(h) & 0xFFFFFFFFu;
    if (v >= 0x80000000u && v <= 0x8000000Fu) return;
    ::RegCloseKey(h);
  }
};
using UniqueRegKey = UniqueHandle<HKEY, RegKeyTraits>;

// ---- Find handle (FindFirstFileW): FindClose ----
struct FindHandleTraits {
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsEmpty(HANDLE h) noexcept { return h == INVALID_HANDLE_VALUE || h == nullptr; }
  static void Close(HANDLE h) noexcept { ::FindClose(h); }
};
using UniqueFindHandle = UniqueHandle<HANDLE, FindHandleTraits>;

// ---- Kernel HANDLE (files, events, threads, ...): CloseHandle. Both NULL
// and INVALID_HANDLE_VALUE count as empty. ----
struct KernelHandleTraits {
  static HANDLE Invalid() noexcept { return nullptr; }
  static bool IsEmpty(HANDLE h) noexcept { return h == nullptr || h == INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;

// ---- Icons (DestroyIcon) ----
struct IconTraits {
  static HICON Invalid() noexcept { return nullptr; }
  static bool IsEmpty(HICON h) noexcept { return h == nullptr; }
  static void Close(HICON h) noexcept { ::DestroyIcon(h); }
};
using UniqueIcon = UniqueHandle<HICON, IconTraits>;
