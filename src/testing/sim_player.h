// The simulated player: answers the player's menu commands and operations
// from real state, as the real one does, and records every message it
// receives. Its titles lie in the memory of a simulated process.
#ifndef NIREVO_TESTING_SIM_PLAYER_H_
#define NIREVO_TESTING_SIM_PLAYER_H_

#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace nirevo::test {

struct Message {
  std::uint32_t message;
  std::uintptr_t wparam;
  std::intptr_t lparam;
  bool operator==(const Message& o) const {
    return message == o.message && wparam == o.wparam && lparam == o.lparam;
  }
};
std::ostream& operator<<(std::ostream& out, const Message& m);

// A WM_USER message with a signed operand, as the module sends it.
Message UserMessage(std::int32_t wparam, std::intptr_t operation);
// A WM_COMMAND menu command.
Message MenuMessage(int id);

struct SimProcess {
  std::string image_path;     // what PSAPI reports
  std::string snapshot_name;  // what the Toolhelp walk reports
  bool openable = true;
  bool modules_readable = true;  // false: its module list cannot be read
  std::uint32_t refused_access = 0;  // OpenProcess with exactly this access fails
  std::map<std::uintptr_t, std::string> memory;  // readable regions by address
};

// The player's state; every answer comes from here.
class SimPlayer {
 public:
  std::int32_t playing = 0;  // 1 playing, 3 paused, 0 stopped
  std::int32_t elapsed_ms = 0;
  std::int32_t track_length = 0;
  std::int32_t volume = 128;  // 0..255
  std::int32_t shuffle = 0;
  std::int32_t repeat = 0;
  std::int32_t position = 0;  // 0-based
  // Operation 124's answer; by default the number of titles.
  std::optional<std::int32_t> list_length;
  // Operation 106's answer.
  std::int32_t jump_answer = 0;
  // Operation 212's answer for an entry, instead of where its title lies.
  std::map<std::int32_t, std::uintptr_t> title_address;

  std::vector<Message> received;
  bool record = true;  // benchmarks turn the record off

  // How the window takes messages. A player that hangs stops answering
  // after `hangs_after` more messages: every later send waits out its
  // timeout, and what reached the player meanwhile is in `unanswered`. A
  // window that closes does so after answering `closes_after` more messages;
  // later sends fail at once and reach nothing.
  std::optional<int> hangs_after;
  std::optional<int> closes_after;
  std::vector<Message> unanswered;
  // The flags and the timeout of the last send that reached the window.
  std::uint32_t last_send_flags = 0;
  std::uint32_t last_send_timeout_ms = 0;

  // Lays the titles out in `process`'s memory from `base` on, each one
  // zero-terminated in a slot with room for a whole 256-byte read.
  void SetPlaylist(SimProcess& process, const std::vector<std::string>& titles,
                   std::uintptr_t base = 0x00400000);

  std::intptr_t Answer(const Message& message);

 private:
  std::vector<std::uintptr_t> addresses_;
};

}  // namespace nirevo::test

#endif  // NIREVO_TESTING_SIM_PLAYER_H_
