// The printed list and the macro information file: texts, line formats,
// the measuring pass, pages and copies.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/macro_report.h"
#include "app/print_layout.h"
#include "store/shared_blocks.h"

namespace qlx {
namespace {

MacroRecord Record(uint16_t code, int16_t scope, std::string scope_text = "", bool top_most = false) {
  MacroRecord r;
  r.SetCode(code);
  r.SetScope(scope);
  r.SetScopeText(scope_text);
  r.SetTopMostOnly(top_most);
  r.SetIcon("MAIN");
  return r;
}

ReportRow Row(std::string nickname, MacroRecord r) { return {std::move(nickname), r}; }

TEST(ReportTexts, ActivationText) {
  MacroRecord snap = Record(kSnapwordCode, kScopeGlobal);
  snap.SetSnapword("addr");
  EXPECT_EQ(ReportActivationText(Record(kTimedCode, kScopeGlobal)), "Timed Macro");
  EXPECT_EQ(ReportActivationText(snap), "Snapword: addr");
  EXPECT_EQ(ReportActivationText(Record(262, kScopeSystem)), "Ctrl+Alt+Shift+W");
  EXPECT_EQ(ReportActivationText(Record(554, kScopeGlobal)), "Win+A");
}

TEST(ReportTexts, PrintedScope) {
  const std::string thirty(30, 'x');
  struct Case {
    MacroRecord record;
    std::string expected;
  } cases[] = {
      {Record(1, kScopeGlobal), "GLOBAL"},
      {Record(1, kScopePopupMenu), "Popup Menu"},
      {Record(262, kScopeSystem, "1"), "SYSTEM"},
      {Record(1, kScopeWindow, "Notepad", true), "Window: Notepad (Top Most Only)"},
      {Record(1, kScopeProgram, "EDIT.EXE", false), "Program: EDIT.EXE (If Running)"},
      // The prefix and name together at most 38 and 39 characters.
      {Record(1, kScopeWindow, thirty, false), "Window: " + thirty + " (If Running)"},
      {Record(1, kScopeProgram, thirty, true), "Program: " + thirty + " (Top Most Only)"},
  };
  for (const Case& c : cases) EXPECT_EQ(PrintScopeText(c.record), c.expected);
}

TEST(InformationFile, OkNeedsOneOfTheFirstFourParts) {
  InfoParts only_schedule_and_icon{false, false, false, false, true, true};
  EXPECT_EQ(CheckInfoParts(only_schedule_and_icon), std::string(kNothingCheckedText));
  EXPECT_EQ(CheckInfoParts({false, false, false, false, false, false}), std::string(kNothingCheckedText));
  for (size_t i = 0; i < 4; ++i) {
    InfoParts one{};
    one[i] = true;
    EXPECT_EQ(CheckInfoParts(one), std::nullopt) << i;
  }
}

TEST(InformationFile, AllPartsOfAHotKeyMacroInOrder) {
  MacroRecord r = Record(144, kScopeWindow, "Untitled - Notepad", true);
  r.SetIcon("SMILE.ICO");
  r.SetText("Dear Sir,\r\nYours");
  EXPECT_EQ(InformationBlock(Row("Letter", r), kAllInfoParts),
            "Icon: SMILE.ICO\r\n"
            "Hot Key: Ctrl+Alt+A\r\n"
            "Name: Letter\r\n"
            "Window: Untitled - Notepad, Top Most Only\r\n"
            "Text: Dear Sir,\r\nYours\r\n"
            "\r\n");
}

TEST(InformationFile, TimedMacroHasItsSchedule) {
  MacroRecord r = Record(kTimedCode, kScopeProgram, "CALC.EXE", false);
  r.SetScheduleKind(kScheduleEveryMinutes);
  r.SetInterval(15);
  r.SetText("x");
  EXPECT_EQ(InformationBlock(Row("Tick", r), kAllInfoParts),
            "Icon: (Default Icon)\r\n"
            "Timed Macro\r\n"
            "Name: Tick\r\n"
            "Program: CALC.EXE, If Active\r\n"
            "Schedule: every 15 minutes\r\n"
            "Text: x\r\n"
            "\r\n");
}

TEST(InformationFile, LinesPerScopeAndIcon) {
  MacroRecord popup = Record(5, kScopePopupMenu);
  popup.SetIcon("MENU");
  popup.SetText("\x02");  // menu data, never written as text
  MacroRecord system = Record(262, kScopeSystem, "1");
  MacroRecord snap = Record(kSnapwordCode, kScopeGlobal);
  snap.SetSnapword("sig");
  snap.SetText("Regards");
  EXPECT_EQ(InformationBlock(Row("Menu", popup), kAllInfoParts),
            "Icon: (Default Menu Icon)\r\nHot Key: Ctrl+F\r\nName: Menu\r\nScope: Popup Menu\r\n\r\n");
  EXPECT_EQ(InformationBlock(Row("Activate Quillon", system), kAllInfoParts),
            "Icon: (None)\r\nHot Key: Ctrl+Alt+Shift+W\r\nName: Activate Quillon\r\nScope: SYSTEM\r\n\r\n");
  EXPECT_EQ(InformationBlock(Row("", snap), kAllInfoParts),
            "Icon: (Default Icon)\r\nSnapword: sig\r\nName: \r\nScope: GLOBAL\r\nText: Regards\r\n\r\n");
}

TEST(InformationFile, OnlyTheChosenPartsAndAnEmptyLinePerMacro) {
  MacroRecord r = Record(kTimedCode, kScopeGlobal);
  r.SetScheduleKind(kScheduleAtStartup);
  r.SetText("abc");
  InfoParts name_and_schedule{false, true, false, false, true, false};
  EXPECT_EQ(InformationFile({Row("One", r), Row("Two", r)}, name_and_schedule),
            "Name: One\r\nSchedule: At Startup\r\n\r\nName: Two\r\nSchedule: At Startup\r\n\r\n");
}

TEST(InformationFile, WrittenFileHoldsTheBlocks) {
  const auto dir = std::filesystem::temp_directory_path() / ("qlx_report_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "OUT.TXT").string();
  MacroRecord r = Record(144, kScopeGlobal);
  r.SetText("line one\r\nline two");
  ASSERT_TRUE(WriteTextFile(DiskFileSystem(), path, InformationFile({Row("A", r)}, {false, false, false, true, false, false})));
  std::ifstream in(path, std::ios::binary);
  std::stringstream got;
  got << in.rdbuf();
  EXPECT_EQ(got.str(), "Text: line one\r\nline two\r\n\r\n");
  EXPECT_FALSE(WriteTextFile(DiskFileSystem(), (dir / "missing" / "OUT.TXT").string(), "x"));
  std::filesystem::remove_all(dir);
}

// Every character 10 units wide, every text 20 high.
class FixedMeasure : public ITextMeasure {
 public:
  int TextWidth(std::string_view t) override { return static_cast<int>(t.size()) * 10; }
  int TextHeight(std::string_view t) override { return t.empty() ? 0 : 20; }
};

std::vector<ReportRow> Rows(int n) {
  std::vector<ReportRow> rows;
  for (int i = 0; i < n; ++i) rows.push_back(Row("Macro " + std::to_string(i + 1), Record(0, kScopeGlobal)));
  return rows;
}

TEST(PrintLayout, MarginsAndMeasuredColumns) {
  FixedMeasure m;
  std::vector<ReportRow> rows = {Row("ab", Record(0, kScopeGlobal)), Row("abcdefghij", Record(kTimedCode, 1))};
  PrintMetrics pm = MeasurePrintList(rows, 1700, 2200, m);
  EXPECT_EQ(pm.left, 100);
  EXPECT_EQ(pm.top, 100);
  EXPECT_EQ(pm.last_line, 2000);
  EXPECT_EQ(pm.line_height, 22);     // 20 * 1.1
  EXPECT_EQ(pm.first_width, 121);    // "Timed Macro" 110 * 1.1
  EXPECT_EQ(pm.second_width, 110);   // 100 * 1.1
  EXPECT_EQ(MeasurePrintList(rows, 1716, 2221, m).left, 100);  // integer division
}

TEST(PrintLayout, OnePageHeadingThenRowsFromLineTwo) {
  FixedMeasure m;
  auto pages = LayoutPrintList(Rows(2), "C:\\Q\\QUILX.QLX", 1, 1700, 2200, m);
  ASSERT_EQ(pages.size(), 1u);
  const auto& t = pages[0].texts;
  ASSERT_EQ(t.size(), 7u);
  EXPECT_EQ(t[0], (PrintedText{100, 100, "Macro File: C:\\Q\\QUILX.QLX"}));
  EXPECT_EQ(t[1], (PrintedText{100, 2 * 22 + 100, "Ctrl+A"}));
  EXPECT_EQ(t[2], (PrintedText{100 + 66, 144, "Macro 1"}));
  EXPECT_EQ(t[3], (PrintedText{100 + 66 + 77, 144, "GLOBAL"}));
  EXPECT_EQ(t[4].y, 3 * 22 + 100);
}

TEST(PrintLayout, TwoCopiesEachWithItsHeading) {
  FixedMeasure m;
  auto pages = LayoutPrintList(Rows(3), "F.QLX", 2, 1700, 2200, m);
  ASSERT_EQ(pages.size(), 2u);
  for (const auto& p : pages) {
    ASSERT_EQ(p.texts.size(), 10u);
    EXPECT_EQ(p.texts[0].text, "Macro File: F.QLX");
  }
}

TEST(PrintLayout, LongListContinuesWithoutHeadingFromLineZero) {
  FixedMeasure m;
  // last line 2000, rows every 22 from 100: line c is at 22c + 100. The first
  // row past 2000 is at c = 87 (2014); it is printed and ends the page.
  const int on_first = 87 - 2 + 1;
  auto pages = LayoutPrintList(Rows(on_first + 5), "F.QLX", 1, 1700, 2200, m);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0].texts.size(), 1u + 3u * on_first);
  EXPECT_EQ(pages[0].texts.back().y, 2014);
  ASSERT_EQ(pages[1].texts.size(), 15u);
  EXPECT_EQ(pages[1].texts[0], (PrintedText{100, 100, "Ctrl+A"}));
  EXPECT_EQ(pages[1].texts[3].y, 122);
}

TEST(PrintLayout, NoEmptyPageWhenTheLastRowEndsAPage) {
  FixedMeasure m;
  auto pages = LayoutPrintList(Rows(86), "F.QLX", 2, 1700, 2200, m);
  ASSERT_EQ(pages.size(), 2u);  // one page per copy, the second copy headed
  EXPECT_EQ(pages[1].texts[0].text, "Macro File: F.QLX");
}

TEST(PrintLayout, EmptyListPrintsTheHeadingPerCopy) {
  FixedMeasure m;
  auto pages = LayoutPrintList({}, "F.QLX", 3, 1700, 2200, m);
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[2].texts.size(), 1u);
}

}  // namespace
}  // namespace qlx
