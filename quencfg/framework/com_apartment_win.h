#pragma once
// COM for one thread, for the scope's lifetime: the shell and picture calls of the
// worker threads expect it.
#include <objbase.h>

namespace quencfg {

class ComApartment {
 public:
  ComApartment() noexcept : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (initialised_) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialised_;
};

}  // namespace quencfg
