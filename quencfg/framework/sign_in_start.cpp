#include "quencfg/framework/sign_in_start.h"

#include <vector>

namespace quencfg {
namespace {

bool IsSpace(char16_t c) noexcept { return c == u' ' || c == u'\t'; }

char16_t Lower(char16_t c) noexcept { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

// The arguments split at white space outside quotes, the quotes dropped.
std::vector<std::u16string> SplitArguments(std::u16string_view arguments) {
  std::vector<std::u16string> result;
  std::u16string current;
  bool quoted = false;
  bool inArgument = false;
  for (const char16_t c : arguments) {
    if (c == u'"') {
      quoted = !quoted;
      inArgument = true;
    } else if (IsSpace(c) && !quoted) {
      if (inArgument) result.push_back(std::move(current));
      current.clear();
      inArgument = false;
    } else {
      current += c;
      inArgument = true;
    }
  }
  if (inArgument) result.push_back(std::move(current));
  return result;
}

bool IsTraySwitch(std::u16string_view argument) {
  const std::u16string_view name = std::u16string_view(kTraySwitch).substr(1);
  if (argument.size() != name.size() + 1 || (argument[0] != u'/' && argument[0] != u'-')) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (Lower(argument[i + 1]) != name[i]) return false;
  }
  return true;
}

}  // namespace

std::u16string SignInCommand(std::u16string_view exePath) {
  std::u16string command = u"\"";
  command += exePath;
  command += u"\" ";
  command += kTraySwitch;
  return command;
}

bool StartsInTray(std::u16string_view arguments) {
  for (const std::u16string& argument : SplitArguments(arguments)) {
    if (IsTraySwitch(argument)) return true;
  }
  return false;
}

bool InstallsSignInStart(std::u16string_view startAtSignIn, bool upgrading, bool runValuePresent) {
  if (!startAtSignIn.empty()) return startAtSignIn != u"0";
  return !upgrading || runValuePresent;
}

}  // namespace quencfg
