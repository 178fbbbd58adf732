#include "quencfg/ui/main/import_review_dlg_win.h"

#include <algorithm>
#include <utility>

#include "quencfg/framework/gdi_win.h"
#include "quencfg/framework/text.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/model/number_text.h"
#include "quencfg/ui/skin/skin_control_loaders_win.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_draw_win.h"
#include "quencfg/ui/skin/skin_rect.h"
#include "quencfg/ui/skin/skin_resource_bitmap_win.h"
#include "quencfg/ui/skin/skin_resource_ids.h"
#include "quencfg/ui/skin/skin_scale.h"
#include "quencfg/ui/skin/skins_folder_win.h"
#include "quencfg/ui/skin/skin_picture_win.h"

namespace quencfg {
namespace {

constexpr std::u16string_view kSection = u"IMPORT_REVIEW";

constexpr int kWidth = 640;
constexpr int kMargin = 28;
constexpr int kContentTop = 80;   // below the warning picture's sign and title
constexpr int kBottomBand = 72;   // the picture's button band, below its dividing line
constexpr int kMaxListHeight = 300;
constexpr int kButtonGap = 16;
constexpr INT_PTR kWithoutListed = 100;  // the modal result of "without these keys"
constexpr int kLineGap = 10;
constexpr int kWheelStep = 60;
constexpr int kLineStep = 20;

// Where the warning picture (440 x 240) is cut so that it stretches without distorting
// its sign, its edges or its dividing line: fixed corners, stretched middles.
constexpr int kPictureLeft = 100;
constexpr int kPictureRight = 40;
constexpr int kPictureTop = 80;
constexpr int kPictureBottom = 72;

// The pixel values above are at 96 DPI: the dialog scales them like the skin.
int Px(int value) { return ScaleToDpi(value, SkinDpi()); }

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr int kButtonFontHeight = 15;
constexpr LPARAM kRepeatBit = 0x40000000;  // WM_KEYDOWN of a key already down
constexpr COLORREF kTitleRed = 0x0000FF;
constexpr COLORREF kProgramColor = RGB(230, 230, 230);
constexpr COLORREF kFlaggedColor = RGB(255, 190, 60);
constexpr COLORREF kRefusedColor = RGB(255, 96, 96);
constexpr COLORREF kDetailColor = RGB(180, 190, 200);
constexpr COLORREF kFallbackFill = RGB(22, 26, 30);

constexpr UINT kHeadingFormat = DT_WORDBREAK | DT_NOPREFIX;
// Paths have no spaces to break at: the edit-control rule breaks inside a word.
constexpr UINT kDetailFormat = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX;

std::u16string_view NoteKey(ImportFlag flag) noexcept {
  switch (flag) {
    case ImportFlag::Program: return u"PROGRAM";
    case ImportFlag::Url: return u"URL";
    case ImportFlag::NetworkPath: return u"NETWORK";
    case ImportFlag::RelativePath: return u"RELATIVE";
    case ImportFlag::MissingMacro: return u"MISSING_MACRO";
    case ImportFlag::RefusedTooLong: return u"TOO_LONG";
    case ImportFlag::RefusedEmpty: return u"EMPTY";
    case ImportFlag::RefusedControl: return u"CONTROL";
  }
  return {};
}

COLORREF HeadingColor(ImportFlag flag) noexcept {
  if (IsRefused(flag)) return kRefusedColor;
  return flag == ImportFlag::Program ? kProgramColor : kFlaggedColor;
}

OwnedFont HeadingFont() { return CreateSkinFont(15, 700); }
OwnedFont DetailFont() { return CreateSkinFont(15, 400); }
OwnedFont IntroFont() { return CreateSkinFont(16, 500); }

int TextHeight(HDC dc, HFONT font, std::u16string_view text, int width, UINT format) {
  if (text.empty()) return 0;
  SelectScope select(dc, font);
  RECT rect{0, 0, width, 0};
  ::DrawTextW(dc, AsWide(text.data()), static_cast<int>(text.size()), &rect, format | DT_CALCRECT);
  return rect.bottom - rect.top;
}

void DrawTextIn(HDC dc, HFONT font, COLORREF color, std::u16string_view text, RECT rect, UINT format) {
  if (text.empty()) return;
  SelectScope select(dc, font);
  ::SetTextColor(dc, color);
  ::DrawTextW(dc, AsWide(text.data()), static_cast<int>(text.size()), &rect, format);
}

// The warning picture stretched to `width` x `height` in nine pieces.
SkinBitmap StretchedWarningPicture(const SkinBitmap& picture, int width, int height) {
  SkinBitmap canvas = CreateBitmap32(width, height);
  WindowDc screen(nullptr);
  MemoryDc dc(screen.get());
  SelectScope select(dc.get(), canvas.get());
  const RECT all{0, 0, width, height};
  OwnedBrush fill(::CreateSolidBrush(kFallbackFill));
  ::FillRect(dc.get(), &all, fill.get());
  if (picture.empty()) return canvas;
  const int sourceX[] = {0, Px(kPictureLeft), picture.width - Px(kPictureRight), picture.width};
  const int sourceY[] = {0, Px(kPictureTop), picture.height - Px(kPictureBottom), picture.height};
  const int targetX[] = {0, Px(kPictureLeft), width - Px(kPictureRight), width};
  const int targetY[] = {0, Px(kPictureTop), height - Px(kPictureBottom), height};
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      StretchBitmap(dc.get(), picture.get(),
                    RECT{targetX[column], targetY[row], targetX[column + 1], targetY[row + 1]},
                    RECT{sourceX[column], sourceY[row], sourceX[column + 1], sourceY[row + 1]});
    }
  }
  return canvas;
}

SkinRect ButtonEntry(std::u16string_view key, int left, int top) {
  SkinRect entry = LayoutDocument().LookupRect(kSection, key);
  if (entry.right <= entry.left || entry.bottom <= entry.top) {
    entry = ScaleSkinRect(ParseSkinRect(u"btnPng,0,0,120,40,,FALSE"), SkinDpi());
  }
  const int width = entry.right - entry.left;
  const int height = entry.bottom - entry.top;
  entry.left = left;
  entry.top = top;
  entry.right = left + width;
  entry.bottom = top + height;
  return entry;
}

}  // namespace

std::vector<ReviewLine> ReviewLines(const std::vector<ReviewedKey>& review) {
  SharedSkinDocument keyLayout;
  keyLayout.Load(LanguagesFilePath(u"KeyboardButtons.xml"));
  const std::u16string keyWord = LookupString(StringDocument(), kSection, u"KEY");
  std::vector<ReviewLine> lines;
  lines.reserve(review.size());
  for (const ReviewedKey& key : review) {
    std::u16string name(FieldText(keyLayout.LookupRect(u"KEYBOARD", u"BUTTON_" + FormatDecimal(key.slot + 1)).text));
    if (name.empty()) name = FormatDecimal(key.slot + 1);
    std::u16string heading = keyWord;
    heading.append(u" ").append(name).append(u" \u2014 ");
    heading += LookupString(StringDocument(), kSection, NoteKey(key.flag));
    lines.push_back(ReviewLine{std::move(heading), key.text, HeadingColor(key.flag)});
  }
  return lines;
}

// ---- the list ----

CImportReviewList::~CImportReviewList() {
  bars_.Detach();
  Destroy();
}

int CImportReviewList::MeasureHeight(HDC dc, const std::vector<ReviewLine>& lines, int width) {
  const OwnedFont heading = HeadingFont();
  const OwnedFont detail = DetailFont();
  int height = 0;
  for (const ReviewLine& line : lines) {
    if (height > 0) height += Px(kLineGap);
    height += TextHeight(dc, heading.get(), line.heading, width, kHeadingFormat);
    height += TextHeight(dc, detail.get(), line.detail, width, kDetailFormat);
  }
  return height;
}

bool CImportReviewList::Create(HWND parent, const RECT& place, const SkinBitmap& dialogBackground,
                               std::vector<ReviewLine> lines, int contentHeight) {
  lines_ = std::move(lines);
  contentHeight_ = contentHeight;
  visibleHeight_ = place.bottom - place.top;
  backgroundPiece_ = CropBitmap(nullptr, dialogBackground.get(), place.left, place.top, place.right, place.bottom);
  WindowCreateParams params;
  params.className = L"KorvaneImportReviewList";
  params.style = WS_CHILD | WS_VISIBLE | (scrolls() ? WS_VSCROLL : 0);
  params.x = place.left;
  params.y = place.top;
  params.width = place.right - place.left;
  params.height = visibleHeight_;
  params.parent = parent;
  if (!Window::Create(params)) return false;
  if (!scrolls()) return true;
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, contentHeight_ - 1,
                  static_cast<UINT>(visibleHeight_), 0, 0};
  ::SetScrollInfo(hwnd(), SB_VERT, &info, TRUE);
  return true;
}

void CImportReviewList::ShowScrollBar() {
  // The skinned bar shows only when its window is visible as it is attached.
  if (!scrolls() || bars_.window() != nullptr || !::IsWindowVisible(hwnd())) return;
  scrollBitmap_ = LoadSkinResourceBitmap(IDB_SCROLLBAR_GRID, SkinDpi());
  bars_.Attach(hwnd(), scrollBitmap_.get());
}

void CImportReviewList::ScrollTo(int position) {
  position = std::clamp(position, 0, std::max(0, contentHeight_ - visibleHeight_));
  if (position == position_) return;
  position_ = position;
  SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, position_, 0};
  ::SetScrollInfo(hwnd(), SB_VERT, &info, TRUE);
  bars_.Sync();
  ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void CImportReviewList::OnScroll(WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case SB_LINEUP: ScrollTo(position_ - Px(kLineStep)); break;
    case SB_LINEDOWN: ScrollTo(position_ + Px(kLineStep)); break;
    case SB_PAGEUP: ScrollTo(position_ - visibleHeight_); break;
    case SB_PAGEDOWN: ScrollTo(position_ + visibleHeight_); break;
    case SB_TOP: ScrollTo(0); break;
    case SB_BOTTOM: ScrollTo(contentHeight_); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: ScrollTo(static_cast<short>(HIWORD(wParam))); break;
    default: break;
  }
}

void CImportReviewList::Paint(HDC dc, const RECT& client) const {
  BlitBitmap(dc, backgroundPiece_, 0, 0);
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  const OwnedFont heading = HeadingFont();
  const OwnedFont detail = DetailFont();
  const int width = client.right - client.left;
  int y = -position_;
  for (const ReviewLine& line : lines_) {
    const int headingHeight = TextHeight(dc, heading.get(), line.heading, width, kHeadingFormat);
    DrawTextIn(dc, heading.get(), line.headingColor, line.heading, RECT{0, y, width, y + headingHeight},
               kHeadingFormat);
    y += headingHeight;
    const int detailHeight = TextHeight(dc, detail.get(), line.detail, width, kDetailFormat);
    DrawTextIn(dc, detail.get(), kDetailColor, line.detail, RECT{0, y, width, y + detailHeight}, kDetailFormat);
    y += detailHeight + Px(kLineGap);
  }
  ::SetBkMode(dc, oldMode);
}

LRESULT CImportReviewList::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const auto paint = [this](HDC dc, const RECT& client) { Paint(dc, client); };
  if (const auto painted = HandlePaintMessages(hwnd(), message, wParam, paint)) return *painted;
  switch (message) {
    case WM_VSCROLL:
      OnScroll(wParam);
      return 0;
    case WM_MOUSEWHEEL:
      ScrollTo(position_ - GET_WHEEL_DELTA_WPARAM(wParam) * Px(kWheelStep) / WHEEL_DELTA);
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

// ---- the dialog ----

CImportReviewDlg::CImportReviewDlg(HWND parent, std::vector<ReviewedKey> review)
    : parent_(parent), review_(std::move(review)) {}

ImportChoice CImportReviewDlg::DoModal() {
  const INT_PTR result = Window::DoModal(parent_);
  Destroy();
  if (result == IDOK) return ImportChoice::KeepListed;
  return result == kWithoutListed ? ImportChoice::WithoutListed : ImportChoice::Cancel;
}

bool CImportReviewDlg::CreateForModal(HWND owner) {
  std::vector<ReviewLine> lines = ReviewLines(review_);
  const int textWidth = Px(kWidth) - 2 * Px(kMargin);
  int introHeight = 0;
  int contentHeight = 0;
  {
    WindowDc screen(nullptr);
    const OwnedFont intro = IntroFont();
    introHeight = TextHeight(screen.get(), intro.get(), LookupString(StringDocument(), kSection, u"INTRO"), textWidth,
                             DT_WORDBREAK | DT_NOPREFIX);
    contentHeight = CImportReviewList::MeasureHeight(screen.get(), lines, textWidth);
    // A list that scrolls gives up the width of its bar.
    if (contentHeight > Px(kMaxListHeight)) {
      const int besideTheBar = textWidth - ::GetSystemMetrics(SM_CXVSCROLL);
      contentHeight = CImportReviewList::MeasureHeight(screen.get(), lines, besideTheBar);
    }
  }
  const int listHeight = std::min(contentHeight, Px(kMaxListHeight));
  const int listTop = Px(kContentTop) + introHeight + Px(kLineGap);
  const int height = listTop + listHeight + Px(kLineGap) + Px(kBottomBand);
  introRect_ = RECT{Px(kMargin), Px(kContentTop), Px(kMargin) + textWidth, Px(kContentTop) + introHeight};

  const SkinBitmap picture = LoadPicture(SkinsFolder() + SkinDocument().Lookup(u"MAINSCREENNEW", u"Warn"));
  background_ = StretchedWarningPicture(picture, Px(kWidth), height);

  RECT over{};
  if (parent_ == nullptr || !::GetWindowRect(parent_, &over)) {
    over = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  }
  WindowCreateParams params;
  params.className = L"KorvaneImportReviewDlg";
  params.style = WS_POPUP;
  params.x = over.left + (over.right - over.left - Px(kWidth)) / 2;
  params.y = over.top + (over.bottom - over.top - height) / 2;
  params.width = Px(kWidth);
  params.height = height;
  params.parent = owner;
  if (!Create(params)) return false;
  list_.Create(hwnd(), RECT{Px(kMargin), listTop, Px(kMargin) + textWidth, listTop + listHeight}, background_,
               std::move(lines), contentHeight);
  CreateButtons();
  return true;
}

void CImportReviewDlg::CreateButtons() {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  const std::pair<CPngListBtn*, std::u16string_view> buttons[] = {
      {&keepButton_, u"KEEP"}, {&leaveOutButton_, u"LEAVE_OUT"}, {&cancelButton_, u"CANCEL"}};
  const SkinRect first = ButtonEntry(u"BUTTON_KEEP", 0, 0);
  const int buttonWidth = first.right - first.left;
  const int buttonHeight = first.bottom - first.top;
  const int count = static_cast<int>(std::size(buttons));
  int left = (client.right - count * buttonWidth - (count - 1) * Px(kButtonGap)) / 2;
  const int top = client.bottom - Px(kBottomBand) + (Px(kBottomBand) - buttonHeight) / 2;
  for (const auto& [button, name] : buttons) {
    const SkinRect entry = ButtonEntry(u"BUTTON_" + std::u16string(name), left, top);
    LoadPushButtonFor(*button, background_, entry, hwnd(), false);
    button->SetCaption(LookupString(StringDocument(), kSection, name));
    button->SetFontHeight(kButtonFontHeight);
    button->SetTextColors(kWhite, kWhite, kWhite);
    left += buttonWidth + Px(kButtonGap);
  }
  // The keyboard starts on the choice that imports without the listed keys: a key
  // pressed by chance never keeps them.
  focused_ = leaveOutButton_.hwnd();
}

bool CImportReviewDlg::PreTranslateMessage(MSG& message) {
  if (!IsFor(message)) return false;
  if (message.message == WM_MOUSEWHEEL) {
    ::SendMessageW(list_.hwnd(), message.message, message.wParam, message.lParam);
    return true;
  }
  if (!IsKeyboardMessage(message.message)) return false;
  if (message.message == WM_KEYDOWN) {
    const bool repeated = (message.lParam & kRepeatBit) != 0;
    switch (message.wParam) {
      case VK_ESCAPE: EndModal(IDCANCEL); break;  // like closing: nothing is imported
      case VK_TAB: MoveFocus((::GetKeyState(VK_SHIFT) & 0x8000) != 0 ? -1 : 1); break;
      case VK_LEFT:
      case VK_UP: MoveFocus(-1); break;
      case VK_RIGHT:
      case VK_DOWN: MoveFocus(1); break;
      case VK_RETURN:
      case VK_SPACE:
        if (!repeated) PressFocusedButton();  // a key held from before presses nothing
        break;
      default: return false;
    }
    return true;
  }
  // The characters of the keys above do nothing more.
  return message.message == WM_CHAR &&
         (message.wParam == L'\r' || message.wParam == L' ' || message.wParam == L'\t' || message.wParam == 0x1B);
}

void CImportReviewDlg::MoveFocus(int step) {
  const auto buttons = Buttons();
  const int count = static_cast<int>(buttons.size());
  const auto at = std::find_if(buttons.begin(), buttons.end(), [this](CPngListBtn* b) { return b->hwnd() == focused_; });
  const int index = at == buttons.end() ? 0 : (static_cast<int>(at - buttons.begin()) + step + count) % count;
  focused_ = buttons[static_cast<std::size_t>(index)]->hwnd();
  ::SetFocus(focused_);
}

void CImportReviewDlg::PressFocusedButton() { Answer(focused_); }

void CImportReviewDlg::Answer(HWND button) {
  if (button == nullptr) return;
  if (button == keepButton_.hwnd()) EndModal(IDOK);
  if (button == leaveOutButton_.hwnd()) EndModal(kWithoutListed);
  if (button == cancelButton_.hwnd()) EndModal(IDCANCEL);
}

void CImportReviewDlg::Paint(HDC dc) const {
  BlitBitmap(dc, background_, 0, 0);
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  const OwnedFont title = CreateSkinFont(35, 700);
  DrawTextIn(dc, title.get(), kTitleRed, LookupString(StringDocument(), kSection, u"TITLE"),
             RECT{Px(80), Px(18), Px(kWidth) - Px(kMargin), Px(68)},
             DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  const OwnedFont intro = IntroFont();
  DrawTextIn(dc, intro.get(), kWhite, LookupString(StringDocument(), kSection, u"INTRO"), introRect_,
             DT_WORDBREAK | DT_NOPREFIX);
  ::SetBkMode(dc, oldMode);
}

LRESULT CImportReviewDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const auto paint = [this](HDC dc, const RECT&) { Paint(dc); };
  if (const auto painted = HandlePaintMessages(hwnd(), message, wParam, paint)) return *painted;
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) Answer(reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CLOSE:
      EndModal(IDCANCEL);  // closing imports nothing
      return 0;
    case WM_ACTIVATE:
      // Active again, the keyboard is where the user left it.
      if (LOWORD(wParam) != WA_INACTIVE && focused_ != nullptr) {
        ::SetFocus(focused_);
        return 0;
      }
      return DefaultHandling(message, wParam, lParam);
    case WM_WINDOWPOSCHANGED:
      if ((reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW) != 0) list_.ShowScrollBar();
      return DefaultHandling(message, wParam, lParam);
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

ImportChoice AskAboutImport(HWND owner, const std::vector<ReviewedKey>& review) {
  if (review.empty()) return ImportChoice::KeepListed;
  CImportReviewDlg dialog(owner, review);
  return dialog.DoModal();
}

}  // namespace quencfg
