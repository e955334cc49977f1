// Splits the request into lines: the request line gives the method, the
// header lines up to the first empty one fill the request header multimap.
#include "interface/handle_request.h"

#include <algorithm>

#include "interface/evaluate_request.h"
#include "interface/module_object.h"
#include "interface/protocol_text.h"

namespace nirevo {
namespace {

// Reads LF-ended lines; it sees the text only up to its first zero byte.
class LineReader {
 public:
  explicit LineReader(std::string_view text)
      : rest_(text.substr(0, text.find('\0'))) {}

  // Answers false at the end, when not a single byte or LF is left.
  bool Next(std::string_view* line) {
    if (rest_.empty()) return false;
    std::size_t end = rest_.find('\n');
    *line = rest_.substr(0, end);
    rest_ = end == std::string_view::npos ? std::string_view()
                                          : rest_.substr(end + 1);
    return true;
  }

 private:
  std::string_view rest_;
};

std::string_view MethodOf(std::string_view request_line) {
  return request_line.substr(0, request_line.find(" SAORI/"));
}

// Adds the header lines, stopping at the end of the text or at a line that
// is empty once a final CR is removed.
void ReadHeaders(LineReader& reader, RequestHeaders& headers) {
  std::string_view line;
  while (reader.Next(&line)) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) return;
    std::size_t colon = line.find(':');
    std::string_view key = line.substr(0, colon);
    std::size_t value_start = colon == std::string_view::npos ? 0 : colon + 1;
    value_start = std::min(line.find_first_not_of(' ', value_start), line.size());
    headers.emplace(std::string(key), std::string(line.substr(value_start)));
  }
}

}  // namespace

void ParseRequest(std::string text, std::string* method, RequestHeaders* headers) {
  // The lines are read from the "ORIGINAL" entry itself: the text is kept
  // once, and a multimap entry's value stays where it is.
  const std::string& original = headers->emplace("ORIGINAL", std::move(text))->second;
  LineReader reader(original);
  std::string_view request_line;
  reader.Next(&request_line);
  *method = MethodOf(request_line);
  ReadHeaders(reader, *headers);
}

std::string HandleRequest(platform::Platform& platform, std::string text) {
  const TNS_PitaroANI* module = CurrentModule();
  if (module == nullptr) return std::string(kInternalServerErrorAnswer);
  std::string method;
  RequestHeaders headers;
  ParseRequest(std::move(text), &method, &headers);
  return EvaluateRequest(platform, *module, method, headers);
}

}  // namespace nirevo
