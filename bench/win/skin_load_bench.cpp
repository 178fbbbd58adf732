// Ratio program: where the time of the skinned windows' layout goes under Wine, and
// what the skin image cache saves. First the pieces (decoders, copies, cuts, button
// windows; per 111, the number of keys), then the main window's layout pass, the
// lighting panel's creation and both together (start-up), each without the cache, with
// a cold one (as at start-up) and a warm one (a language change lays out again).
// Usage: skin_load_bench DATA_FOLDER   (the folder holding skins\ and Languages\)
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "quencfg/framework/folders.h"
#include "quencfg/framework/text.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/model/number_text.h"
#include "quencfg/ui/lighting/lighting_dlg_win.h"
#include "quencfg/ui/skin/skin_control_loaders_win.h"
#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_image_cache_win.h"
#include "quencfg/ui/skin/skin_language.h"
#include "quencfg/ui/skin/skins_folder_win.h"
#include "quencfg/ui/skin/skin_picture_win.h"

namespace {

using namespace quencfg;

double NowMs() {
  LARGE_INTEGER frequency{};
  LARGE_INTEGER counter{};
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double TimeMs(const std::function<void()>& work) {
  const double start = NowMs();
  work();
  return NowMs() - start;
}

// The fastest of a few runs, in milliseconds: the machine is shared, and the other
// loads only ever add time.
double BestMs(int runs, const std::function<void()>& work) {
  double best = TimeMs(work);
  for (int i = 1; i < runs; ++i) best = std::min(best, TimeMs(work));
  return best;
}

void Print(const char* name, double value) { std::printf("%s: %.3f\n", name, value); }

HWND MakeHost() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = ::DefWindowProcW;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"KorvaneSkinBenchHost";
  ::RegisterClassW(&windowClass);
  return ::CreateWindowExW(0, L"KorvaneSkinBenchHost", L"", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 1200, 672, nullptr,
                           nullptr, windowClass.hInstance, nullptr);
}

// The main window's command buttons, in its order.
constexpr std::array<const char16_t*, 12> kCommandKeys = {
    u"BUTTON_MIN",       u"BUTTON_EXIT",      u"BUTTON_APPLY",     u"BUTTON_CANCEL", u"BUTTON_SETTING",   u"BUTTON_OK",
    u"BUTTON_PROFILE_1", u"BUTTON_PROFILE_2", u"BUTTON_PROFILE_3", u"BUTTON_MACRO",  u"BUTTON_BACKLIGHT", u"BUTTON_RESET"};

std::u16string Skin(std::u16string_view name) { return SkinsFolder() + std::u16string(name); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: skin_load_bench DATA_FOLDER\n");
    return 2;
  }
  std::u16string folder = Utf8ToUtf16(argv[1]);
  if (!folder.empty() && folder.back() != u'\\') folder += u'\\';
  if (!SetAppFolder(folder)) return 2;
  SkinDocument().Load(LanguagesFilePath(u"Skins.xml"));
  StringDocument().Load(folder + u"Languages\\EN\\Strings.xml");
  SetSkinFontName(StringDocument().Lookup(u"GLOBAL", u"FONT"));
  SharedSkinImageCache().SetEnabled(false);  // the pieces below measure the decoder itself
  const HWND host = MakeHost();
  const int kRuns = 7;
  const int kCount = 111;

  // The pieces, per 111 operations.
  Print("decode_png_x111_ms", BestMs(kRuns, [&] {
          for (int i = 0; i < kCount; ++i) DecodePng(Skin(u"key100_normal.png"));
        }));
  Print("state_images_key100_x111_ms", BestMs(kRuns, [&] {
          for (int i = 0; i < kCount; ++i) LoadStateImages(u"key100", false);
        }));
  Print("state_images_btnColor2_x111_ms", BestMs(kRuns, [&] {
          for (int i = 0; i < kCount; ++i) LoadStateImages(u"btnColor2", false);
        }));
  const SkinBitmap background = DecodePicture(Skin(u"Main_bg.jpg"));
  Print("load_picture_background_ms", BestMs(kRuns, [&] { DecodePicture(Skin(u"Main_bg.jpg")); }));
  // The rendering a 192-DPI start reads: four times the pixels.
  Print("load_picture_background_200_ms", BestMs(kRuns, [&] { DecodePicture(Skin(u"200\\Main_bg.jpg")); }));
  Print("crop_background_x111_ms", BestMs(kRuns, [&] {
          for (int i = 0; i < kCount; ++i) CropBitmap(nullptr, background.get(), 300, 100, 360, 160);
        }));
  Print("lighting_mask_region_ms", BestMs(kRuns, [&] {
          const SkinBitmap mask = DecodePicture(Skin(u"Lighting_mask.bmp"));
          RegionFromMask(mask.get());
        }));
  const SkinBitmap whole = DecodePng(Skin(u"btnColor2_normal2.png"));
  Print("decode_whole_key_picture_ms", BestMs(kRuns, [&] { DecodePng(Skin(u"btnColor2_normal2.png")); }));
  Print("crop32_whole_x444_ms", BestMs(kRuns, [&] {
          for (int i = 0; i < kCount * 4; ++i) CropBitmap32(whole.get(), 300, 100, 360, 160);
        }));
  Print("crop32_once_copy3_x111_ms", BestMs(kRuns, [&] {
          for (int i = 0; i < kCount; ++i) {
            const SkinBitmap piece = CropBitmap32(whole.get(), 300, 100, 360, 160);
            for (int copy = 0; copy < 3; ++copy) CopySkinBitmap(piece);
          }
        }));
  Print("button_windows_x111_ms", BestMs(kRuns, [&] {
          std::vector<HWND> made;
          for (int i = 0; i < kCount; ++i) made.push_back(CreateSkinButtonWindow(host));
          for (HWND window : made) ::DestroyWindow(window);
        }));
  Print("skin_buttons_x111_ms", BestMs(kRuns, [&] {
          auto buttons = std::make_unique<std::array<CPngListBtn, kCount>>();
          for (auto& button : *buttons) button.Create(host);
        }));

  const SkinBitmap decoded = DecodePng(Skin(u"key100_normal.png"));
  Print("copy_png_x111_ms", BestMs(kRuns, [&] {
          for (int i = 0; i < kCount; ++i) CopySkinBitmap(decoded);
        }));

  // The main window's key and command passes and the lighting panel, as the windows
  // make them: without the cache, with a cold one (start-up) and a warm one (a
  // language change lays the windows out again).
  const auto mainPass = [&] {
    const SkinBitmap mainBackground = LoadPicture(SkinsFolder() + SkinDocument().Lookup(u"MAINSCREENNEW", u"Main"));
    auto keys = std::make_unique<std::array<CPngListBtn, KEY_COUNT>>();
    LayoutDocument().Load(LanguagesFilePath(u"KeyboardButtons.xml"));
    for (int i = 0; i < KEY_COUNT; ++i) {
      LoadPushButton((*keys)[static_cast<std::size_t>(i)], mainBackground, u"KEYBOARD",
                     u"BUTTON_" + FormatDecimal(i + 1), host, false);
    }
    auto commands = std::make_unique<std::array<CPngListBtn, kCommandKeys.size()>>();
    LayoutDocument().Load(LanguagesFilePath(u"Buttons.xml"));
    for (std::size_t i = 0; i < kCommandKeys.size(); ++i) {
      LoadPushButton((*commands)[i], mainBackground, u"MAIN", kCommandKeys[i], host, false);
    }
  };
  const auto lightingPanel = [&] {
    CLightingDlg panel([](HWND) {});
    panel.Create(host);
  };
  struct Pass {
    const char* name;
    std::function<void()> work;
  };
  // What the user waits for before the main window shows: both, one after the other.
  const auto startUp = [&] {
    mainPass();
    lightingPanel();
  };
  const Pass passes[] = {{"main_layout", mainPass}, {"lighting_create", lightingPanel}, {"start_up", startUp}};
  SkinImageCache& cache = SharedSkinImageCache();
  for (const Pass& pass : passes) {
    // The three ways in turn, so that a busy moment of the machine hits all of them.
    double uncached = 1e300;
    double cold = 1e300;
    double warm = 1e300;
    for (int run = 0; run < kRuns; ++run) {
      cache.SetEnabled(false);
      uncached = std::min(uncached, TimeMs(pass.work));
      cache.SetEnabled(true);  // switching off emptied it: a cold cache, as at start-up
      cold = std::min(cold, TimeMs(pass.work));
      warm = std::min(warm, TimeMs(pass.work));
    }
    // How many files one pass decodes, without the cache and with a cold one.
    cache.SetEnabled(false);
    const std::size_t before = cache.decodeCount();
    pass.work();
    const std::size_t uncachedDecodes = cache.decodeCount() - before;
    cache.SetEnabled(true);  // empty again
    const std::size_t coldBefore = cache.decodeCount();
    pass.work();
    const std::size_t coldDecodes = cache.decodeCount() - coldBefore;

    const std::string name = pass.name;
    Print((name + "_uncached_ms").c_str(), uncached);
    Print((name + "_cold_cache_ms").c_str(), cold);
    Print((name + "_warm_cache_ms").c_str(), warm);
    Print((name + "_decodes_uncached").c_str(), static_cast<double>(uncachedDecodes));
    Print((name + "_decodes_cold_cache").c_str(), static_cast<double>(coldDecodes));
    Print((name + "_cold_cache_ratio").c_str(), cold / uncached);
    Print((name + "_warm_cache_ratio").c_str(), warm / uncached);
  }

  ::DestroyWindow(host);
  return 0;
}
