#pragma once
// ComPtr: the one owner of a COM interface pointer. It releases what it holds, and
// put() hands a creating call the place to store a new pointer in.
#include <objbase.h>

#include <utility>

namespace quencfg {

template <typename Interface>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ~ComPtr() { reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      reset();
      pointer_ = std::exchange(other.pointer_, nullptr);
    }
    return *this;
  }

  [[nodiscard]] Interface* get() const noexcept { return pointer_; }
  Interface* operator->() const noexcept { return pointer_; }
  Interface& operator*() const noexcept { return *pointer_; }
  explicit operator bool() const noexcept { return pointer_ != nullptr; }

  // Releases what is held and gives the place for a new pointer.
  [[nodiscard]] Interface** put() noexcept {
    reset();
    return &pointer_;
  }
  [[nodiscard]] void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

  void reset() noexcept {
    if (pointer_ != nullptr) std::exchange(pointer_, nullptr)->Release();
  }

 private:
  Interface* pointer_ = nullptr;
};

// CoCreateInstance of an in-process server; empty on failure.
template <typename Interface>
ComPtr<Interface> CreateComObject(REFCLSID type, REFIID interfaceId) {
  ComPtr<Interface> object;
  if (FAILED(::CoCreateInstance(type, nullptr, CLSCTX_INPROC_SERVER, interfaceId, object.put_void()))) object.reset();
  return object;
}

}  // namespace quencfg
