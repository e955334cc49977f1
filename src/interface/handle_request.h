// Request parsing: the text of one SAORI/1.0 request becomes its method and
// a request header multimap, which the evaluator turns into the response.
#ifndef NIREVO_INTERFACE_HANDLE_REQUEST_H_
#define NIREVO_INTERFACE_HANDLE_REQUEST_H_

#include <string>
#include <string_view>

#include "interface/tmmap.h"
#include "platform/platform.h"

namespace nirevo {

// The protocol name and version that every response names.
inline constexpr std::string_view kProtocol = "SAORI/1.0";

// The fixed answer when there is no module object or memory ran out
// (39 bytes).
inline constexpr std::string_view kInternalServerErrorAnswer =
    "SAORI/1.0 500 Internal Server Error\r\n\r\n";

// Splits `text` into the method (the request line up to " SAORI/") and the
// header lines up to the first empty one, after an entry "ORIGINAL" that holds
// every byte of `text`. Lines end at LF; the reader stops at a zero byte.
void ParseRequest(std::string text, std::string* method, RequestHeaders* headers);

// Answers the response text for `text`, every byte of the host's request.
// Without a current module object the answer is kInternalServerErrorAnswer.
std::string HandleRequest(platform::Platform& platform, std::string text);

}  // namespace nirevo

#endif  // NIREVO_INTERFACE_HANDLE_REQUEST_H_
