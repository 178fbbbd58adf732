#pragma once
// XmlDocument: the one XML class through which every file of the program is read and
// written. It holds the whole document as one UTF-16 text plus an index of its
// elements. Edits change the text in place and patch the index, so a document that is
// loaded and saved again keeps its layout byte for byte except where a value changed
// or an element was added.
//
// Typical reader:
//   XmlDocument doc;
//   if (!doc.LoadFile(path)) return;              // missing or ill-formed: keep defaults
//   if (doc.FindChildElement(u"Setting")) {       // first takes the root, whatever its name
//     doc.EnterElement();                         // "Setting" becomes the current element
//     if (doc.FindChildElement(u"Profile")) value = doc.GetChildText();
//     doc.LeaveElement();
//   }
//
// Typical writer:
//   if (!doc.LoadFile(path)) {
//     doc.SetText(u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n");
//     doc.SetFlags(XmlDocument::BOM_UTF16LE);
//     doc.AddElement(u"root");
//   }
//   doc.ResetPosition();
//   doc.FindElement();                            // the root
//   doc.EnterElement();
//   if (doc.FindElement(u"Profile")) doc.SetElementText(3); else doc.AddElement(u"Profile", 3);
//   doc.LeaveElement();
//   doc.SaveFile(path);
//
// Searches go forward only: read and write the children of an element in document
// order. Names are compared exactly (case-sensitive); an empty name matches any element.
// Offsets and lengths count UTF-16 code units from the start of Text().
//
// Not thread-safe: navigation moves shared positions, so one document must not be used
// from two threads at once.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "quencfg/framework/file_writer.h"

namespace quencfg {

// Number of an element in the index; 0 stands for the document itself.
using ElementNumber = std::uint32_t;

// One element of the index. Trivial, so that large indexes are allocated without
// being filled first: value-initialise (ElementRecord r{}) for zeros.
struct ElementRecord {
  static constexpr std::uint32_t kMaxStartTagLength = (1u << 22) - 1;  // 4,194,303 units
  static constexpr std::uint32_t kMaxEndTagLength = (1u << 10) - 1;    // 1,023 units

  // Bits of `flags`; the low 16 bits hold the depth (root = 1).
  static constexpr std::uint32_t kFirstChild = 0x00010000;  // first child of its parent
  static constexpr std::uint32_t kNotEnded = 0x00020000;    // had no end tag; closed at its start tag
  static constexpr std::uint32_t kIllFormed = 0x00040000;   // record 0 only: the document has an error
  static constexpr std::uint32_t kDepthMask = 0x0000FFFF;

  std::uint32_t start;       // offset of the element's "<"
  std::uint32_t length;      // "<" up to the last ">" of its end tag (or of an empty tag)
  std::uint32_t tagLengths;  // start tag length in bits 0-21, end tag length in bits 22-31
  std::uint32_t flags;
  ElementNumber parent;           // 0 for a top-level element
  ElementNumber firstChild;       // 0 when none
  ElementNumber nextSibling;      // 0 for the last child
  ElementNumber previousSibling;  // for the first child: the last child

  [[nodiscard]] std::uint32_t StartTagLength() const noexcept { return tagLengths & kMaxStartTagLength; }
  [[nodiscard]] std::uint32_t EndTagLength() const noexcept { return tagLengths >> 22; }
  [[nodiscard]] std::uint32_t Depth() const noexcept { return flags & kDepthMask; }
  // A single tag ending in "/>" (not an element closed for want of its end tag).
  [[nodiscard]] bool IsEmptyTag() const noexcept { return EndTagLength() == 0 && (flags & kNotEnded) == 0; }
  // Callers must keep both lengths within their limits.
  void SetTagLengths(std::uint32_t startTag, std::uint32_t endTag) noexcept {
    tagLengths = (startTag & kMaxStartTagLength) | (endTag << 22);
  }
};

class ElementIndex;  // segmented storage of the records (xml_element_index.h)

class XmlDocument {
 public:
  // Document flags: how the file was or is to be encoded.
  static constexpr std::uint32_t BOM_UTF16LE = 0x01;
  static constexpr std::uint32_t BOM_UTF8 = 0x04;
  static constexpr std::uint32_t BOM_UTF16BE = 0x80;

  // Empty text, empty index, flags 0, all positions 0.
  XmlDocument();
  ~XmlDocument();
  XmlDocument(const XmlDocument&) = delete;
  XmlDocument& operator=(const XmlDocument&) = delete;
  // A moved-from document may only be assigned to or destroyed.
  XmlDocument(XmlDocument&&) noexcept;
  XmlDocument& operator=(XmlDocument&&) noexcept;

  // Reads and decodes the file (byte-order mark, declared encoding, UTF-8 test), sets the
  // flags from the mark and parses. True only when the file was read and the document
  // is well-formed; an ill-formed document is still loaded and indexed as far as the
  // recovery rules allow. A missing, unconvertible or enormous file leaves the document
  // empty. Never throws. Positions become 0.
  bool LoadFile(std::u16string_view path);

  // Writes the text in the encoding the flags choose (UTF-16LE/BE or UTF-8 with their
  // mark, else the declared encoding, else UTF-8 when the text starts with "<", else
  // the system's 8-bit code page). Writes through a temporary file that replaces the
  // target only when complete: on failure the result says why (a text that cannot be
  // encoded is kFailed) and the old file stays as it was.
  FileWriteResult SaveFile(std::u16string_view path, FileWriter& writer = PlatformFileWriter());

  // SaveFile, except that a file already holding exactly the bytes it would write is
  // left untouched (no write, no flush): the rewrite after a read costs only a compare.
  // Saving to the path the document was loaded from compares with the bytes that load
  // read instead of reading the file again.
  FileWriteResult SaveFileIfChanged(std::u16string_view path);

  // Replaces the text, clears the diagnostic, parses. Flags are kept. True when
  // well-formed. Positions become 0.
  bool SetText(std::u16string_view text);

  // The next FindElement starts at the top level.
  void ResetPosition() noexcept;

  // Next element at the current level after the current position (or from the parent's
  // first child when there is no current position). Empty name: any element.
  // On failure nothing changes.
  bool FindElement(std::u16string_view name = {});

  // Next child of the current element after the child position. With no current
  // element, first does FindElement() (which stays done even if the child search fails).
  bool FindChildElement(std::u16string_view name = {});

  // The current element becomes the parent; its found child (if any) the current one.
  bool EnterElement() noexcept;
  // Back up one level: the parent becomes the current element again.
  bool LeaveElement() noexcept;

  // Decoded text content of an element: entities and numeric references resolved,
  // CDATA kept raw, comments and whitespace-only runs between them dropped. Empty for
  // an element with child elements, an empty tag, or an invalid number.
  [[nodiscard]] std::u16string GetElementText(ElementNumber element) const;
  [[nodiscard]] std::u16string GetCurrentText() const { return GetElementText(current_); }
  [[nodiscard]] std::u16string GetChildText() const { return GetElementText(child_); }

  // Replaces the content of the current element (entity-encoded; an integer as "%d").
  // False, and nothing changes, without a current element or when it has children.
  bool SetElementText(std::u16string_view text);
  bool SetElementText(std::int32_t value);

  // Inserts <name>content</name> (or <name/> for empty content) plus CR LF after the
  // current element, or as the last child of the parent position (at the end of the
  // text at the top level). It becomes the current element. False, and nothing changes,
  // when the name is not a valid tag name or the text would grow past the index limits.
  bool AddElement(std::u16string_view name, std::u16string_view text = {});
  bool AddElement(std::u16string_view name, std::int32_t value);

  // Document flags (BOM_*): set by LoadFile, used by SaveFile.
  [[nodiscard]] std::uint32_t Flags() const noexcept { return flags_; }
  void SetFlags(std::uint32_t flags) noexcept { flags_ = flags; }

  [[nodiscard]] const std::u16string& Text() const noexcept { return text_; }
  // What the last load, parse or save did, and the first parse error if any.
  [[nodiscard]] const std::u16string& Diagnostic() const noexcept { return diagnostic_; }
  [[nodiscard]] bool IsWellFormed() const noexcept;

  [[nodiscard]] ElementNumber ParentPosition() const noexcept { return parent_; }
  [[nodiscard]] ElementNumber CurrentPosition() const noexcept { return current_; }
  [[nodiscard]] ElementNumber ChildPosition() const noexcept { return child_; }
  [[nodiscard]] bool IsCurrentElement() const noexcept { return currentIsElement_; }

  // Index inspection. Records are numbered 1 .. ElementCount(); record 0 is the document.
  [[nodiscard]] ElementNumber ElementCount() const noexcept;
  [[nodiscard]] const ElementRecord& Record(ElementNumber element) const;
  [[nodiscard]] std::u16string_view ElementName(ElementNumber element) const;

 private:
  FileWriteResult Save(std::u16string_view path, bool skipWhenUnchanged, FileWriter& writer);
  // The bytes the last load read from `path`, when they were kept; else null.
  [[nodiscard]] const std::string* LoadedBytesOf(std::u16string_view path) const noexcept;
  void ForgetLoadedBytes() noexcept;
  void ClearPositions() noexcept;
  bool LoadFileContents(std::u16string_view path);
  // Empty text and index (record 0 only), for a load that could not be done.
  void ClearAfterFailure(std::u16string_view diagnostic) noexcept;
  void Parse();
  bool MatchesName(ElementNumber element, std::u16string_view name) const;
  ElementNumber FindSibling(ElementNumber from, std::u16string_view name) const;
  // Replaces text_[offset, offset + removed) by `inserted`, moves every record that
  // starts at or after offset + removed, and changes the length of `owner` and of all
  // its ancestors by the difference.
  void ReplaceText(std::size_t offset, std::size_t removed, std::u16string_view inserted, ElementNumber owner);
  // Growth policy of the text: the needed length plus half of it plus 128 units.
  void ReserveText(std::size_t needed);
  [[nodiscard]] bool FitsIndexLimits(std::size_t added) const noexcept;
  bool ReplaceContent(std::u16string_view text);
  bool InsertElement(std::u16string_view name, std::u16string_view encoded);
  void LinkNewElement(ElementNumber created, ElementNumber parent, ElementNumber after);

  std::u16string text_;
  std::u16string diagnostic_;
  // What the last successful read of a file gave, for SaveFileIfChanged; kept for
  // files of up to kMaxKeptBytes.
  std::string loadedBytes_;
  std::u16string loadedPath_;
  bool keepsLoadedBytes_ = false;
  std::unique_ptr<ElementIndex> index_;
  std::uint32_t flags_ = 0;
  ElementNumber parent_ = 0;
  ElementNumber current_ = 0;
  ElementNumber child_ = 0;
  bool currentIsElement_ = false;
};

}  // namespace quencfg
