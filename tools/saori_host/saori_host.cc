#include "saori_host.h"

#include <cstring>

namespace saori {
namespace {

template <typename Function>
Function Lookup(HMODULE library, Names names, const char* plain, const char* underscored) {
  FARPROC entry = GetProcAddress(library, plain);
  if (entry == nullptr && names == Names::kPlainThenUnderscored) {
    entry = GetProcAddress(library, underscored);
  }
  return reinterpret_cast<Function>(reinterpret_cast<void*>(entry));
}

// A fixed block is its own handle, and locking it gives its own address.
bool IsFixedBlock(HGLOBAL block) {
  if (GlobalHandle(block) != block) return false;
  void* address = GlobalLock(block);
  GlobalUnlock(block);
  return address == block;
}

HGLOBAL BlockWith(std::string_view text, std::size_t extra) {
  HGLOBAL block = GlobalAlloc(GMEM_FIXED, text.size() + extra);
  if (block == nullptr) return nullptr;
  if (!text.empty()) std::memcpy(block, text.data(), text.size());
  if (extra != 0) static_cast<char*>(block)[text.size()] = '\0';
  return block;
}

}  // namespace

Module::Module(const std::string& path, Names names) {
  char full[MAX_PATH] = {};
  char* file = nullptr;
  if (GetFullPathNameA(path.c_str(), MAX_PATH, full, &file) == 0 || file == nullptr) {
    error_ = "bad module path: " + path;
    return;
  }
  directory_.assign(full, static_cast<std::size_t>(file - full));
  library_ = LoadLibraryA(full);
  if (library_ == nullptr) {
    error_ = "cannot load " + std::string(full) + " (error " + std::to_string(GetLastError()) + ")";
    return;
  }
  load_ = Lookup<LoadFn>(library_, names, "load", "_load");
  request_ = Lookup<RequestFn>(library_, names, "request", "_request");
  unload_ = Lookup<UnloadFn>(library_, names, "unload", "_unload");
  if (load_ == nullptr || request_ == nullptr || unload_ == nullptr) {
    error_ = "not a SAORI module: load, request or unload missing";
  }
}

Module::~Module() {
  if (loaded_) Unload();
  if (library_ != nullptr) FreeLibrary(library_);
}

int Module::Load(std::string_view directory) {
  loaded_ = true;
  return load_(HandOver(BlockWith(directory, 0)), static_cast<long>(directory.size()));
}

std::optional<std::string> Module::Request(std::string_view text, bool extra_zero) {
  return RequestBlock(BlockWith(text, extra_zero ? 1 : 0), static_cast<long>(text.size()));
}

std::optional<std::string> Module::RequestBlock(HGLOBAL block, long length) {
  HGLOBAL answer = request_(HandOver(block), &length);
  last_length_ = length;
  if (answer == nullptr) return std::nullopt;
  if (!IsFixedBlock(answer)) answers_were_fixed_blocks_ = false;
  std::string response(static_cast<const char*>(answer), static_cast<std::size_t>(length));
  GlobalFree(answer);
  return response;
}

int Module::Unload() {
  loaded_ = false;
  return unload_();
}

std::string ExecuteRequest(const std::string* arguments, std::size_t count,
                           std::string_view security_level, std::string_view sender) {
  std::string text = "EXECUTE SAORI/1.0\r\nCharset: Shift_JIS\r\nSender: ";
  text.append(sender).append("\r\nSecurityLevel: ").append(security_level).append("\r\n");
  for (std::size_t i = 0; i < count; ++i) {
    text += "Argument" + std::to_string(i) + ": " + arguments[i] + "\r\n";
  }
  return text + "\r\n";
}

int StatusOf(std::string_view response) {
  constexpr std::string_view kPrefix = "SAORI/1.0 ";
  if (response.substr(0, kPrefix.size()) != kPrefix || response.size() < kPrefix.size() + 3) {
    return 0;
  }
  int status = 0;
  for (char c : response.substr(kPrefix.size(), 3)) {
    if (c < '0' || c > '9') return 0;
    status = status * 10 + (c - '0');
  }
  return status;
}

}  // namespace saori
