#include "app/win/appearance_dialog.h"

#include <commdlg.h>

#include <array>

#include "app/appearance.h"
#include "platform/win32/dialog.h"
#include "resource.h"

namespace qlx {
namespace {

constexpr int kPointsPerInch = 72;
constexpr int kTenthsPerPoint = 10;

}  // namespace

bool ChooseFontSetting(HWND owner, FontSetting& font, bool effects) {
  LOGFONTA lf{};
  HDC screen = ::GetDC(nullptr);
  lf.lfHeight = -::MulDiv(font.size, ::GetDeviceCaps(screen, LOGPIXELSY), kPointsPerInch);
  ::ReleaseDC(nullptr, screen);
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = font.italic ? TRUE : FALSE;
  lf.lfUnderline = font.underline ? TRUE : FALSE;
  lf.lfStrikeOut = font.strikeout ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  ::lstrcpynA(lf.lfFaceName, font.name.c_str(), LF_FACESIZE);

  CHOOSEFONTA cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = owner;
  cf.lpLogFont = &lf;
  cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | (effects ? CF_EFFECTS : 0);
  cf.rgbColors = static_cast<COLORREF>(font.color);
  if (!::ChooseFontA(&cf)) return false;

  font.name = lf.lfFaceName;
  if (cf.iPointSize > 0) font.size = cf.iPointSize / kTenthsPerPoint;
  font.bold = lf.lfWeight >= FW_BOLD;
  font.italic = lf.lfItalic != 0;
  font.underline = lf.lfUnderline != 0;
  font.strikeout = lf.lfStrikeOut != 0;
  if (effects) font.color = static_cast<int32_t>(cf.rgbColors);
  return true;
}

bool TAppearance::ShowModal(HWND owner) { return RunModal(IDD_APPEARANCE, owner) == IDOK; }

bool TAppearance::OnCommand(int id, int, HWND) {
  switch (id) {
    case IDC_AP_GRID_FONT: GridFontButtonClick(); return true;
    case IDC_AP_TITLE_FONT: TitleFontButtonClick(); return true;
    default: return false;
  }
}

void TAppearance::FormShow() {
  grid_font_ = settings_.grid_font;
  title_font_ = settings_.grid_title_font;
  const std::array<int32_t, 3> widths = {settings_.col1_width, settings_.col2_width, settings_.col3_width};
  for (int i = 0; i < 3; ++i) dlg::SetText(hwnd(), IDC_AP_COL_1 + i, std::to_string(widths[static_cast<size_t>(i)]));
  ::CheckRadioButton(hwnd(), IDC_AP_SPEED, IDC_AP_LETTERED, settings_.use_speed ? IDC_AP_SPEED : IDC_AP_LETTERED);
}

void TAppearance::SaveSettings() {
  RefreshFontStyleFlags(settings_);
  WriteSettings(profile_, settings_);
}

void TAppearance::GridFontButtonClick() {
  FontSetting chosen = grid_font_;
  if (!ChooseFontSetting(hwnd(), chosen, false)) return;
  grid_font_ = GridFontFromChoice(chosen);
  SaveSettings();
}

void TAppearance::TitleFontButtonClick() {
  if (!ChooseFontSetting(hwnd(), title_font_, true)) return;
  SaveSettings();
}

bool TAppearance::OkButtonClick() {
  std::array<std::string, 3> fields;
  for (int i = 0; i < 3; ++i) fields[static_cast<size_t>(i)] = dlg::GetText(hwnd(), IDC_AP_COL_1 + i);
  const ColumnWidthsCheck check = CheckColumnWidths(fields);
  if (check.bad_field >= 0) {
    dlg::ShowMessage(hwnd(), "Error", kInvalidWidthText);
    HWND box = dlg::Item(hwnd(), IDC_AP_COL_1 + check.bad_field);
    ::SetFocus(box);
    ::SendMessageA(box, EM_SETSEL, 0, -1);
    return false;
  }
  settings_.col1_width = check.widths[0];
  settings_.col2_width = check.widths[1];
  settings_.col3_width = check.widths[2];
  settings_.use_speed = dlg::IsChecked(hwnd(), IDC_AP_SPEED);
  settings_.grid_font = grid_font_;
  settings_.grid_title_font = title_font_;
  SaveSettings();
  return true;
}

}  // namespace qlx
