#include "interface/tmmap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace nirevo {
namespace {

using namespace std::string_literals;

TEST(ResponseHeadersTest, NamesComeOutInByteWiseOrder) {
  // Set in reverse of the expected order.
  const std::vector<std::string> ordered = {
      ""s,      "Charset", "Result", "Sender", "Value0",   "Value1", "Value10",
      "Value100", "Value11", "Value2", "sender", "\x7f"s, "\x80"s, "\x81\x40"s};
  ResponseHeaders headers;
  for (auto it = ordered.rbegin(); it != ordered.rend(); ++it) headers[*it] = "x";
  std::vector<std::string> names;
  for (const auto& entry : headers) names.push_back(entry.first);
  EXPECT_EQ(names, ordered);
}

TEST(ResponseHeadersTest, SettingANameAgainReplacesItsValue) {
  ResponseHeaders headers;
  headers["Result"] = "1";
  headers["Result"] = "2";
  ASSERT_EQ(headers.size(), 1u);
  EXPECT_EQ(headers["Result"], "2");
}

TEST(TMMapTest, SubscriptGivesTheEarliestOfEqualKeys) {
  RequestHeaders headers;
  headers.emplace("Argument0", "first");
  headers.emplace("Argument0", "second");
  headers.emplace("Argument0", "third");
  headers.emplace("Argument", "shorter");
  EXPECT_EQ(headers["Argument0"], "first");
  EXPECT_EQ(headers.count("Argument0"), 3u);
}

TEST(TMMapTest, SubscriptOfAnAbsentKeyInsertsItEmpty) {
  RequestHeaders headers;
  headers.emplace("argument0", "play");
  EXPECT_EQ(headers["Argument0"], "");
  EXPECT_EQ(headers.count("Argument0"), 1u);
  EXPECT_EQ(headers["argument0"], "play");  // case makes another key
  EXPECT_EQ(headers.size(), 2u);
}

TEST(TMMapTest, SubscriptIsModifiable) {
  RequestHeaders headers;
  headers[""] = "empty key";
  EXPECT_EQ(headers.begin()->first, "");
  EXPECT_EQ(headers.begin()->second, "empty key");
}

}  // namespace
}  // namespace nirevo
