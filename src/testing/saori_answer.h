// What the module's answers look like, written once for every test that reads
// one: the native tests, the fuzzer and the end-to-end suite under Wine.
#ifndef NIREVO_TESTING_SAORI_ANSWER_H_
#define NIREVO_TESTING_SAORI_ANSWER_H_

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace nirevo::test {

// The expected response: status line, "Charset", the given headers, "Sender"
// (in byte-wise order of the names), the empty line.
inline std::string Answer(std::string_view status,
                          std::map<std::string, std::string> headers = {}) {
  headers["Charset"] = "Shift_JIS";
  headers["Sender"] = "nirevo";
  std::string text = "SAORI/1.0 " + std::string(status) + "\r\n";
  for (const auto& [name, value] : headers) text += name + ": " + value + "\r\n";
  return text + "\r\n";
}

// What a failing platform call may turn "getplaylist" into when the player
// holds `titles`: the player not found or not answering (400), or every title
// but one, for each title that may be the one that could not be read.
inline std::vector<std::string> PlaylistFailureAnswers(const std::vector<std::string>& titles) {
  std::vector<std::string> answers = {Answer("400 Bad Request")};
  for (std::size_t missing = 0; missing < titles.size(); ++missing) {
    std::map<std::string, std::string> headers = {{"Result", std::to_string(titles.size())}};
    for (std::size_t i = 0; i < titles.size(); ++i) {
      if (i != missing) headers["Value" + std::to_string(i)] = titles[i];
    }
    answers.push_back(Answer("200 OK", headers));
  }
  return answers;
}

// A response the module could have written: the fixed 500 answer, or one of
// its status lines with "Charset" first, "Sender" after it, and the empty line
// at the end. (Header values are the player's bytes and may hold anything, so
// the lines between are not parsed.)
inline bool IsWellFormedResponse(std::string_view response) {
  if (response == "SAORI/1.0 500 Internal Server Error\r\n\r\n") return true;
  std::string_view rest;
  for (std::string_view status : {"200 OK", "204 No Content", "400 Bad Request"}) {
    const std::string line = "SAORI/1.0 " + std::string(status) + "\r\nCharset: Shift_JIS\r\n";
    if (response.substr(0, line.size()) == line) rest = response.substr(line.size());
  }
  constexpr std::string_view kEnd = "\r\n\r\n";
  return rest.find("Sender: nirevo\r\n") != std::string_view::npos && rest.size() >= kEnd.size() &&
         rest.substr(rest.size() - kEnd.size()) == kEnd;
}

}  // namespace nirevo::test

#endif  // NIREVO_TESTING_SAORI_ANSWER_H_
