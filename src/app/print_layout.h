#pragma once
// The printed macro list laid out on pages without a printer: margins, the
// measuring pass, the three columns, continuation pages and copies. The
// printer side only draws what this returns, in the order given.
#include <string>
#include <string_view>
#include <vector>

#include "app/macro_report.h"

namespace qlx {

// Measures texts in the printing font on the printer's canvas.
class ITextMeasure {
 public:
  virtual ~ITextMeasure() = default;
  virtual int TextWidth(std::string_view text) = 0;
  virtual int TextHeight(std::string_view text) = 0;
};

struct PrintedText {
  int x = 0;
  int y = 0;
  std::string text;
  friend bool operator==(const PrintedText&, const PrintedText&) = default;
};

struct PrintedPage {
  std::vector<PrintedText> texts;
};

struct PrintMetrics {
  int left = 0;         // page width / 17
  int top = 0;          // page height / 22
  int last_line = 0;    // page height - 2 * top
  int line_height = 0;  // tallest activation text or nickname, times 1.1
  int first_width = 0;  // widest activation text, times 1.1
  int second_width = 0; // widest nickname, times 1.1
};

// The measuring pass over the list rows.
PrintMetrics MeasurePrintList(const std::vector<ReportRow>& rows, int page_width, int page_height,
                              ITextMeasure& measure);

// Every page of every copy. Each copy starts with "Macro File: " and the
// file's name at the margins; rows follow from line 2; a row drawn below
// the last usable line ends the page, and the next page (no heading)
// starts at line 0. A page is started only when something follows, so no
// copy ends in an empty page.
std::vector<PrintedPage> LayoutPrintList(const std::vector<ReportRow>& rows, const std::string& macro_file,
                                         int copies, int page_width, int page_height, ITextMeasure& measure);

}  // namespace qlx
