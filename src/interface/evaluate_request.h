// Request evaluation: decides whether the caller is served, runs the method,
// and writes the SAORI/1.0 response text.
#ifndef NIREVO_INTERFACE_EVALUATE_REQUEST_H_
#define NIREVO_INTERFACE_EVALUATE_REQUEST_H_

#include <cstdint>
#include <string>

#include "interface/module_object.h"
#include "interface/tmmap.h"
#include "platform/platform.h"

namespace nirevo {

// The caller's security level, from the first "SecurityLevel" header.
enum class SecurityLevel : std::int32_t { kLocal = 1, kUnknown = 2, kExternal = 3 };

// True when `level` is served under `security_policy`: policy 0 serves every
// level, policy 3 only Local, any other policy Local and Unknown.
bool CheckSecurityLevel(std::int32_t security_policy, SecurityLevel level);

// Answers the whole response: status line, the headers set by the command
// (plus "Charset" and "Sender") in byte-wise order of their names, each only
// when its value is not empty, and the closing empty line. Reading a header
// the request lacks adds it, empty, to `headers`.
std::string EvaluateRequest(platform::Platform& platform,
                            const TNS_PitaroANI& module,
                            const std::string& method, RequestHeaders& headers);

}  // namespace nirevo

#endif  // NIREVO_INTERFACE_EVALUATE_REQUEST_H_
