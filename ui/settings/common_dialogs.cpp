#include "ui/settings/common_dialogs.h"

#include <commdlg.h>

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

}  // namespace

CommonDialogs SystemDialogs() { return {ChooseFontDialog, ChooseColorDialog}; }
