#include "quencfg/model/xml_document.h"

#include <gtest/gtest.h>

#include <string>

#include "quencfg/framework/text.h"
#include "support/xml_tree.h"

namespace quencfg {
namespace {

constexpr std::u16string_view kDeclaration = u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n";

std::string Narrow(std::u16string_view text) { return Utf16ToUtf8(text); }

// Names of the children of an element, following the links.
std::string ChildNames(const XmlDocument& doc, ElementNumber parent) {
  std::string out;
  for (ElementNumber c = doc.Record(parent).firstChild; c != 0; c = doc.Record(c).nextSibling) {
    out += Narrow(doc.ElementName(c)) + " ";
  }
  return out;
}

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


struct ParseCase {
  std::u16string_view text;
  bool wellFormed;
  std::u16string_view message;
};

TEST(XmlDocumentParse, ResultsAndFirstErrorMessage) {
  const ParseCase cases[] = {
      {u"", false, u"Empty document"},
      {u"<a/>", true, u""},
      {u"<a/><b/>", false, u"Root element has sibling"},
      {u"  text only ", false, u"No root element"},
      {u"<a><b></a>", false, u"End tag 'a' at offset 6 does not match start tag 'b' at offset 3"},
      {u"<a></b></a>", false, u"No start tag for end tag 'b' at offset 3"},
      {u"<a>text", false, u"Element 'a' at offset 0 not ended"},
      // The root checks come last and replace the first error.
      {u"<a><b>", false, u"Root element has sibling"},
      {u"<a x='>", false, u"No root element"},
      {u"<a>< 1</a>", false, u"Incorrect tag name character at offset 3"},
      {u"<a><!x></a>", false, u"Incorrect ! tag at offset 3"},
      {u"<a><!-x></a>", false, u"Incorrect comment tag at offset 3"},
      {u"<a><![X></a>", false, u"Incorrect tag at offset 3"},
      {u"<r><a x='>", false, u"Element tag at offset 3 unterminated"},
      {u"<a></a", false, u"Element end tag at offset 3 unterminated"},
      {u"<a/><!-- x", false, u"Comment at offset 4 unterminated"},
      {u"<a><![CDATA[x]]</a>", false, u"CDATA Section at offset 3 unterminated"},
      {u"<r/><?xml x", false, u"Processing instruction at offset 4 unterminated"},
      {u"<r/><!DOCTYPE a [<!ELEMENT a ANY>", false, u"Doctype at offset 4 unterminated"},
      {u"<?xml version=\"1.0\"?>\r\n<!DOCTYPE a [<!ELEMENT a ANY>]>\r\n<!-- c --><a x=\"1\" y='>'/>\r\n", true,
       u""},
      {u"<a><![CDATA[<b></a>]]></a>", true, u""},
      // End tags whose name starts like the innermost one's, or that are spelled unusually.
      {u"<ab><a></ab>", false, u"End tag 'ab' at offset 7 does not match start tag 'a' at offset 4"},
      {u"<a><ab></a>", false, u"End tag 'a' at offset 7 does not match start tag 'ab' at offset 3"},
      {u"<a><b></b ></a >", true, u""},
      {u"<\u00e9t\u00e9><x.y-z></x.y-z></\u00e9t\u00e9>", true, u""},
  };
  for (const ParseCase& c : cases) {
    XmlDocument doc;
    EXPECT_EQ(doc.SetText(c.text), c.wellFormed) << Narrow(c.text);
    EXPECT_EQ(doc.Diagnostic(), c.message) << Narrow(c.text);
  }
}

TEST(XmlDocumentParse, EmptyTagNeedsSlashAfterNameSpaceOrQuote) {
  const std::pair<std::u16string_view, bool> cases[] = {
      {u"<a/>", true}, {u"<a />", true}, {u"<a x='1'/>", true}, {u"<a x=\"1\"/>", true}, {u"<a x=1/>", false},
  };
  for (const auto& [text, empty] : cases) {
    XmlDocument doc;
    doc.SetText(text);
    ASSERT_EQ(doc.ElementCount(), 1u) << Narrow(text);
    EXPECT_EQ(doc.Record(1).IsEmptyTag(), empty) << Narrow(text);
  }
}

TEST(XmlDocumentParse, RecoveryMovesChildrenOfUnendedElementsUp) {
  XmlDocument doc;
  EXPECT_FALSE(doc.SetText(u"<r><a><b><c/></b><d/></r>"));
  // a is not ended: it keeps its start tag, and b and d become its following siblings.
  EXPECT_EQ(ChildNames(doc, 1), "a b d ");
  const ElementRecord& a = doc.Record(2);
  EXPECT_EQ(a.length, 3u);
  EXPECT_NE(a.flags & ElementRecord::kNotEnded, 0u);
  EXPECT_EQ(a.firstChild, 0u);
  EXPECT_EQ(doc.Record(3).Depth(), 2u);  // b
  EXPECT_EQ(doc.Record(4).Depth(), 3u);  // c stays under b
  EXPECT_EQ(doc.Record(4).parent, 3u);
  EXPECT_NE(doc.Record(0).flags & ElementRecord::kIllFormed, 0u);
  EXPECT_EQ(testing::CheckIndex(doc), "");
}

TEST(XmlDocumentParse, RecordsLinksDepthsAndFirstChildBits) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetText(u"<r>\r\n<a>1</a>\r\n<b/>\r\n<c><d/></c></r>"));
  ASSERT_EQ(doc.ElementCount(), 5u);
  const ElementRecord& r = doc.Record(1);
  EXPECT_EQ(r.Depth(), 1u);
  EXPECT_EQ(r.length, doc.Text().size());
  EXPECT_EQ(r.StartTagLength(), 3u);
  EXPECT_EQ(r.EndTagLength(), 4u);
  const ElementRecord& a = doc.Record(2);
  EXPECT_EQ(a.start, 5u);
  EXPECT_EQ(a.length, 8u);
  EXPECT_NE(a.flags & ElementRecord::kFirstChild, 0u);
  EXPECT_EQ(a.previousSibling, 4u);  // the first child points to the last
  EXPECT_EQ(doc.Record(3).flags & ElementRecord::kFirstChild, 0u);
  EXPECT_EQ(doc.Record(5).Depth(), 3u);
  EXPECT_EQ(doc.Record(0).firstChild, 1u);
}

TEST(XmlDocumentParse, DeepNestingIsReportedNotFatal) {
  std::u16string text;
  const int depth = 70000;
  for (int i = 0; i < depth; ++i) text += u"<a>";
  for (int i = 0; i < depth; ++i) text += u"</a>";
  XmlDocument doc;
  EXPECT_FALSE(doc.SetText(text));
  EXPECT_NE(doc.Diagnostic().find(u"nested too deeply"), std::u16string::npos);
  EXPECT_EQ(doc.ElementCount(), static_cast<ElementNumber>(depth));
  // Many unended elements nested deeply stay linear to recover.
  text.assign(200000, u'\0');
  for (std::size_t i = 0; i < text.size(); i += 4) text.replace(i, 4, u"<b>x");
  EXPECT_FALSE(doc.SetText(u"<r>" + text + u"</r>"));
  EXPECT_EQ(ChildNames(doc, 1).size(), 50000u * 2);
}

TEST(XmlDocumentParse, TagsLongerThanTheirFieldsAreErrors) {
  XmlDocument doc;
  const std::u16string longName(1100, u'n');
  EXPECT_FALSE(doc.SetText(u"<r><" + longName + u">x</" + longName + u"></r>"));
  EXPECT_EQ(doc.Diagnostic(), u"Element end tag at offset 1106 too long");
  EXPECT_EQ(testing::CheckIndex(doc), "");

  const std::u16string hugeTag = u"<a x='" + std::u16string(ElementRecord::kMaxStartTagLength, u'v') + u"'>";
  EXPECT_FALSE(doc.SetText(u"<r>" + hugeTag + u"</a></r>"));
  EXPECT_EQ(doc.Diagnostic(), u"Element tag at offset 3 too long");
  EXPECT_EQ(testing::CheckIndex(doc), "");
}

TEST(XmlDocumentNavigation, FindsForwardOnly) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetText(u"<root><b>1</b><c>2</c><b>3</b></root>"));
  ASSERT_TRUE(doc.FindChildElement(u"c"));  // takes the root first
  EXPECT_EQ(doc.ElementName(doc.CurrentPosition()), u"root");
  EXPECT_EQ(doc.GetChildText(), u"2");
  ASSERT_TRUE(doc.FindChildElement(u"b"));  // the b after c
  EXPECT_EQ(doc.GetChildText(), u"3");
  const ElementNumber child = doc.ChildPosition();
  EXPECT_FALSE(doc.FindChildElement(u"c"));  // never back
  EXPECT_EQ(doc.ChildPosition(), child);
  EXPECT_FALSE(doc.FindChildElement());

  doc.ResetPosition();
  ASSERT_TRUE(doc.FindElement());
  ASSERT_TRUE(doc.EnterElement());
  EXPECT_FALSE(doc.IsCurrentElement());
  EXPECT_FALSE(doc.FindElement(u"B"));  // case matters
  EXPECT_FALSE(doc.FindElement(u"r"));  // whole names only
  ASSERT_TRUE(doc.FindElement(u"c"));
  EXPECT_EQ(doc.GetCurrentText(), u"2");
  ASSERT_TRUE(doc.LeaveElement());
  EXPECT_EQ(doc.ElementName(doc.CurrentPosition()), u"root");
  EXPECT_EQ(doc.ElementName(doc.ChildPosition()), u"c");
  EXPECT_EQ(doc.ParentPosition(), 0u);
  EXPECT_FALSE(doc.LeaveElement());
}

TEST(XmlDocumentNavigation, FailedCallsChangeNothing) {
  XmlDocument doc;
  EXPECT_FALSE(doc.EnterElement());
  EXPECT_FALSE(doc.LeaveElement());
  EXPECT_FALSE(doc.FindElement());
  EXPECT_FALSE(doc.FindChildElement());
  EXPECT_FALSE(doc.SetElementText(u"x"));
  EXPECT_EQ(doc.GetElementText(12345), u"");
  ASSERT_TRUE(doc.SetText(u"<r><a/></r>"));
  ASSERT_TRUE(doc.FindElement());
  EXPECT_FALSE(doc.SetElementText(u"x"));  // has children
  EXPECT_EQ(doc.Text(), u"<r><a/></r>");
  EXPECT_FALSE(doc.FindChildElement(u"a b"));
  EXPECT_EQ(doc.ChildPosition(), 0u);
}

TEST(XmlDocumentText, DecodesEntitiesCDataAndSkipsComments) {
  const std::pair<std::u16string_view, std::u16string_view> cases[] = {
      {u"<a>1 &lt; 2 &amp;&amp; x</a>", u"1 < 2 && x"},
      {u"<a>&#65;&#x42;&#X43;</a>", u"ABC"},
      {u"<a>&bogus; &amp &#0; &#xD800; &#x110000; &#12a;</a>", u"&bogus; &amp &#0; &#xD800; &#x110000; &#12a;"},
      {u"<a>&eacute;&Eacute;&apos;&quot;&euro;&thetasym;</a>", u"\u00e9\u00c9'\"\u20ac\u03d1"},
      {u"<a>&#x1F600;&#128512;</a>", u"\U0001F600\U0001F600"},
      {u"<a>&toolongname;&\u00e9;</a>", u"&toolongname;&\u00e9;"},
      {u"<a>  spaced \r\n</a>", u"  spaced \r\n"},
      {u"<a> <![CDATA[<raw> &amp;]]> <!-- no --> t&amp;u <?pi?> </a>", u"<raw> &amp; t&u "},
      {u"<a/>", u""},
      {u"<a></a>", u""},
      {u"<a>x<b/>y</a>", u""},
  };
  for (const auto& [text, expected] : cases) {
    XmlDocument doc;
    doc.SetText(text);
    EXPECT_EQ(doc.GetElementText(1), expected) << Narrow(text);
  }
}

TEST(XmlDocumentEdit, SetElementTextReplacesOnlyTheContent) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetText(u"<r>\r\n<a x='1'>old</a>\r\n<launch/>\r\n<n>7</n>\r\n</r>"));
  ASSERT_TRUE(doc.FindChildElement(u"a"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.SetElementText(u"a<b&c>\"'"));
  ASSERT_TRUE(doc.FindElement(u"launch"));
  ASSERT_TRUE(doc.SetElementText(u""));
  ASSERT_TRUE(doc.FindElement(u"n"));
  ASSERT_TRUE(doc.SetElementText(-2147483647 - 1));
  EXPECT_EQ(doc.Text(),
            u"<r>\r\n<a x='1'>a&lt;b&amp;c&gt;\"'</a>\r\n<launch></launch>\r\n<n>-2147483648</n>\r\n</r>");
  EXPECT_EQ(doc.GetCurrentText(), u"-2147483648");
  ExpectReparsesTheSame(doc);
  // An empty tag with attributes keeps them.
  ASSERT_TRUE(doc.SetText(u"<r><e k=\"v\" /></r>"));
  ASSERT_TRUE(doc.FindChildElement());
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.SetElementText(u"t"));
  EXPECT_EQ(doc.Text(), u"<r><e k=\"v\" >t</e></r>");
  ExpectReparsesTheSame(doc);
}

TEST(XmlDocumentEdit, AddElementPlacesAndLinks) {
  struct Case {
    std::u16string_view text;
    std::u16string_view expected;
  };
  // Each adds <n>v</n> as the last child of the root.
  const Case cases[] = {
      {u"<r/>", u"<r>\r\n<n>v</n>\r\n</r>"},
      {u"<r x='1'/>", u"<r x='1'>\r\n<n>v</n>\r\n</r>"},
      {u"<r></r>", u"<r>\r\n<n>v</n>\r\n</r>"},
      {u"<r>\r\n<a/>\r\n</r>", u"<r>\r\n<a/>\r\n<n>v</n>\r\n</r>"},
      {u"<r>text</r>", u"<r>text<n>v</n>\r\n</r>"},
  };
  for (const Case& c : cases) {
    XmlDocument doc;
    ASSERT_TRUE(doc.SetText(c.text));
    ASSERT_TRUE(doc.FindElement());
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AddElement(u"n", u"v"));
    EXPECT_EQ(doc.Text(), c.expected) << Narrow(c.text);
    EXPECT_EQ(doc.ElementName(doc.CurrentPosition()), u"n");
    ExpectReparsesTheSame(doc);
  }
}

TEST(XmlDocumentEdit, AddElementAfterTheCurrentElementAndBetweenSiblings) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetText(u"<r>\r\n<a/>\r\n<c/>\r\n</r>\r\n"));
  ASSERT_TRUE(doc.FindChildElement(u"a"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.AddElement(u"b", 5));
  ASSERT_TRUE(doc.AddElement(u"b2"));
  EXPECT_EQ(doc.Text(), u"<r>\r\n<a/>\r\n<b>5</b>\r\n<b2/>\r\n<c/>\r\n</r>\r\n");
  ASSERT_TRUE(doc.FindElement(u"c"));  // the search goes on after the new element
  ExpectReparsesTheSame(doc);
  ASSERT_TRUE(doc.LeaveElement());
  EXPECT_EQ(ChildNames(doc, doc.CurrentPosition()), "a b b2 c ");

  // Text after the current element that is not white space stays after the new one.
  ASSERT_TRUE(doc.SetText(u"<r><a/>tail</r>"));
  ASSERT_TRUE(doc.FindChildElement());
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.AddElement(u"b"));
  EXPECT_EQ(doc.Text(), u"<r><a/><b/>\r\ntail</r>");
  ExpectReparsesTheSame(doc);
}

TEST(XmlDocumentEdit, AddElementRefusesNamesThatWouldNotParseBack) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetText(u"<r/>"));
  for (const std::u16string_view name : {u"", u"1a", u"a b", u"a/", u"-x", u"a>"}) {
    EXPECT_FALSE(doc.AddElement(name, u"v")) << Narrow(name);
  }
  EXPECT_FALSE(doc.AddElement(std::u16string(1021, u'n')));
  EXPECT_EQ(doc.Text(), u"<r/>");
  EXPECT_TRUE(doc.AddElement(u"_ok:\u00e9"));

  // An empty tag whose name is too long for an end tag cannot take content or children.
  const std::u16string longEmpty = u"<" + std::u16string(1030, u'n') + u"/>";
  ASSERT_TRUE(doc.SetText(longEmpty));
  ASSERT_TRUE(doc.FindElement());
  EXPECT_FALSE(doc.SetElementText(u"x"));
  EXPECT_TRUE(doc.EnterElement());
  EXPECT_FALSE(doc.AddElement(u"c"));
  EXPECT_EQ(doc.Text(), longEmpty);
  EXPECT_EQ(testing::CheckIndex(doc), "");
}


TEST(XmlDocumentEdit, PatchesAnIndexSpanningSeveralSegments) {
  // More records than one segment holds: edits near the start move records in every segment.
  std::u16string text = u"<r>";
  for (int i = 0; i < 70000; ++i) text += u"<v>" + AsciiToUtf16(std::to_string(i)) + u"</v>";
  text += u"</r>";
  XmlDocument doc;
  ASSERT_TRUE(doc.SetText(text));
  ASSERT_EQ(doc.ElementCount(), 70001u);
  ASSERT_TRUE(doc.FindChildElement(u"v"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.SetElementText(u"a longer first value"));
  ASSERT_TRUE(doc.AddElement(u"w", 1));
  EXPECT_EQ(testing::CheckIndex(doc), "");
  EXPECT_EQ(doc.GetElementText(70001), u"69999");
  EXPECT_EQ(doc.GetElementText(70002), u"1");
  EXPECT_EQ(doc.Record(0).length, doc.Text().size());
  EXPECT_EQ(doc.Record(1).length, doc.Text().size());
}

TEST(XmlDocumentEdit, NewDocumentFromNothing) {
  XmlDocument doc;
  doc.SetFlags(XmlDocument::BOM_UTF16LE);
  EXPECT_FALSE(doc.SetText(u""));
  EXPECT_EQ(doc.Diagnostic(), u"Empty document");
  EXPECT_EQ(doc.Flags(), XmlDocument::BOM_UTF16LE);  // SetText keeps the flags
  ASSERT_TRUE(doc.AddElement(u"root"));
  EXPECT_EQ(doc.Text(), u"<root/>\r\n");
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.AddElement(u"a", u"&"));
  EXPECT_EQ(doc.Text(), u"<root>\r\n<a>&amp;</a>\r\n</root>\r\n");
  EXPECT_EQ(doc.GetCurrentText(), u"&");
  ExpectReparsesTheSame(doc);
}

}  // namespace
}  // namespace quencfg
