#include "quencfg/framework/file_writer.h"

namespace quencfg {
namespace {

class PlatformWriter final : public FileWriter {
 public:
  FileWriteResult ReplaceContents(std::u16string_view path, std::string_view bytes) override {
    return ReplaceFileContents(path, bytes);
  }
};

}  // namespace

FileWriter& PlatformFileWriter() noexcept {
  static PlatformWriter writer;
  return writer;
}

}  // namespace quencfg
