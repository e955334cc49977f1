// Request parsing: the text of one SAORI/1.0 request becomes its method and
// a request header multimap, which the evaluator turns into the response.
#ifndef NIREVO_INTERFACE_HANDLE_REQUEST_H_
#define NIREVO_INTERFACE_HANDLE_REQUEST_H_

#include <string>

#include "interface/tmmap.h"
#include "platform/platform.h"

namespace nirevo {

// Splits `text` into the method (the request line up to " SAORI/") and the
// header lines up to the first empty one, after an entry "ORIGINAL" that holds
// every byte of `text`. Lines end at LF; the reader stops at a zero byte.
void ParseRequest(std::string text, std::string* method, RequestHeaders* headers);

// Answers the response text for `text`, every byte of the host's request.
// Without a current module object the answer is kInternalServerErrorAnswer.
std::string HandleRequest(platform::Platform& platform, std::string text);

}  // namespace nirevo

#endif  // NIREVO_INTERFACE_HANDLE_REQUEST_H_
