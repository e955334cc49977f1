// The module's exported interface: a SAORI/1.0 host calls `load` once with
// the module's directory, `request` once per request, and `unload` last.
// Text crosses in fixed global memory blocks (C heap blocks off Windows).
#ifndef NIREVO_INTERFACE_ENTRY_POINTS_H_
#define NIREVO_INTERFACE_ENTRY_POINTS_H_

#include <cstdint>

extern "C" {

// Takes over `block` (freed here) holding `length` bytes of the module's
// directory and makes a new module object current, destroying an earlier
// one. A null block or a negative length is an empty directory. Answers 1;
// 0 only when memory ran out, leaving the module as it was.
std::int32_t load(void* block, std::int32_t length);

// Destroys the current module object, if any. Answers 1.
std::int32_t unload();

// Takes over `block` (freed here) holding *length bytes of request text and
// answers a new block, now the host's, holding the response; *length becomes
// its size. A null block or negative length is an empty request. When memory
// runs out the response is the fixed "500 Internal Server Error" text; when
// even the answer block cannot be had, answers null and sets *length to 0.
// With a null `length` nothing can be answered: the block is freed and null
// answered.
void* request(void* block, std::int32_t* length);

}  // extern "C"

#endif  // NIREVO_INTERFACE_ENTRY_POINTS_H_
