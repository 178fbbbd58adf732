#pragma once
// Owning holders for handles, move-only so that nothing is closed twice: one template,
// a traits struct for each kind of handle (kernel objects, files, modules, windows,
// menus, device notifications, global memory; the GDI objects' traits are in gdi_win.h).
#include <windows.h>

#include <utility>

namespace quencfg {

template <typename Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Type handle) noexcept : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  [[nodiscard]] Type get() const noexcept { return handle_; }
  [[nodiscard]] bool valid() const noexcept { return Traits::IsValid(handle_); }
  explicit operator bool() const noexcept { return valid(); }
  [[nodiscard]] Type release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
  void reset(Type handle = Traits::Invalid()) noexcept {
    if (Traits::IsValid(handle_)) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  Type handle_ = Traits::Invalid();
};

// Handles whose "none" value is null (threads, events, mutexes).
struct KernelHandleTraits {
  using Type = HANDLE;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Type h) noexcept { ::CloseHandle(h); }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

// Handles whose "none" value is INVALID_HANDLE_VALUE (files, device handles).
struct FileHandleTraits {
  using Type = HANDLE;
  static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Type h) noexcept { ::CloseHandle(h); }
};
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;

struct FindHandleTraits {
  using Type = HANDLE;
  static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Type h) noexcept { ::FindClose(h); }
};
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;

// Handles whose "none" value is null and that one call releases.
template <typename T, auto Release>
struct NullHandleTraits {
  using Type = T;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { Release(h); }
};
using UniqueModule = UniqueHandle<NullHandleTraits<HMODULE, &::FreeLibrary>>;
// A window that its holder destroys (for windows the framework does not wrap, such as
// tooltips).
using UniqueWindow = UniqueHandle<NullHandleTraits<HWND, &::DestroyWindow>>;
using UniqueMenu = UniqueHandle<NullHandleTraits<HMENU, &::DestroyMenu>>;
using UniqueHook = UniqueHandle<NullHandleTraits<HHOOK, &::UnhookWindowsHookEx>>;
using UniqueDeviceNotify = UniqueHandle<NullHandleTraits<HDEVNOTIFY, &::UnregisterDeviceNotification>>;
// A global memory block, as the stream and clipboard calls take them.
using UniqueGlobalMemory = UniqueHandle<NullHandleTraits<HGLOBAL, &::GlobalFree>>;

}  // namespace quencfg
