// Allocation fault injection for out-of-memory tests: while armed, every
// allocation (the module's operator new, once the test binary replaces it,
// and the simulated desktop's GlobalAlloc) is counted, and the Nth fails.
// It also tracks the bytes live through operator new and their peak.
#ifndef NIREVO_TESTING_ALLOCATION_FAULTS_H_
#define NIREVO_TESTING_ALLOCATION_FAULTS_H_

#include <cstddef>

namespace nirevo::test {

class AllocationFaults {
 public:
  // Counts allocations from now on; the nth (from 1) fails. n = 0 counts
  // without failing.
  static void Arm(long n);
  static void Disarm();
  // Consulted by every counted allocation: true when it is to fail.
  static bool ShouldFail();
  static long failures();     // injected since Arm

  // While one lives, allocations are neither counted, failed nor measured:
  // for the simulated desktop's own bookkeeping, which stands for memory of
  // the system and of other processes.
  class Suspend {
   public:
    Suspend();
    ~Suspend();
    Suspend(const Suspend&) = delete;
    Suspend& operator=(const Suspend&) = delete;
  };
  static bool suspended();

  // Bytes live through the replaced operator new, and their peak since
  // ResetPeak.
  static void Allocated(std::size_t bytes);
  static void Freed(std::size_t bytes);
  static std::size_t live_bytes();
  static std::size_t peak_bytes();
  static void ResetPeak();
};

}  // namespace nirevo::test

#endif  // NIREVO_TESTING_ALLOCATION_FAULTS_H_
