#include "app/print_layout.h"

#include <algorithm>
#include <cmath>

namespace qlx {

namespace {
int Widen(int v) { return static_cast<int>(std::lround(v * 1.1)); }
}  // namespace

PrintMetrics MeasurePrintList(const std::vector<ReportRow>& rows, int page_width, int page_height,
                              ITextMeasure& measure) {
  PrintMetrics m;
  m.left = page_width / 17;
  m.top = page_height / 22;
  m.last_line = page_height - 2 * m.top;
  int height = 0, first = 0, second = 0;
  for (const ReportRow& row : rows) {
    const std::string activation = ReportActivationText(row.record);
    height = std::max({height, measure.TextHeight(activation), measure.TextHeight(row.nickname)});
    first = std::max(first, measure.TextWidth(activation));
    second = std::max(second, measure.TextWidth(row.nickname));
  }
  m.line_height = Widen(height);
  m.first_width = Widen(first);
  m.second_width = Widen(second);
  return m;
}

std::vector<PrintedPage> LayoutPrintList(const std::vector<ReportRow>& rows, const std::string& macro_file,
                                         int copies, int page_width, int page_height, ITextMeasure& measure) {
  const PrintMetrics m = MeasurePrintList(rows, page_width, page_height, measure);
  // A row height of 0 (nothing measurable) would keep every row on one spot
  // and never end a page; one device unit keeps the rows apart.
  const int line_height = std::max(m.line_height, 1);
  std::vector<PrintedPage> pages;
  for (int copy = 0; copy < copies; ++copy) {
    pages.emplace_back();
    pages.back().texts.push_back({m.left, m.top, "Macro File: " + macro_file});
    int c = 2;
    for (size_t i = 0; i < rows.size(); ++i) {
      const int y = c * line_height + m.top;
      auto& texts = pages.back().texts;
      texts.push_back({m.left, y, ReportActivationText(rows[i].record)});
      texts.push_back({m.left + m.first_width, y, rows[i].nickname});
      texts.push_back({m.left + m.first_width + m.second_width, y, PrintScopeText(rows[i].record)});
      if (y > m.last_line) {
        if (i + 1 < rows.size()) pages.emplace_back();
        c = 0;
      } else {
        ++c;
      }
    }
  }
  return pages;
}

}  // namespace qlx
