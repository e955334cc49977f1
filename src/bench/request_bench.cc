// The module's own cost, on a simulated desktop whose calls cost next to
// nothing: whole requests through the `request` boundary, and the window
// search, each at growing sizes so that the growth shows.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "player/window_search.h"
#include "testing/test_host.h"

namespace nirevo {
namespace {

using test::ExecuteText;
using test::SimDesktop;
using test::TestHost;

// A desktop with `windows` other windows and the player with `titles` titles.
struct BenchDesktop {
  BenchDesktop(int windows, int titles) {
    for (int i = 0; i < windows; ++i) {
      desktop.AddWindow("Document " + std::to_string(i) + " - Editor", 7);
    }
    platform::WindowHandle window = desktop.AddPlayer();
    test::SimPlayer& player = desktop.player(window);
    player.record = false;
    std::vector<std::string> list;
    for (int i = 0; i < titles; ++i) list.push_back("Artist " + std::to_string(i) + " - Title");
    player.SetPlaylist(desktop.process(test::kPlayerProcessId), list);
  }
  SimDesktop desktop;
};

void Run(benchmark::State& state, const std::string& text, int titles = 3) {
  BenchDesktop bench(8, titles);
  TestHost host(bench.desktop);
  for (auto _ : state) benchmark::DoNotOptimize(host.Request(text));
  state.SetComplexityN(titles);
}

std::string Execute(const std::string& word, const std::string& argument = "") {
  std::vector<std::pair<std::string, std::string>> headers = {
      {"SecurityLevel", "Local"}, {"Argument0", word}};
  if (!argument.empty()) headers.emplace_back("Argument1", argument);
  return ExecuteText(headers);
}

void BM_VersionQuery(benchmark::State& state) {
  Run(state, "GET Version SAORI/1.0\r\nCharset: Shift_JIS\r\nSender: host\r\n\r\n");
}
void BM_RefusedCaller(benchmark::State& state) {
  Run(state, "EXECUTE SAORI/1.0\r\nSecurityLevel: External\r\nArgument0: play\r\n\r\n");
}
void BM_GetVolume(benchmark::State& state) { Run(state, Execute("getvolume")); }
void BM_SetVolume(benchmark::State& state) { Run(state, Execute("setvolume", "40")); }
void BM_BadNumber(benchmark::State& state) { Run(state, Execute("setvolume", "4x")); }
void BM_GetPlaylist(benchmark::State& state) {
  Run(state, Execute("getplaylist"), static_cast<int>(state.range(0)));
}

void BM_WindowSearch(benchmark::State& state) {
  BenchDesktop bench(static_cast<int>(state.range(0)), 1);
  for (auto _ : state) {
    benchmark::DoNotOptimize(player::FindPlayerWindow(bench.desktop, player::kPlayerTitleText));
  }
  state.SetComplexityN(state.range(0));
}

// Bad input at the boundary: `lines` header lines, and one line of `bytes`.
void BM_HeaderLines(benchmark::State& state) {
  std::string text = "EXECUTE SAORI/1.0\r\n";
  for (int64_t i = 0; i < state.range(0); ++i) text += "H: v\r\n";
  Run(state, text + "Argument0: getvolume\r\n\r\n");
  state.SetComplexityN(state.range(0));
}
void BM_LongLine(benchmark::State& state) {
  Run(state, "EXECUTE SAORI/1.0\r\nArgument0: " +
                 std::string(static_cast<std::size_t>(state.range(0)), 'w') + "\r\n\r\n");
  state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_VersionQuery);
BENCHMARK(BM_RefusedCaller);
BENCHMARK(BM_GetVolume);
BENCHMARK(BM_SetVolume);
BENCHMARK(BM_BadNumber);
BENCHMARK(BM_GetPlaylist)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->Complexity(benchmark::oN);
BENCHMARK(BM_WindowSearch)->Arg(10)->Arg(100)->Arg(1000)->Complexity(benchmark::oN);
BENCHMARK(BM_HeaderLines)->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Complexity();
BENCHMARK(BM_LongLine)->Arg(1 << 10)->Arg(1 << 14)->Arg(1 << 18)->Arg(1 << 22)->Complexity();

}  // namespace
}  // namespace nirevo

BENCHMARK_MAIN();
