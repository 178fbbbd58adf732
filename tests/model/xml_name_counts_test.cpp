#include "quencfg/model/xml_name_counts.h"

#include <gtest/gtest.h>

#include <string>

#include "support/ill_formed_xml.h"

namespace quencfg {
namespace {

TEST(XmlNameCounts, CountsNamesGivenAsRunsOfTheText) {
  const std::u16string text = u"<a><ab><a><b>";
  XmlNameCounts counts(text);
  EXPECT_FALSE(counts.Contains(u"a")) << "nothing counted yet";
  counts.Add(1, 1);   // a
  counts.Add(4, 2);   // ab
  counts.Add(8, 1);   // a
  EXPECT_TRUE(counts.Contains(u"a"));
  EXPECT_TRUE(counts.Contains(u"ab"));
  EXPECT_FALSE(counts.Contains(u"b")) << "in the text, never counted";
  EXPECT_FALSE(counts.Contains(u"")) << "the empty name of \"</>\"";
  counts.Remove(8, 1);
  EXPECT_TRUE(counts.Contains(u"a")) << "one a left";
  counts.Remove(1, 1);
  EXPECT_FALSE(counts.Contains(u"a"));
  EXPECT_TRUE(counts.Contains(u"ab"));
  counts.Add(1, 1);
  EXPECT_TRUE(counts.Contains(u"a")) << "a name back after count 0";
  counts.Clear();
  EXPECT_FALSE(counts.Contains(u"a"));
  EXPECT_FALSE(counts.Contains(u"ab"));
  counts.Add(11, 1);
  EXPECT_TRUE(counts.Contains(u"b")) << "counting again after a clear";
}

TEST(XmlNameCounts, ManyDistinctNamesThroughEveryGrowth) {
  const std::size_t n = 5000;
  std::u16string text;
  for (std::size_t i = 0; i < n; ++i) text += testing::NumberedName(u'a', i);
  XmlNameCounts counts(text);
  for (std::size_t i = 0; i < n; i += 2) counts.Add(i * 8, 8);
  for (std::size_t i = 0; i < n; ++i) {
    EXPECT_EQ(counts.Contains(testing::NumberedName(u'a', i)), i % 2 == 0) << i;
  }
  for (std::size_t i = 0; i < n; i += 4) counts.Remove(i * 8, 8);
  for (std::size_t i = 0; i < n; i += 2) {
    EXPECT_EQ(counts.Contains(testing::NumberedName(u'a', i)), i % 4 != 0) << i;
  }
}

}  // namespace
}  // namespace quencfg
