#include "quencfg/ui/skin/list_rows.h"

namespace quencfg {
namespace {

constexpr std::size_t kSecondColumnStart = 10;     // the eleventh character
constexpr std::size_t kSecondColumnMinLength = 13; // longer than 12 characters

std::u16string Trim(std::u16string_view text) {
  const auto isBlank = [](char16_t c) { return c == u' ' || c == u'\t'; };
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return std::u16string(text.substr(begin, end - begin));
}

// A line along the bottom of each of the first `rows` rows.
void AddRowLines(std::vector<int>& lines, int rowHeight, int rows) {
  for (int row = 0; row < rows; ++row) lines.push_back((row + 1) * rowHeight - 1);
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// The second column starts at the eleventh character. In a text with a first column,
// a name reaching past it or a number right-aligned across it would be cut in two:
// then the column starts after the first column's blanks, or where that word starts.
std::size_t SecondColumnStart(std::u16string_view text, std::size_t gap) {
  if (gap == std::u16string_view::npos) return kSecondColumnStart;
  std::size_t afterGap = gap;
  while (afterGap < text.size() && IsBlank(text[afterGap])) ++afterGap;
  if (afterGap >= kSecondColumnStart) return afterGap;
  std::size_t start = kSecondColumnStart;
  while (start > afterGap && !IsBlank(text[start]) && !IsBlank(text[start - 1])) --start;
  return start;
}

}  // namespace

RowColumns SplitRowColumns(std::u16string_view text) {
  RowColumns columns;
  const std::size_t gap = text.find(u"  ");
  if (gap != std::u16string_view::npos) columns.first = Trim(text.substr(0, gap));
  if (text.size() >= kSecondColumnMinLength && text.substr(0, 2) != u"MS") {
    columns.second = Trim(text.substr(SecondColumnStart(text, gap)));
  }
  return columns;
}

std::vector<int> GridLineRows(int gridStyle, int rowHeight) {
  std::vector<int> lines;
  if (rowHeight <= 0) return lines;
  switch (gridStyle) {
    case kGridTwelveRows:
      lines.push_back(0);
      AddRowLines(lines, rowHeight, 12);
      break;
    case kGridLong:
      AddRowLines(lines, rowHeight, 29);
      break;
    default:
      break;
  }
  return lines;
}

}  // namespace quencfg
