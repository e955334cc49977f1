// The SAORI/1.0 texts that both the parser and the evaluator write.
#ifndef NIREVO_INTERFACE_PROTOCOL_TEXT_H_
#define NIREVO_INTERFACE_PROTOCOL_TEXT_H_

#include <string_view>

namespace nirevo {

// The protocol name and version that every response names.
inline constexpr std::string_view kProtocol = "SAORI/1.0";

// The fixed answer when there is no module object or memory ran out
// (39 bytes).
inline constexpr std::string_view kInternalServerErrorAnswer =
    "SAORI/1.0 500 Internal Server Error\r\n\r\n";

}  // namespace nirevo

#endif  // NIREVO_INTERFACE_PROTOCOL_TEXT_H_
