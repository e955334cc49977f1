// Replacements for parts of the static C++ runtime that the DLL cannot reach
// but would otherwise carry. Every exception is caught at the exported
// boundary, so what a host sees does not change. What goes: the runtime's
// default terminate handler, which demangles and prints the name of an
// uncaught exception (bringing the demangler and a printf engine with
// floating-point conversion), and its reports of impossible string lengths
// and indices, which bring the standard exception classes and a second
// std::string instantiation.
#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void ThrowBadAlloc() { throw std::bad_alloc(); }

}  // namespace

// The default terminate handler: ends the process without a report, since a
// DLL has no console to print to.
namespace __gnu_cxx {
[[noreturn]] void __verbose_terminate_handler();
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

// What the library's containers call on a length or index they cannot serve:
// each ends the request as exhausted memory does, with the fixed 500 answer.
namespace std {
void __throw_bad_alloc() { ThrowBadAlloc(); }
void __throw_bad_array_new_length() { ThrowBadAlloc(); }
void __throw_length_error(const char*) { ThrowBadAlloc(); }
void __throw_logic_error(const char*) { ThrowBadAlloc(); }
void __throw_out_of_range(const char*) { ThrowBadAlloc(); }
void __throw_out_of_range_fmt(const char*, ...) { ThrowBadAlloc(); }
}  // namespace std
