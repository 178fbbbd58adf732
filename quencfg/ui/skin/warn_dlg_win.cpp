#include "quencfg/ui/skin/warn_dlg_win.h"

#include <algorithm>

#include "quencfg/ui/skin/skin_control_loaders_win.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_draw_win.h"
#include "quencfg/ui/skin/skin_text_win.h"
#include "quencfg/ui/skin/skins_folder_win.h"
#include "quencfg/ui/skin/skin_picture_win.h"

namespace quencfg {
namespace {

constexpr int kFallbackWidth = 420;  // the dialog still answers when its picture is missing
constexpr int kFallbackHeight = 220;
constexpr SIZE kFallbackButton{120, 40};
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kTitleRed = 0x0000FF;

// The place of a button standing alone: its own size, centred on the place that it and
// `partner` take together (with no partner, where it is).
SkinRect AloneInTheMiddle(SkinRect alone, const SkinRect& partner) {
  if (partner.right <= partner.left) return alone;
  const int width = alone.right - alone.left;
  const int middle = (std::min(alone.left, partner.left) + std::max(alone.right, partner.right)) / 2;
  alone.left = middle - width / 2;
  alone.right = alone.left + width;
  return alone;
}

bool IsAnsweringKey(const MSG& message) {
  switch (message.message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      return message.wParam == VK_RETURN || message.wParam == VK_ESCAPE || message.wParam == VK_SPACE;
    case WM_CHAR:
      return message.wParam == L'\r' || message.wParam == 0x1B || message.wParam == L' ';
    default:
      return false;
  }
}

}  // namespace

std::u16string_view WarningMessageKey(int warningType) noexcept {
  switch (warningType) {
    case 1: return u"SAVE_CHANGE";
    case 2: return u"LAYER_RESET";
    case 3: return u"MAXWARN";
    case 4: return u"RECORD_OUTOFRANGE";
    case kImportUnreadableWarning: return u"IMPORT_UNREADABLE";
    case kImportDamagedWarning: return u"IMPORT_DAMAGED";
    case kImportNoProfileWarning: return u"IMPORT_NOPROFILE";
    case kDiscardMacroEditsWarning: return u"DISCARD_MACRO_EDITS";
    case kMacroNameInUseWarning: return u"MACRO_NAME_IN_USE";
    case kMacroNameUnusableWarning: return u"MACRO_NAME_UNUSABLE";
    case kMacroFullWarning: return u"MACRO_FULL";
    case kExportFailedWarning: return u"EXPORT_FAILED";
    case kSaveFailedWarning: return u"SAVE_FAILED";
    case kQuitWithUnappliedEditsWarning: return u"QUIT_UNAPPLIED";
    default: return {};
  }
}

bool WarningAsks(int warningType) noexcept {
  switch (warningType) {
    case 1:  // SAVE_CHANGE
    case 2:  // LAYER_RESET
    case kDiscardMacroEditsWarning:
    case kQuitWithUnappliedEditsWarning:
      return true;
    default:
      return false;
  }
}

CWarnDlg::CWarnDlg(HWND parent, int warningType) : parent_(parent), warningType_(warningType) {}

std::u16string CWarnDlg::MessageText() const {
  if (!messageText_.empty()) return messageText_;
  const std::u16string_view key = WarningMessageKey(warningType_);
  return key.empty() ? std::u16string() : LookupString(StringDocument(), u"WARN_STRING", key);
}

INT_PTR CWarnDlg::DoModal() {
  const INT_PTR result = Window::DoModal(parent_);
  Destroy();
  return result;
}

POINT CWarnDlg::Placement(int width, int height) const {
  RECT over{};
  if (parent_ == nullptr || !::GetWindowRect(parent_, &over)) {
    over = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  }
  return POINT{over.left + (over.right - over.left - width) / 2, over.top + (over.bottom - over.top - height) / 2};
}

bool CWarnDlg::CreateForModal(HWND owner) {
  background_ = LoadPicture(SkinsFolder() + SkinDocument().Lookup(u"MAINSCREENNEW", u"Warn"));
  const int width = background_.empty() ? kFallbackWidth : background_.width;
  const int height = background_.empty() ? kFallbackHeight : background_.height;
  const POINT at = Placement(width, height);
  WindowCreateParams params;
  params.className = L"KorvaneWarnDlg";
  params.title = L"";
  params.style = WS_POPUP;
  params.x = at.x;
  params.y = at.y;
  params.width = width;
  params.height = height;
  params.parent = owner;
  if (!Create(params)) return false;
  if (answers_.empty()) {
    CreateButtons(width, height);
  } else {
    CreateAnswerButtons(width, height);
  }
  return true;
}

// A question gets Cancel and OK where the skin puts them; a warning that only informs
// gets OK alone, in the middle of the place the two share.
void CWarnDlg::CreateButtons(int width, int height) {
  const bool asks = WarningAsks(warningType_);
  const SkinRect cancelPlace = LayoutDocument().LookupRect(u"WARN_STRING", u"BUTTON_CANCEL");
  SkinRect okPlace = LayoutDocument().LookupRect(u"WARN_STRING", u"BUTTON_OK");
  if (!asks) okPlace = AloneInTheMiddle(okPlace, cancelPlace);
  const struct {
    CPngListBtn* button;
    std::u16string_view caption;
    const SkinRect& place;
  } buttons[] = {{&cancelButton_, u"CANCEL", cancelPlace}, {&okButton_, u"OK", okPlace}};
  int fallbackRight = width - 16;
  for (const auto& [button, caption, place] : buttons) {
    if (!asks && button == &cancelButton_) continue;
    LoadPushButtonFor(*button, background_, place, hwnd(), false);
    button->SetCaption(StringDocument().Lookup(u"MAIN", caption));
    button->SetTextColors(kWhite, kWhite, kWhite);
    // Without a layout entry a button would have no size, and nothing could answer.
    RECT placed{};
    ::GetClientRect(button->hwnd(), &placed);
    if (placed.right <= 0 || placed.bottom <= 0) {
      fallbackRight -= kFallbackButton.cx;
      ::MoveWindow(button->hwnd(), asks ? fallbackRight : (width - kFallbackButton.cx) / 2,
                   height - kFallbackButton.cy - 16, kFallbackButton.cx, kFallbackButton.cy, FALSE);
      fallbackRight -= 8;
    }
  }
}

void CWarnDlg::SetAnswers(std::vector<WarningAnswer> answers) {
  if (answers.size() > kMaxWarningAnswers) answers.resize(kMaxWarningAnswers);
  answers_ = std::move(answers);
}

void CWarnDlg::CreateAnswerButtons(int width, int height) {
  const int count = static_cast<int>(answers_.size());
  for (int i = 0; i < count; ++i) {
    const WarningAnswer& answer = answers_[static_cast<std::size_t>(i)];
    CPngListBtn& button = answerButtons_[static_cast<std::size_t>(i)];
    LoadPushButton(button, background_, u"WARN_STRING", answer.layoutKey, hwnd(), false);
    button.SetCaption(answer.caption);
    button.SetTextColors(kWhite, kWhite, kWhite);
    RECT placed{};
    ::GetClientRect(button.hwnd(), &placed);
    if (placed.right <= 0 || placed.bottom <= 0) {
      // Without a layout entry: side by side along the bottom, so that each can answer.
      const int slot = (width - 16) / count;
      ::MoveWindow(button.hwnd(), 8 + i * slot + 4, height - kFallbackButton.cy - 16, slot - 8, kFallbackButton.cy,
                   FALSE);
    }
  }
}

HWND CWarnDlg::AnswerButton(INT_PTR result) const noexcept {
  if (answers_.empty()) {
    if (result == IDOK) return okButton_.hwnd();
    if (result == IDCANCEL) return cancelButton_.hwnd();
  }
  for (std::size_t i = 0; i < answers_.size(); ++i) {
    if (answers_[i].result == result) return answerButtons_[i].hwnd();
  }
  return nullptr;
}

bool CWarnDlg::PreTranslateMessage(MSG& message) {
  return IsAnsweringKey(message) && IsFor(message);
}

void CWarnDlg::Paint(HDC dc) const {
  BlitBitmap(dc, background_, 0, 0);
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  {
    OwnedFont titleFont = CreateSkinFont(35, 700);
    SelectScope select(dc, titleFont.get());
    ::SetTextColor(dc, kTitleRed);
    DrawSkinText(dc, u"WARN_STRING", u"WARNING", DT_WORDBREAK);
  }
  const std::u16string_view messageKey = WarningMessageKey(warningType_);
  if (!messageKey.empty()) {
    OwnedFont messageFont = CreateSkinFont(16, 500);
    SelectScope select(dc, messageFont.get());
    ::SetTextColor(dc, kWhite);
    DrawSkinText(dc, u"WARN_STRING", messageKey, MessageText(), DT_WORDBREAK);
  }
  ::SetBkMode(dc, oldMode);
}

LRESULT CWarnDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsKeyboardMessage(message)) ++keyMessagesSeen_;
  const auto paint = [this](HDC dc, const RECT&) { Paint(dc); };
  if (const auto painted = HandlePaintMessages(hwnd(), message, wParam, paint)) return *painted;
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) {
        HWND from = reinterpret_cast<HWND>(lParam);
        if (from == okButton_.hwnd()) EndModal(IDOK);
        if (from == cancelButton_.hwnd()) EndModal(IDCANCEL);
        for (std::size_t i = 0; i < answers_.size(); ++i) {
          if (from == answerButtons_[i].hwnd()) EndModal(answers_[i].result);
        }
      }
      return 0;
    case WM_CLOSE:
      EndModal(IDCANCEL);  // closed by the system: not an agreement
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

}  // namespace quencfg
