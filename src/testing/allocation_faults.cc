#include "testing/allocation_faults.h"

namespace nirevo::test {
namespace {

bool armed = false;
long fail_at = 0;
long counted = 0;
long injected = 0;
std::size_t live = 0;
std::size_t peak = 0;
int suspensions = 0;

}  // namespace

void AllocationFaults::Arm(long n) {
  armed = true;
  fail_at = n;
  counted = 0;
  injected = 0;
}

void AllocationFaults::Disarm() { armed = false; }

AllocationFaults::Suspend::Suspend() { ++suspensions; }
AllocationFaults::Suspend::~Suspend() { --suspensions; }
bool AllocationFaults::suspended() { return suspensions > 0; }

bool AllocationFaults::ShouldFail() {
  if (!armed || suspensions > 0) return false;
  ++counted;
  if (counted != fail_at) return false;
  ++injected;
  return true;
}

long AllocationFaults::failures() { return injected; }

void AllocationFaults::Allocated(std::size_t bytes) {
  live += bytes;
  if (live > peak) peak = live;
}
void AllocationFaults::Freed(std::size_t bytes) { live -= bytes; }
std::size_t AllocationFaults::live_bytes() { return live; }
std::size_t AllocationFaults::peak_bytes() { return peak; }
void AllocationFaults::ResetPeak() { peak = live; }

}  // namespace nirevo::test
