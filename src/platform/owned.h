// Move-only owners of the platform's handles: whatever the module acquires
// through the seam is released by the owner's destructor on every path out.
#ifndef NIREVO_PLATFORM_OWNED_H_
#define NIREVO_PLATFORM_OWNED_H_

#include <utility>

#include "platform/platform.h"

namespace nirevo::platform {

// Traits name the empty value and the release call of one kind of handle.
template <typename Traits>
class Owned {
 public:
  using Value = typename Traits::Value;

  Owned(Platform& platform, Value value) : platform_(&platform), value_(value) {}
  ~Owned() { Release(); }

  Owned(Owned&& other) noexcept
      : platform_(other.platform_), value_(other.Take()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) {
      Release();
      platform_ = other.platform_;
      value_ = other.Take();
    }
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  Value get() const { return value_; }
  explicit operator bool() const { return value_ != Traits::Empty(); }

  // Gives up ownership without releasing.
  Value Take() { return std::exchange(value_, Traits::Empty()); }

 private:
  void Release() {
    if (*this) Traits::Release(*platform_, Take());
  }

  Platform* platform_;
  Value value_;
};

struct ProcessHandleTraits {
  using Value = KernelHandle;
  static Value Empty() { return nullptr; }
  static void Release(Platform& p, Value v) { p.CloseHandle(v); }
};

struct SnapshotTraits {
  using Value = KernelHandle;
  static Value Empty() { return InvalidHandleValue(); }
  static void Release(Platform& p, Value v) { p.CloseHandle(v); }
};

struct LibraryTraits {
  using Value = ModuleHandle;
  static Value Empty() { return nullptr; }
  static void Release(Platform& p, Value v) { p.FreeLibrary(v); }
};

struct BlockTraits {
  using Value = BlockHandle;
  static Value Empty() { return nullptr; }
  static void Release(Platform& p, Value v) { p.GlobalFree(v); }
};

struct FileTraits {
  using Value = FileHandle;
  static Value Empty() { return nullptr; }
  static void Release(Platform& p, Value v) { p.CloseTextFile(v); }
};

using OwnedProcess = Owned<ProcessHandleTraits>;
using OwnedSnapshot = Owned<SnapshotTraits>;
using OwnedLibrary = Owned<LibraryTraits>;
using OwnedBlock = Owned<BlockTraits>;
using OwnedFile = Owned<FileTraits>;

}  // namespace nirevo::platform

#endif  // NIREVO_PLATFORM_OWNED_H_
