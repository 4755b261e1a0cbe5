#include "app/win/list_printer.h"

#include <commdlg.h>

#include "app/print_layout.h"
#include "app/win/file_dialogs.h"
#include "platform/win32/win_handles.h"

namespace qlx {

namespace {

constexpr char kPrintToFileTitle[] = "Print to File";

class DcMeasure : public ITextMeasure {
 public:
  explicit DcMeasure(HDC dc) : dc_(dc) {}
  int TextWidth(std::string_view t) override { return Extent(t).cx; }
  int TextHeight(std::string_view t) override { return t.empty() ? 0 : Extent(t).cy; }

 private:
  SIZE Extent(std::string_view t) {
    SIZE s{};
    ::GetTextExtentPoint32A(dc_, t.data(), static_cast<int>(t.size()), &s);
    return s;
  }
  HDC dc_;
};

HFONT MakeFont(HDC dc, const FontSetting& font) {
  LOGFONTA lf{};
  lf.lfHeight = -::MulDiv(font.size, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = font.italic ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(lf.lfFaceName, font.name.c_str(), LF_FACESIZE);
  return ::CreateFontIndirectA(&lf);
}

}  // namespace

ListPrinter::~ListPrinter() {
  if (dev_mode_) ::GlobalFree(dev_mode_);
  if (dev_names_) ::GlobalFree(dev_names_);
}

void ListPrinter::PrinterSetup(HWND owner) {
  PRINTDLGA pd{};
  pd.lStructSize = sizeof pd;
  pd.hwndOwner = owner;
  pd.hDevMode = dev_mode_;
  pd.hDevNames = dev_names_;
  pd.Flags = PD_PRINTSETUP;
  if (::PrintDlgA(&pd)) {
    dev_mode_ = pd.hDevMode;
    dev_names_ = pd.hDevNames;
  }
}

bool ListPrinter::PrintList(HWND owner, const std::vector<ReportRow>& rows, const std::string& macro_file,
                            const FontSetting& font) {
  if (printing_) {
    ::MessageBoxA(owner, kPrintJobBusyText, "Error", MB_OK);
    return false;
  }
  PRINTDLGA pd{};
  pd.lStructSize = sizeof pd;
  pd.hwndOwner = owner;
  pd.hDevMode = dev_mode_;
  pd.hDevNames = dev_names_;
  pd.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION;
  pd.nCopies = 1;
  if (!::PrintDlgA(&pd)) return false;
  dev_mode_ = pd.hDevMode;
  dev_names_ = pd.hDevNames;
  if (!pd.hDC) return false;
  struct DcOwner {
    HDC dc;
    ~DcOwner() { ::DeleteDC(dc); }
  } dc_owner{pd.hDC};
  // "Print to file": the document goes to a file the user names, not to the
  // printer's own port. Not every print system asks for it itself.
  const bool to_file = (pd.Flags & PD_PRINTTOFILE) != 0;
  std::string output;
  if (to_file) {
    FileDialogRequest request;
    request.title = kPrintToFileTitle;
    request.filter = "All Files (*.*)|*.*";
    request.flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    request.save = true;
    const std::optional<std::string> chosen = AskFileName(owner, request);
    if (!chosen) return false;
    output = *chosen;
  }
  HDC dc = pd.hDC;
  // Copies the driver makes itself arrive in the device mode; the others
  // are laid out here, each from a new page.
  int copies = pd.nCopies > 0 ? pd.nCopies : 1;
  if (dev_mode_) {
    if (auto* dm = static_cast<DEVMODEA*>(::GlobalLock(dev_mode_))) {
      if ((dm->dmFields & DM_COPIES) && dm->dmCopies > copies) copies = dm->dmCopies;
      // The copies are ours: the driver must not repeat each of them.
      dm->dmCopies = 1;
      ::ResetDCA(dc, dm);
      ::GlobalUnlock(dev_mode_);
    }
  }

  printing_ = true;
  HCURSOR old_cursor = ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
  HFONT hfont = MakeFont(dc, font);
  HGDIOBJ old_font = ::SelectObject(dc, hfont);
  ::SetTextColor(dc, static_cast<COLORREF>(font.color));
  DcMeasure measure(dc);
  const auto pages = LayoutPrintList(rows, macro_file, copies, ::GetDeviceCaps(dc, HORZRES),
                                     ::GetDeviceCaps(dc, VERTRES), measure);
  DOCINFOA di{};
  di.cbSize = sizeof di;
  di.lpszDocName = kPrintJobTitle;
  if (to_file) di.lpszOutput = output.c_str();
  bool ok = ::StartDocA(dc, &di) > 0;
  for (size_t p = 0; ok && p < pages.size(); ++p) {
    ok = ::StartPage(dc) > 0;
    // Some drivers reset the device context at each page.
    ::SelectObject(dc, hfont);
    ::SetBkMode(dc, TRANSPARENT);
    for (const PrintedText& t : pages[p].texts)
      ::TextOutA(dc, t.x, t.y, t.text.c_str(), static_cast<int>(t.text.size()));
    ok = ok && ::EndPage(dc) > 0;
  }
  if (ok) ::EndDoc(dc);
  else ::AbortDoc(dc);
  ::SelectObject(dc, old_font);
  ::DeleteObject(hfont);
  ::SetCursor(old_cursor);
  printing_ = false;
  return ok;
}

bool ListPrinter::ChoosePrintFont(HWND owner, FontSetting& font) {
  HDC screen = ::GetDC(nullptr);
  LOGFONTA lf{};
  lf.lfHeight = -::MulDiv(font.size, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
  ::ReleaseDC(nullptr, screen);
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = font.italic ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(lf.lfFaceName, font.name.c_str(), LF_FACESIZE);
  CHOOSEFONTA cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = owner;
  cf.lpLogFont = &lf;
  cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  cf.rgbColors = static_cast<COLORREF>(font.color);
  if (!::ChooseFontA(&cf)) return false;
  font.name = lf.lfFaceName;
  font.size = cf.iPointSize > 0 ? cf.iPointSize / 10 : font.size;
  font.bold = lf.lfWeight >= FW_BOLD;
  font.italic = lf.lfItalic != 0;
  // The printed list is never underlined nor struck out.
  font.underline = false;
  font.strikeout = false;
  font.color = static_cast<int32_t>(cf.rgbColors);
  return true;
}

}  // namespace qlx
