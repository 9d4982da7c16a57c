#include "ui/settings/common_dialogs.h"

#include <commdlg.h>
#include <shobjidl.h>

#include "base/owners.h"
#include "base/system_text.h"
#include "services/capture/screen_grab.h"
#include "ui/settings/color_swatch.h"

namespace {

constexpr int kPointsPerInch = 72;
constexpr int kPointSizeTenths = 10;

// TrueType fonts only, and no effects: underline, strike-out and colour are not the watermark's.
bool ChooseFontDialog(HWND owner, FontChoice& font) {
  LOGFONTW logFont{};
  logFont.lfHeight = -MulDiv(font.size, static_cast<int>(ScreenPixelsPerInch()), kPointsPerInch);
  logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  logFont.lfItalic = font.italic;
  logFont.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(logFont.lfFaceName, Wide(font.name).c_str(), LF_FACESIZE);
  CHOOSEFONTW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpLogFont = &logFont;
  dialog.Flags = CF_TTONLY | CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
  if (!ChooseFontW(&dialog)) return false;
  // The name exactly as the dialog gives it, in whatever script.
  font = {Narrow(logFont.lfFaceName), dialog.iPointSize / kPointSizeTenths, logFont.lfWeight >= FW_BOLD,
          logFont.lfItalic != 0};
  return true;
}

bool ChooseColorDialog(HWND owner, COLORREF& color) {
  // The custom colours the user mixes are kept for the run, as the dialog's own.
  static COLORREF customColors[16] = {};
  CHOOSECOLORW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.rgbResult = color & kColorBits;
  dialog.lpCustColors = customColors;
  dialog.Flags = CC_RGBINIT;
  if (!ChooseColorW(&dialog)) return false;
  color = dialog.rgbResult;
  return true;
}

// COM for the length of one dialog; a thread that has it already keeps it.
class ComScope {
 public:
  ComScope() : started_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
  ~ComScope() {
    if (started_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool started_;
};

// The system's folder picker, opened at the folder given when it exists;
// only folders of the file system can be chosen.
bool ChooseFolderDialog(HWND owner, const std::string& title, std::string& folder) {
  const ComScope com;
  IFileOpenDialog* made = nullptr;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&made)))) return false;
  const owners::Com<IFileOpenDialog> dialog(made);
  FILEOPENDIALOGOPTIONS options = 0;
  dialog.get()->GetOptions(&options);
  dialog.get()->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
  dialog.get()->SetTitle(Wide(title).c_str());
  IShellItem* start = nullptr;
  if (!folder.empty() && SUCCEEDED(SHCreateItemFromParsingName(Wide(folder).c_str(), nullptr, IID_PPV_ARGS(&start)))) {
    const owners::Com<IShellItem> startItem(start);
    dialog.get()->SetFolder(startItem.get());
  }
  if (FAILED(dialog.get()->Show(owner))) return false;
  IShellItem* picked = nullptr;
  if (FAILED(dialog.get()->GetResult(&picked))) return false;
  const owners::Com<IShellItem> pickedItem(picked);
  PWSTR path = nullptr;
  if (FAILED(pickedItem.get()->GetDisplayName(SIGDN_FILESYSPATH, &path))) return false;
  const owners::TaskText pathText(path);
  folder = Narrow(pathText.get());
  return true;
}

}  // namespace

CommonDialogs SystemDialogs() { return {ChooseFontDialog, ChooseColorDialog, ChooseFolderDialog}; }
