#include "quencfg/model/xml_document.h"

#include <gtest/gtest.h>

#include <string>

#include "quencfg/framework/text.h"
#include "support/xml_tree.h"

namespace quencfg {
namespace {

constexpr std::u16string_view kDeclaration = u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n";

std::string Narrow(std::u16string_view text) { return Utf16ToUtf8(text); }

void ExpectReparsesTheSame(const XmlDocument& doc) {
  EXPECT_EQ(testing::DescribeTree(doc), testing::DescribeReparsedTree(doc));
}

TEST(XmlDocument, BuildsTheDocumentOfTheProfileExample) {
  XmlDocument doc;
  doc.SetText(kDeclaration);
  ASSERT_TRUE(doc.AddElement(u"root"));
  // The new root is already the current element: this search finds nothing after it
  // and changes nothing.
  EXPECT_FALSE(doc.FindElement());
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.AddElement(u"ButtonSet"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.AddElement(u"Button_0"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.AddElement(u"byBtnFuncType", 0));
  ASSERT_TRUE(doc.AddElement(u"launch", u""));
  EXPECT_EQ(Narrow(doc.Text()),
            "<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n"
            "<root>\r\n"
            "<ButtonSet>\r\n"
            "<Button_0>\r\n"
            "<byBtnFuncType>0</byBtnFuncType>\r\n"
            "<launch/>\r\n"
            "</Button_0>\r\n"
            "</ButtonSet>\r\n"
            "</root>\r\n");
  EXPECT_TRUE(doc.IsWellFormed());
  ExpectReparsesTheSame(doc);
}

}  // namespace
}  // namespace quencfg
