// The module as the end-to-end tests build it a second time: its Win32
// platform wrapped in fault injection, so that a real run under Wine can see
// any call fail as it can on Windows (OpenProcess refused, a short read, a
// full disk), which Wine as root never shows by itself. Never shipped.
#include <cstdint>

#include "platform/win32_platform.h"
#include "testing/fault_injection.h"

namespace nirevo::platform {
namespace {

test::FaultInjection& Faults() {
  static test::FaultInjection faults(TheWin32Platform());
  return faults;
}

}  // namespace

Platform& Platform::Current() { return Faults(); }

}  // namespace nirevo::platform

extern "C" {

// Makes platform call number `n`, counted from 1 from now on, fail; 0: none.
void nirevo_fail_call(std::int32_t n) { nirevo::platform::Faults().FailCall(n); }

// 1 when the chosen call was reached since nirevo_fail_call, else 0.
std::int32_t nirevo_failure_injected() {
  return nirevo::platform::Faults().failure_injected() ? 1 : 0;
}

}  // extern "C"
