#include "interface/handle_request.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace nirevo {
namespace {

using namespace std::string_literals;
using Entries = std::vector<std::pair<std::string, std::string>>;

struct ParseCase {
  std::string text;
  std::string method;
  Entries headers;  // without "ORIGINAL"
  friend void PrintTo(const ParseCase& c, std::ostream* out) {
    *out << ::testing::PrintToString(c.text);
  }
};

class ParseRequestTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseRequestTest, GivesMethodAndHeaders) {
  const ParseCase& c = GetParam();
  std::string method;
  RequestHeaders headers;
  ParseRequest(c.text, &method, &headers);
  EXPECT_EQ(method, c.method);
  ASSERT_EQ(headers.count("ORIGINAL"), 1u);
  EXPECT_EQ(headers.find("ORIGINAL")->second, c.text);  // every byte
  Entries read;
  for (const auto& [key, value] : headers) {
    if (key != "ORIGINAL") read.emplace_back(key, value);
  }
  // The multimap orders by key; compare against the expectation in that order.
  Entries expected = c.headers;
  std::stable_sort(expected.begin(), expected.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  EXPECT_EQ(read, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParseRequestTest,
    ::testing::Values(
        ParseCase{"GET Version SAORI/1.0\r\n", "GET Version", {}},
        ParseCase{"EXECUTE SAORI/1.0\r\nArgument0: play\r\n\r\n", "EXECUTE", {{"Argument0", "play"}}},
        ParseCase{"EXECUTE\r\nA: b\r\n", "EXECUTE\r", {{"A", "b"}}},
        ParseCase{"SAORI/1.0 EXECUTE\n", "SAORI/1.0 EXECUTE", {}},
        ParseCase{"EXECUTE SAORI/1.0 SAORI/2.0\n", "EXECUTE", {}},
        ParseCase{"EXECUTE SAORI/9.9\n", "EXECUTE", {}},
        ParseCase{"X\nk:v\nk: v\nk:   v\nk:\tv\n", "X",
                  {{"k", "v"}, {"k", "v"}, {"k", "v"}, {"k", "\tv"}}},
        ParseCase{"X\nkey : value  \n", "X", {{"key ", "value  "}}},
        ParseCase{"X\n  no colon\n", "X", {{"  no colon", "no colon"}}},
        ParseCase{"X\n:\n", "X", {{"", ""}}},
        ParseCase{"X\na: 1:2\n", "X", {{"a", "1:2"}}},
        ParseCase{"X\nb: 2\nb: 1\n", "X", {{"b", "2"}, {"b", "1"}}},
        ParseCase{"X\nb: 1\na: 0\nb: 2\nb: 3\n", "X", {{"b", "1"}, {"a", "0"}, {"b", "2"}, {"b", "3"}}},
        ParseCase{"X\na: 1\r\n\r\nb: 2\r\n", "X", {{"a", "1"}}},
        ParseCase{"X\na: 1\n\nb: 2\n", "X", {{"a", "1"}}},
        ParseCase{"X\na: 1\r\r\n", "X", {{"a", "1\r"}}},
        ParseCase{"X\r\na: last", "X\r", {{"a", "last"}}},
        ParseCase{"", "", {}},
        ParseCase{"\n", "", {}},
        ParseCase{"X\na: 1\0b: 2\n"s, "X", {{"a", "1"}}},
        ParseCase{"\0EXECUTE SAORI/1.0\n"s, "", {}}));

}  // namespace
}  // namespace nirevo
