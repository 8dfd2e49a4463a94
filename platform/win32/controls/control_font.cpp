#include "platform/win32/controls/control_font.h"

namespace platform::win32 {
namespace {

constexpr int kPointSize = 8;
constexpr int kPointsPerInch = 72;

// The windows were laid out for the runtime's default font, MS Sans Serif at 8 points. That is
// a bitmap font with a few sizes only: from 144 to 240 dots per inch it stays at the size it has
// for 144, and 8 points at 200% would come out at three quarters of their size. "MS Shell Dlg"
// is the system's name for its scalable dialog face (Microsoft Sans Serif on Windows, a TrueType
// face with the widths of MS Sans Serif; Tahoma under Wine), which at 8 points follows the
// screen at any dots per inch and keeps every caption within its control. The stock
// DEFAULT_GUI_FONT is the same face, but Wine makes it larger than 8 points above 96 dots per
// inch, enough to cut off "Crosshair" at 144.
HFONT CreateControlFont() {
  HDC screen = GetDC(nullptr);
  const int dotsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  HFONT font =
      CreateFontA(-MulDiv(kPointSize, dotsPerInch, kPointsPerInch), 0, 0, 0, FW_NORMAL, FALSE,
                  FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Shell Dlg");
  return font != nullptr ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace

HFONT ControlFont() {
  static const HFONT font = CreateControlFont();
  return font;
}

}  // namespace platform::win32
