#include "testing/test_host.h"

#include <cstring>

#include "interface/entry_points.h"
#include "platform/native_platform.h"

namespace nirevo::test {
namespace {

void* BlockWith(SimDesktop& desktop, std::string_view text) {
  void* block = desktop.HostAlloc(text.size());
  if (!text.empty()) std::memcpy(block, text.data(), text.size());
  return block;
}

}  // namespace

TestHost::TestHost(SimDesktop& desktop, std::string_view directory)
    : TestHost(desktop, desktop, directory) {}

TestHost::TestHost(SimDesktop& desktop, platform::Platform& platform, std::string_view directory)
    : desktop_(desktop), previous_(platform::SetCurrentPlatform(&platform)) {
  Load(directory);
}

TestHost::~TestHost() {
  unload();
  platform::SetCurrentPlatform(previous_);
}

std::int32_t TestHost::Load(std::string_view directory) {
  return load(BlockWith(desktop_, directory), static_cast<std::int32_t>(directory.size()));
}

std::string TestHost::Request(std::string_view text) {
  last_length_ = static_cast<std::int32_t>(text.size());
  void* answer = request(BlockWith(desktop_, text), &last_length_);
  if (answer == nullptr) return "<null>";
  std::string response(static_cast<const char*>(answer), static_cast<std::size_t>(last_length_));
  desktop_.GlobalFree(answer);
  return response;
}

std::string TestHost::Execute(std::string_view argument0) {
  return Request(ExecuteText({{"SecurityLevel", "Local"}, {"Argument0", std::string(argument0)}}));
}

std::string TestHost::Execute(std::string_view argument0, std::string_view argument1) {
  return Request(ExecuteText({{"SecurityLevel", "Local"},
                              {"Argument0", std::string(argument0)},
                              {"Argument1", std::string(argument1)}}));
}

std::string ExecuteText(const std::vector<std::pair<std::string, std::string>>& headers) {
  std::string text = "EXECUTE SAORI/1.0\r\nCharset: Shift_JIS\r\nSender: test\r\n";
  for (const auto& [name, value] : headers) text += name + ": " + value + "\r\n";
  return text + "\r\n";
}

}  // namespace nirevo::test
