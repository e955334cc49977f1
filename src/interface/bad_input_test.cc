// Bad input at the boundary: huge requests, a million header lines, lines of
// a megabyte, every byte value, no line end at all, only line ends. Each is
// answered as for any request, with memory proportional to the input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interface/handle_request.h"
#include "testing/allocation_faults.h"
#include "testing/test_host.h"

namespace nirevo {
namespace {

using test::AllocationFaults;
using test::Answer;
using test::SimDesktop;
using test::TestHost;

std::string Repeat(const std::string& piece, std::size_t times) {
  std::string text;
  text.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

// Every byte but those that end a line (LF), end the reader (NUL) or split a
// header (the colon).
std::string EveryByte() {
  std::string bytes;
  for (int b = 1; b < 256; ++b) {
    if (b != '\n' && b != ':') bytes += static_cast<char>(b);
  }
  return bytes;
}

struct BadInput {
  std::string name;
  std::string request;
  std::string answer;
  // The request may be megabytes long: its name and size say enough.
  friend void PrintTo(const BadInput& c, std::ostream* out) {
    *out << c.name << " (" << c.request.size() << " bytes)";
  }
};

std::vector<BadInput> Inputs() {
  const std::string head = "EXECUTE SAORI/1.0\r\nSecurityLevel: Local\r\n";
  const std::string volume = Answer("200 OK", {{"Result", "50"}});
  const std::string bad = Answer("400 Bad Request");
  return {
      {"four megabytes", head + "X: " + std::string(4 << 20, 'a') + "\r\nArgument0: getvolume\r\n\r\n",
       volume},
      {"a million header lines", head + Repeat("H: v\r\n", 1000000) + "Argument0: getvolume\r\n\r\n",
       volume},
      {"a million equal names", head + "Argument0: getvolume\r\n" + Repeat("Argument0: x\r\n", 1000000) + "\r\n",
       volume},
      {"a megabyte word", head + "Argument0: " + std::string(1 << 20, 'w') + "\r\n\r\n",
       Answer("204 No Content")},
      {"a megabyte number", head + "Argument0: setvolume\r\nArgument1: " + std::string(1 << 20, '1') + "\r\n\r\n",
       bad},
      {"a megabyte method", std::string(1 << 20, 'E') + " SAORI/1.0\r\n\r\n", bad},
      {"every byte in a word", head + "Argument0: " + EveryByte() + "\r\n\r\n",
       Answer("204 No Content")},
      {"every byte in names", head + EveryByte() + ": " + EveryByte() + "\r\nArgument0: getvolume\r\n\r\n",
       volume},
      {"no line end", "EXECUTE SAORI/1.0", bad},
      {"four megabytes without a line end", std::string(4 << 20, 'x'), bad},
      {"only line ends", std::string(1 << 20, '\n'), bad},
      {"only CR LF", Repeat("\r\n", 1 << 19), bad},
      {"only zero bytes", std::string(1 << 20, '\0'), bad},
  };
}

class BadInputTest : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadInputTest, IsAnsweredWithMemoryProportionalToTheInput) {
  SimDesktop desktop;
  desktop.AddPlayer();
  TestHost host(desktop);
  const BadInput& input = GetParam();
  AllocationFaults::ResetPeak();
  const std::size_t before = AllocationFaults::live_bytes();
  EXPECT_EQ(host.Request(input.request), input.answer);
  const std::size_t used = AllocationFaults::peak_bytes() - before;
  // The request text (kept once, as "ORIGINAL"), a value as long as the
  // text, and one multimap node with two strings per header line (a line is
  // at least 2 bytes).
  EXPECT_LE(used, 80 * input.request.size() + (1 << 16)) << used << " bytes";
  RecordProperty("peak_bytes", std::to_string(used));
  RecordProperty("input_bytes", std::to_string(input.request.size()));
  EXPECT_TRUE(desktop.Balanced());
}

INSTANTIATE_TEST_SUITE_P(Boundary, BadInputTest, ::testing::ValuesIn(Inputs()), test::NameOfCase());

TEST(BadInputParseTest, EveryByteValueSurvivesInNamesAndValues) {
  std::string method;
  RequestHeaders headers;
  ParseRequest("X\n" + EveryByte() + ":" + EveryByte() + "\n", &method, &headers);
  ASSERT_EQ(headers.count(EveryByte()), 1u);
  EXPECT_EQ(headers[EveryByte()], EveryByte());
}

}  // namespace
}  // namespace nirevo
