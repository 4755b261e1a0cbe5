#pragma once
// Printing the macro list: the chosen printer and its setup (kept between
// "Printer &Setup" and "&Print Macro List"), the Print List Font and the
// print job itself.
#include <windows.h>

#include <string>
#include <vector>

#include "app/macro_report.h"
#include "store/settings.h"

namespace qlx {

class ListPrinter {
 public:
  ListPrinter() = default;
  ~ListPrinter();
  ListPrinter(const ListPrinter&) = delete;
  ListPrinter& operator=(const ListPrinter&) = delete;

  // The print dialog, then one document of `copies` copies; false when
  // cancelled or refused.
  bool PrintList(HWND owner, const std::vector<ReportRow>& rows, const std::string& macro_file,
                 const FontSetting& font);
  void PrinterSetup(HWND owner);
  // The font dialog on the Print List Font; true when a font was chosen.
  static bool ChoosePrintFont(HWND owner, FontSetting& font);

 private:
  HGLOBAL dev_mode_ = nullptr;
  HGLOBAL dev_names_ = nullptr;
  bool printing_ = false;
};

}  // namespace qlx
