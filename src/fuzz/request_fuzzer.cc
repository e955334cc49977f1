// Fuzzes the `request` boundary: the input is a request text, optionally
// followed by kPlayerMark and bytes that script the desktop — windows and
// their titles and image paths, the platform id, the player's answers and its
// titles in memory. After every request, every block, handle and library
// must be back.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "testing/sim_desktop.h"
#include "testing/test_host.h"

namespace {

using nirevo::test::SimDesktop;
using nirevo::test::SimPlayer;
using nirevo::test::TestHost;

constexpr std::string_view kPlayerMark = "\n\xffplayer\xff\n";

void ScriptDesktop(FuzzedDataProvider& bytes, SimDesktop& desktop) {
  desktop.platform_id = bytes.PickValueInArray<std::uint32_t>({2, 1, 3, 0});
  const char* paths[] = {"C:\\Program Files\\Winamp\\winamp.exe", "C:\\Tools\\winamp.exe",
                         "winamp.exe", "D:\\WINAMP\\WINAMP.EXE"};
  for (int decoys = bytes.ConsumeIntegralInRange(0, 3); decoys > 0; --decoys) {
    const auto pid = bytes.ConsumeIntegralInRange<std::uint32_t>(1, 4);
    desktop.process(pid).image_path = bytes.ConsumeBool() ? bytes.ConsumeRandomLengthString(300)
                                                          : bytes.PickValueInArray(paths);
    desktop.process(pid).snapshot_name = desktop.process(pid).image_path;
    desktop.process(pid).openable = !bytes.ConsumeBool();
    desktop.AddWindow(bytes.ConsumeRandomLengthString(300), pid, bytes.ConsumeBool());
  }
  if (bytes.ConsumeBool()) return;  // the player is not running

  SimPlayer& player = desktop.player(desktop.AddPlayer());
  desktop.process(nirevo::test::kPlayerProcessId).refused_access = bytes.ConsumeBool() ? 0x10 : 0;
  player.playing = bytes.ConsumeIntegral<std::int32_t>();
  player.elapsed_ms = bytes.ConsumeIntegral<std::int32_t>();
  player.track_length = bytes.ConsumeIntegral<std::int32_t>();
  player.volume = bytes.ConsumeIntegral<std::int32_t>();
  player.shuffle = bytes.ConsumeIntegral<std::int32_t>();
  player.repeat = bytes.ConsumeIntegral<std::int32_t>();
  player.position = bytes.ConsumeIntegral<std::int32_t>();
  player.jump_answer = bytes.ConsumeIntegral<std::int32_t>();
  std::vector<std::string> titles((bytes.ConsumeIntegralInRange(0, 20) + 3) % 21);
  for (std::string& title : titles) title = bytes.ConsumeRandomLengthString(600);
  player.SetPlaylist(desktop.process(nirevo::test::kPlayerProcessId), titles,
                     bytes.ConsumeBool() ? std::uintptr_t{0x00400000} : ~std::uintptr_t{0} << 40);
  // The count is the player's own answer; a bound keeps a run short.
  if (bytes.ConsumeBool()) player.list_length = bytes.ConsumeIntegralInRange(-5, 40);
  for (int scripted = bytes.ConsumeIntegralInRange(0, 3); scripted > 0; --scripted) {
    player.title_address[bytes.ConsumeIntegralInRange(-2, 25)] =
        bytes.ConsumeIntegral<std::uintptr_t>();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t mark = input.find(kPlayerMark);
  const std::string_view request = input.substr(0, mark);
  const std::string_view script =
      mark == std::string_view::npos ? std::string_view() : input.substr(mark + kPlayerMark.size());

  SimDesktop desktop;
  FuzzedDataProvider bytes(reinterpret_cast<const std::uint8_t*>(script.data()), script.size());
  ScriptDesktop(bytes, desktop);
  {
    TestHost host(desktop);
    const std::string response = host.Request(request);
    if (!nirevo::test::IsWellFormedResponse(response)) std::abort();
  }
  if (!desktop.Balanced()) std::abort();
  return 0;
}
