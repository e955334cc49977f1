#include "win32_arguments.h"

#include <type_traits>

#include "import_rewrite.h"

namespace e2e {
namespace {

std::vector<SendWait>& Waits() {
  static std::vector<SendWait> waits;
  return waits;
}

LRESULT WINAPI NotedSendMessageTimeoutA(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                        UINT flags, UINT timeout_ms, PDWORD_PTR result) {
  Waits().push_back({flags, timeout_ms});
  return SendMessageTimeoutA(window, message, wparam, lparam, flags, timeout_ms, result);
}

BOOL WINAPI ShortReadProcessMemory(HANDLE process, LPCVOID address, LPVOID buffer, SIZE_T bytes,
                                   SIZE_T* bytes_read) {
  SIZE_T moved = 0;
  const BOOL ok = ReadProcessMemory(process, address, buffer, bytes > 0 ? bytes - 1 : 0, &moved);
  if (bytes_read != nullptr) *bytes_read = moved;
  return ok;
}

// Each stands in for the function whose import it replaces.
static_assert(std::is_same_v<decltype(&NotedSendMessageTimeoutA), decltype(&::SendMessageTimeoutA)>);
static_assert(std::is_same_v<decltype(&ShortReadProcessMemory), decltype(&::ReadProcessMemory)>);

}  // namespace

bool NoteSendWaits(HMODULE module) {
  return RewriteImport(module, "USER32.dll", "SendMessageTimeoutA",
                       reinterpret_cast<ULONG_PTR>(&NotedSendMessageTimeoutA));
}
const std::vector<SendWait>& SendWaits() { return Waits(); }
void ForgetSendWaits() { Waits().clear(); }

bool ShortenReads(HMODULE module, bool short_reads) {
  return RewriteImport(module, "KERNEL32.dll", "ReadProcessMemory",
                       short_reads ? reinterpret_cast<ULONG_PTR>(&ShortReadProcessMemory)
                                   : reinterpret_cast<ULONG_PTR>(&ReadProcessMemory));
}

}  // namespace e2e
