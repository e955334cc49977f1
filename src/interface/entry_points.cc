// The three exported functions and the transfer of text across the boundary
// with the host. Nothing thrown inside the module crosses into the host.
#include "interface/entry_points.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "interface/handle_request.h"
#include "interface/module_object.h"
#include "interface/protocol_text.h"
#include "platform/owned.h"

namespace nirevo {
namespace {

// Takes over the host's block and copies its text; the block is freed
// whether or not the copy succeeds.
std::string TakeBlockText(platform::Platform& platform, void* block,
                          std::int32_t length) {
  platform::OwnedBlock owned(platform, block);
  if (block == nullptr || length <= 0) return std::string();
  return std::string(static_cast<const char*>(block),
                     static_cast<std::size_t>(length));
}

void* GiveBlock(platform::Platform& platform, std::string_view text,
                std::int32_t* length) {
  // The length travels as a signed 32-bit count.
  if (text.size() > static_cast<std::size_t>(INT32_MAX)) {
    text = kInternalServerErrorAnswer;
  }
  void* block = platform.GlobalAlloc(text.size());
  if (block == nullptr) {
    *length = 0;
    return nullptr;
  }
  if (!text.empty()) std::memcpy(block, text.data(), text.size());
  *length = static_cast<std::int32_t>(text.size());
  return block;
}

}  // namespace

}  // namespace nirevo

extern "C" {

std::int32_t load(void* block, std::int32_t length) {
  using namespace nirevo;
  platform::Platform& platform = platform::Platform::Current();
  try {
    std::string directory = TakeBlockText(platform, block, length);
    auto module = std::make_unique<TNS_PitaroANI>();
    module->directory = std::move(directory);
    SetCurrentModule(std::move(module));
    return 1;
  } catch (...) {
    return 0;
  }
}

std::int32_t unload() {
  nirevo::SetCurrentModule(nullptr);
  return 1;
}

void* request(void* block, std::int32_t* length) {
  using namespace nirevo;
  platform::Platform& platform = platform::Platform::Current();
  if (length == nullptr) {
    platform::OwnedBlock given(platform, block);
    return nullptr;
  }
  std::string response;
  std::string_view answer;
  try {
    response = HandleRequest(platform, TakeBlockText(platform, block, *length));
    answer = response;
  } catch (...) {
    answer = kInternalServerErrorAnswer;
  }
  return GiveBlock(platform, answer, length);
}

}  // extern "C"
