#pragma once
// What the owner-drawn event list shows in a row, and where its grid lines run.
#include <string>
#include <string_view>
#include <vector>

namespace quencfg {

// At 96 DPI; the list scales it with the skin (ScaleToDpi).
inline constexpr int kListRowHeight = 15;

// The two text columns of a row that carries an image: the part before the first
// double blank, and the part from the eleventh character on (only for texts longer
// than 12 characters that do not start with "MS"); both trimmed of blanks.
struct RowColumns {
  std::u16string first;
  std::u16string second;
};

RowColumns SplitRowColumns(std::u16string_view text);

// Grid styles of the list: 0 lines below each of the first 12 rows and one at the top,
// 1 none, 2 lines below each of the first 29 rows.
enum ListGridStyle : int { kGridTwelveRows = 0, kGridNone = 1, kGridLong = 2 };

// The client y of every grid line of a style, for rows of `rowHeight`; an unknown
// style draws none.
std::vector<int> GridLineRows(int gridStyle, int rowHeight = kListRowHeight);

}  // namespace quencfg
