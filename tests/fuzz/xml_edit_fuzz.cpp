// SetText followed by navigation, edits and a save/load round trip. The input is
// "text 0x00 script": the text (UTF-8) and one byte per operation. After every edit of
// a document without errors, the patched index must equal a fresh parse of the text.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "quencfg/framework/files.h"
#include "quencfg/framework/text.h"
#include "quencfg/model/xml_document.h"
#include "quencfg/model/xml_file_codec.h"
#include "support/xml_tree.h"

namespace {

using quencfg::ElementRecord;
using quencfg::XmlDocument;

constexpr std::u16string_view kNames[] = {u"a", u"b", u"root", u"Button_0", u"x:y", u"\u00e9l", u"1bad",
                                          u"a b", u"", u"c/"};
constexpr std::u16string_view kTexts[] = {u"", u"0", u"x<y&z>", u"&amp;", u"\U0001F600", u"]]>", u"  ",
                                          u"\r\n", u"'\""};

void Fail(const std::string& what) {
  std::fprintf(stderr, "xml_edit_fuzz: %s\n", what.c_str());
  std::abort();
}

void CheckConsistent(const XmlDocument& doc) {
  const std::string problem = quencfg::testing::CheckIndex(doc);
  if (!problem.empty()) Fail(problem);
  if (quencfg::testing::DescribeTree(doc) != quencfg::testing::DescribeReparsedTree(doc)) {
    Fail("patched index differs from a fresh parse of:\n" + quencfg::Utf16ToUtf8(doc.Text()));
  }
}

bool HasErrors(const XmlDocument& doc) { return (doc.Record(0).flags & ElementRecord::kIllFormed) != 0; }

void RunOperation(XmlDocument& doc, std::uint8_t op) {
  const std::u16string_view name = kNames[(op >> 4) % std::size(kNames)];
  const std::u16string_view text = kTexts[(op >> 4) % std::size(kTexts)];
  switch (op & 0x0F) {
    case 0: doc.ResetPosition(); break;
    case 1: doc.FindElement(); break;
    case 2: doc.FindElement(name); break;
    case 3: doc.FindChildElement(); break;
    case 4: doc.FindChildElement(name); break;
    case 5: doc.EnterElement(); break;
    case 6: doc.LeaveElement(); break;
    case 7: (void)doc.GetCurrentText(); (void)doc.GetChildText(); break;
    case 8: doc.SetElementText(text); break;
    case 9: doc.SetElementText(static_cast<std::int32_t>(op) * -12345); break;
    case 10: doc.AddElement(name, text); break;
    case 11: doc.AddElement(name, static_cast<std::int32_t>(op)); break;
    case 12: doc.AddElement(name); break;
    default: {
      const std::u16string before = doc.GetCurrentText();
      if (doc.SetElementText(before) && doc.GetCurrentText() != before) Fail("text does not read back");
      break;
    }
  }
}

const std::u16string& SavePath() {
  static const std::u16string path =
      quencfg::AsciiToUtf16("/tmp/xml_edit_fuzz_" + std::to_string(::getpid()) + ".xml");
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  const void* zero = std::memchr(bytes, 0, size);
  const std::size_t textSize = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - bytes) : size;
  const std::size_t scriptStart = zero ? textSize + 1 : size;

  XmlDocument doc;
  doc.SetText(quencfg::Utf8ToUtf16(std::string_view(bytes, textSize)));
  const std::size_t scriptEnd = std::min(size, scriptStart + 64);  // each step re-parses to compare
  for (std::size_t i = scriptStart; i < scriptEnd; ++i) {
    const bool clean = !HasErrors(doc);
    RunOperation(doc, data[i]);
    if (clean) CheckConsistent(doc);
  }

  static constexpr std::uint32_t kMarks[] = {XmlDocument::BOM_UTF16LE, XmlDocument::BOM_UTF16BE,
                                             XmlDocument::BOM_UTF8};
  doc.SetFlags(kMarks[size % 3]);
  // The bytes SaveFile writes, decoded as LoadFile does; through a real file now and then
  // (every write is flushed to disk, which is slow).
  XmlDocument loaded;
  if (size % 16 == 0) {
    if (!doc.SaveFile(SavePath())) Fail("save failed");
    loaded.LoadFile(SavePath());
  } else {
    const quencfg::EncodedXmlFile encoded = quencfg::EncodeXmlFile(doc.Text(), doc.Flags());
    if (!encoded.ok) Fail("encoding failed");
    quencfg::DecodedXmlFile decoded = quencfg::DecodeXmlFile(encoded.bytes);
    loaded.SetText(decoded.text);
    loaded.SetFlags(decoded.flags);
  }
  if (loaded.Text() != doc.Text()) Fail("save and load changed the text");
  if (loaded.Flags() != doc.Flags()) Fail("save and load changed the flags");
  return 0;
}
