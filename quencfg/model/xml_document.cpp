#include "quencfg/model/xml_document.h"

#include <exception>
#include <utility>

#include "quencfg/framework/files.h"
#include "quencfg/framework/system_error.h"
#include "quencfg/model/xml_element_index.h"
#include "quencfg/model/xml_file_codec.h"
#include "quencfg/model/xml_parser.h"

namespace quencfg {
namespace {

// The system's message for the last error: first line only, at most 100 units.
std::u16string SystemErrorLine() {
  std::u16string message = LastSystemErrorMessage();
  const std::size_t lineBreak = message.find_first_of(u"\r\n");
  if (lineBreak != std::u16string::npos) message.resize(lineBreak);
  if (message.size() > 100) message.resize(100);
  return message;
}

// Larger files are read back for the compare rather than held twice in memory.
constexpr std::size_t kMaxKeptBytes = 1u << 20;

}  // namespace

XmlDocument::XmlDocument() : index_(std::make_unique<ElementIndex>()) { index_->Reset(0); }
XmlDocument::~XmlDocument() = default;
XmlDocument::XmlDocument(XmlDocument&&) noexcept = default;
XmlDocument& XmlDocument::operator=(XmlDocument&&) noexcept = default;

bool XmlDocument::LoadFile(std::u16string_view path) {
  ClearPositions();
  flags_ = 0;
  try {
    return LoadFileContents(path);
  } catch (const std::exception&) {  // out of memory on an enormous file
    ForgetLoadedBytes();
    ClearAfterFailure(u"Out of memory");
    return false;
  }
}

bool XmlDocument::LoadFileContents(std::u16string_view path) {
  ClearAfterFailure(u"");
  ForgetLoadedBytes();
  std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) {
    diagnostic_ = SystemErrorLine();
    return false;
  }
  DecodedXmlFile decoded = DecodeXmlFile(*bytes);
  if (bytes->size() <= kMaxKeptBytes) {
    loadedBytes_ = std::move(*bytes);
    loadedPath_.assign(path);
    keepsLoadedBytes_ = true;
  }
  bytes.reset();
  diagnostic_ = std::move(decoded.diagnostic);
  flags_ = decoded.flags;
  if (!decoded.ok) return false;
  text_ = std::move(decoded.text);
  Parse();
  return IsWellFormed();
}

void XmlDocument::ClearAfterFailure(std::u16string_view diagnostic) noexcept {
  std::u16string().swap(text_);
  diagnostic_.clear();
  try {
    diagnostic_.assign(diagnostic);
  } catch (const std::exception&) {
  }
  index_->Clear();
}

FileWriteResult XmlDocument::SaveFile(std::u16string_view path, FileWriter& writer) {
  return Save(path, false, writer);
}

FileWriteResult XmlDocument::SaveFileIfChanged(std::u16string_view path) {
  return Save(path, true, PlatformFileWriter());
}

FileWriteResult XmlDocument::Save(std::u16string_view path, bool skipWhenUnchanged, FileWriter& writer) {
  constexpr FileWriteResult kFailed{FileWriteStatus::kFailed};
  try {
    const std::string* loaded = skipWhenUnchanged ? LoadedBytesOf(path) : nullptr;
    EncodedXmlFile encoded = EncodeXmlFile(text_, flags_, loaded);
    diagnostic_ = std::move(encoded.diagnostic);
    if (!encoded.ok) return kFailed;
    if (encoded.sameAsExpected) return {};
    if (skipWhenUnchanged && loaded == nullptr && ReadWholeFile(path) == encoded.bytes) return {};
    // Whatever happens now, the file may no longer hold the loaded bytes.
    ForgetLoadedBytes();
    const FileWriteResult written = writer.ReplaceContents(path, encoded.bytes);
    if (!written) diagnostic_ = SystemErrorLine();
    return written;
  } catch (const std::exception&) {
    diagnostic_.clear();
    return kFailed;
  }
}

const std::string* XmlDocument::LoadedBytesOf(std::u16string_view path) const noexcept {
  return keepsLoadedBytes_ && path == loadedPath_ ? &loadedBytes_ : nullptr;
}

void XmlDocument::ForgetLoadedBytes() noexcept {
  keepsLoadedBytes_ = false;
  std::string().swap(loadedBytes_);
  loadedPath_.clear();
}

bool XmlDocument::SetText(std::u16string_view text) {
  ClearPositions();
  try {
    text_.assign(text);
    diagnostic_.clear();
    Parse();
    return IsWellFormed();
  } catch (const std::exception&) {
    ClearAfterFailure(u"Out of memory");
    return false;
  }
}

bool XmlDocument::IsWellFormed() const noexcept {
  const ElementRecord& document = (*index_)[0];
  if ((document.flags & ElementRecord::kIllFormed) != 0 || document.firstChild == 0) return false;
  return (*index_)[document.firstChild].nextSibling == 0;
}

ElementNumber XmlDocument::ElementCount() const noexcept { return index_->Used() - 1; }

const ElementRecord& XmlDocument::Record(ElementNumber element) const {
  return (*index_)[element < index_->Used() ? element : 0];
}

void XmlDocument::Parse() {
  const std::u16string message = BuildElementIndex(text_, *index_);
  diagnostic_ += message;
}

void XmlDocument::ClearPositions() noexcept {
  parent_ = current_ = child_ = 0;
  currentIsElement_ = false;
}

void XmlDocument::ResetPosition() noexcept { ClearPositions(); }

}  // namespace quencfg
