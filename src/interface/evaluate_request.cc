// The evaluator between the parsed request and the command dispatcher.
#include "interface/evaluate_request.h"

#include <string_view>

#include "interface/protocol_text.h"
#include "player/dispatch_command.h"

namespace nirevo {
namespace {

SecurityLevel LevelOf(RequestHeaders& headers) {
  const std::string& value = headers["SecurityLevel"];
  if (value == "Local") return SecurityLevel::kLocal;
  if (value == "External") return SecurityLevel::kExternal;
  return SecurityLevel::kUnknown;
}

std::string_view StatusText(int status) {
  switch (status) {
    case 200: return "200 OK";
    case 204: return "204 No Content";
    case 400: return "400 Bad Request";
    default: return "500 Internal Server Error";
  }
}

int Evaluate(platform::Platform& platform, const TNS_PitaroANI& module,
             const std::string& method, RequestHeaders& headers,
             ResponseHeaders& response) {
  if (!CheckSecurityLevel(module.security_policy, LevelOf(headers))) return 400;
  if (method == "EXECUTE") {
    if (headers.count("Argument0") == 0) return 400;
    return player::DispatchCommand(platform, module, headers, response);
  }
  if (method == "GET Version") return 200;
  return 400;
}

}  // namespace

bool CheckSecurityLevel(std::int32_t security_policy, SecurityLevel level) {
  switch (security_policy) {
    case 0: return true;
    case 3: return level == SecurityLevel::kLocal;
    default: return level != SecurityLevel::kExternal;
  }
}

std::string EvaluateRequest(platform::Platform& platform,
                            const TNS_PitaroANI& module,
                            const std::string& method, RequestHeaders& headers) {
  ResponseHeaders response;
  int status = Evaluate(platform, module, method, headers, response);
  response["Charset"] = "Shift_JIS";
  response["Sender"] = "nirevo";

  const std::string_view status_text = StatusText(status);
  std::size_t size = kProtocol.size() + 1 + status_text.size() + 4;
  for (const auto& [name, value] : response) {
    if (!value.empty()) size += name.size() + value.size() + 4;
  }
  std::string text;
  text.reserve(size);
  text.append(kProtocol).append(" ").append(status_text).append("\r\n");
  for (const auto& [name, value] : response) {
    if (value.empty()) continue;
    text.append(name).append(": ").append(value).append("\r\n");
  }
  text.append("\r\n");
  return text;
}

}  // namespace nirevo
