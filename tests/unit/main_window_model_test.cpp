#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/appearance.h"
#include "app/macro_list_model.h"
#include "app/quick_info.h"
#include "app/window_placement.h"
#include "fakes/macro_file_rig.h"
#include "store/date_value.h"

namespace qlx {
namespace {

using fake::HotKeyMacro;
using fake::PopupMacro;
using fake::SnapwordMacro;
using fake::SystemMacroRecord;
using fake::TablesRig;
using fake::TimedMacro;

TEST(MacroList, CellsShowRowNumberActivationNicknameAndScope) {
  TablesRig rig({HotKeyMacro("Letter", 144), SnapwordMacro("Signature", "sig"), TimedMacro("Backup"),
                 HotKeyMacro("Notes", 145, kScopeWindow, "Untitled - Notepad"),
                 HotKeyMacro("Calc", 146, kScopeProgram, "calc.exe"), PopupMacro("Menu", 147, {1}),
                 SystemMacroRecord(2)});
  const std::vector<std::vector<std::string>> expected = {
      {"1", "Ctrl+Alt+A", "Letter", "GLOBAL"},
      {"2", "sig", "Signature", "GLOBAL"},
      {"3", "Timed Macro", "Backup", "GLOBAL"},
      {"4", "Ctrl+Alt+B", "Notes", "Window: Untitled - Notepad"},
      {"5", "Ctrl+Alt+C", "Calc", "Program: calc.exe"},
      {"6", "Ctrl+Alt+D", "Menu", "Popup Menu"},
      {"7", "Ctrl+Alt+Shift+X", "Start / Stop Capture", "SYSTEM"},
  };
  for (int n = 1; n <= 7; ++n)
    for (int col = 0; col < 4; ++col)
      EXPECT_EQ(CellText(col, n - 1, n, rig.tables), expected[static_cast<size_t>(n - 1)][static_cast<size_t>(col)])
          << n << "," << col;
  // The number is the row's, not the macro's.
  EXPECT_EQ(CellText(0, 41, 3, rig.tables), "42");
  EXPECT_EQ(ScopeColumnText(9, "x"), "");
}

TEST(MacroList, ATextIsCutToItsCellWithoutAnEllipsis) {
  // Every character 7 pixels wide.
  const auto width = [](std::string_view s) { return static_cast<int>(s.size()) * 7; };
  struct Case {
    const char* text;
    int cell;
    const char* shown;
  };
  for (const Case& c : {Case{"Nickname", 58, "Nickname"}, Case{"Nickname", 57, "Nicknam"}, Case{"Nickname", 16, "Ni"},
                        Case{"Nickname", 8, ""}, Case{"", 100, ""}}) {
    SCOPED_TRACE(std::to_string(c.cell));
    EXPECT_EQ(FitCellText(c.text, c.cell, width), c.shown);
  }
}

TEST(MacroList, RowHeightsAreTheSampleHeightTimesOnePointOne) {
  EXPECT_EQ(DataRowHeight(16), 18);  // 17.6
  EXPECT_EQ(DataRowHeight(15), 17);  // 16.5 rounds up
  EXPECT_EQ(DataRowHeight(19), 21);  // 20.9
  EXPECT_EQ(DataRowHeight(10), 11);
}

TEST(MacroList, LayoutPutsThePanelRightOrTheBarOnTop) {
  // A 640 x 424 window of a classic frame: 632 wide inside.
  const MainLayout panel = LayoutMainWindow(632, 370, false);
  EXPECT_EQ(panel.list, (Rect{4, 4, 640 - 171, 370 - 9}));
  EXPECT_EQ(panel.panel.left, 640 - 161);
  EXPECT_LE(panel.panel.left + panel.panel.width, 632);
  EXPECT_EQ(panel.bar, Rect{});
  EXPECT_LT(panel.list.left + panel.list.width, panel.panel.left);

  const MainLayout bar = LayoutMainWindow(632, 370, true);
  EXPECT_EQ(bar.list, (Rect{2, 35, 640 - 12, 370 - 40}));
  EXPECT_EQ(bar.panel, Rect{});
  EXPECT_EQ(bar.bar.width, 632);
  EXPECT_LE(bar.bar.height, bar.list.top);

  // A window squeezed to nothing gets no negative sizes.
  for (bool speed : {false, true}) {
    const MainLayout tiny = LayoutMainWindow(10, 5, speed);
    for (const Rect& r : {tiny.list, tiny.panel, tiny.bar}) {
      EXPECT_GE(r.width, 0);
      EXPECT_GE(r.height, 0);
      EXPECT_GE(r.left, 0);
    }
  }
  // Panel buttons stand one below the other.
  const Rect first = PanelButtonBox(panel.panel, 0), second = PanelButtonBox(panel.panel, 1);
  EXPECT_EQ(first.top, panel.panel.top);
  EXPECT_EQ(second.top, first.top + first.height + kPanelButtonGap);
  EXPECT_EQ(second.width, panel.panel.width);
}

TEST(QuickInfo, ShowsEachFieldForEachKindOfMacro) {
  const auto exists = [](const std::string& path) { return path == "C:\\Prog\\Icons\\star.ico"; };
  MacroRecord hot = HotKeyMacro("Letter", 144, kScopeWindow, "Untitled - Notepad");
  hot.SetTopMostOnly(true);
  hot.SetLastModified(EncodeDateTime(2024, 3, 14, 14, 5, 9));
  hot.SetIcon("star.ico");
  QuickInfoView v = MakeQuickInfo(hot, "unused", "C:\\Prog", exists);
  EXPECT_EQ(v.last_modified, "Last Modified On 3/14/2024 2:05:09 PM");
  EXPECT_EQ(v.icon, QuickInfoView::Icon::File);
  EXPECT_EQ(v.icon_file, "C:\\Prog\\Icons\\star.ico");
  EXPECT_EQ(v.activation_label, "Hot Key:");
  EXPECT_EQ(v.activation, "Ctrl+Alt+A");
  EXPECT_EQ(v.nickname, "Letter");
  EXPECT_EQ(v.scope, "Untitled - Notepad \"Window\" (Top Most Only)");
  EXPECT_EQ(v.active, "Yes");
  EXPECT_TRUE(v.text_visible);
  EXPECT_EQ(v.text_label, "Macro Text:");
  EXPECT_EQ(v.text, "text of Letter");

  MacroRecord prog = HotKeyMacro("Calc", 145, kScopeProgram, "calc.exe", false);
  prog.SetIcon("gone.ico");  // a missing file shows the program's icon
  v = MakeQuickInfo(prog, "", "C:\\Prog", exists);
  EXPECT_EQ(v.scope, "calc.exe \"Program\" (If Running)");
  EXPECT_EQ(v.active, "No");
  EXPECT_EQ(v.icon, QuickInfoView::Icon::Main);

  MacroRecord timed = TimedMacro("Backup");
  timed.SetLastModified(EncodeDateTime(1999, 12, 31, 0, 0, 0));
  v = MakeQuickInfo(timed, "Daily at 12:00 PM", "C:\\Prog", exists);
  EXPECT_EQ(v.last_modified, "Last Modified On 12/31/1999 12:00:00 AM");
  EXPECT_EQ(v.activation_label, "Timed Macro:");
  EXPECT_EQ(v.activation, "Daily at 12:00 PM");
  EXPECT_EQ(v.scope, "GLOBAL");

  v = MakeQuickInfo(SnapwordMacro("Sig", "sig"), "", "C:\\Prog", exists);
  EXPECT_EQ(v.activation_label, "Snapword:");
  EXPECT_EQ(v.activation, "sig");

  // Menus and system macros have no text to show.
  MacroRecord menu = PopupMacro("Menu", 146, {1, 2});
  menu.SetIcon("MENU");
  v = MakeQuickInfo(menu, "", "C:\\Prog", exists);
  EXPECT_EQ(v.icon, QuickInfoView::Icon::Menu);
  EXPECT_EQ(v.scope, "Popup Menu");
  EXPECT_FALSE(v.text_visible);
  EXPECT_EQ(v.text_label, "");
  MacroRecord sys = SystemMacroRecord(1);
  sys.SetNickname("renamed on disk");
  sys.SetIcon("MAIN");
  v = MakeQuickInfo(sys, "", "C:\\Prog", exists);
  EXPECT_EQ(v.icon, QuickInfoView::Icon::Main);
  EXPECT_EQ(v.nickname, "Activate Quillon");
  EXPECT_EQ(v.scope, "SYSTEM");
  EXPECT_FALSE(v.text_visible);
}

TEST(Appearance, ColumnWidthsMustBeWholeNumbersAboveZero) {
  struct Case {
    const char* text;
    std::optional<int> width;
  };
  for (const Case& c : {Case{"112", 112}, Case{" 40 ", 40}, Case{"1", 1}, Case{"0", std::nullopt},
                        Case{"abc", std::nullopt}, Case{"", std::nullopt}, Case{"-5", std::nullopt},
                        Case{"12a", std::nullopt}, Case{"99999999999", std::nullopt}, Case{"1 2", std::nullopt}}) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseColumnWidth(c.text), c.width);
  }
  // The first refused box is the one named.
  ColumnWidthsCheck ok = CheckColumnWidths({"100", "150", "120"});
  EXPECT_EQ(ok.bad_field, -1);
  EXPECT_EQ(ok.widths, (std::array<int, 3>{100, 150, 120}));
  EXPECT_EQ(CheckColumnWidths({"100", "0", "abc"}).bad_field, 1);
  EXPECT_EQ(CheckColumnWidths({"abc", "0", "1"}).bad_field, 0);
  EXPECT_EQ(std::string(kInvalidWidthText), "Invalid width specified.");
}

TEST(Appearance, TheGridFontKeepsOnlyBoldOfTheChosenStyle) {
  FontSetting chosen{255, "Courier New", 14, true, true, true, true};
  FontSetting grid = GridFontFromChoice(chosen);
  EXPECT_EQ(grid.name, "Courier New");
  EXPECT_EQ(grid.size, 14);
  EXPECT_EQ(grid.color, 255);
  EXPECT_TRUE(grid.bold);
  EXPECT_FALSE(grid.italic);
  EXPECT_FALSE(grid.underline);
  EXPECT_FALSE(grid.strikeout);
}

TEST(WindowPlacement, TheSavedPlaceIsOnTheScreenWhereverTheTaskbarIs) {
  const Rect window{140, 90, 640, 424};
  // Normal window: where it is on the screen.
  for (WorkArea work : {WorkArea{0, 0}, WorkArea{0, 40}, WorkArea{60, 0}})
    EXPECT_EQ(SavedWindowRect(false, window, Rect{140 - work.left_offset, 90 - work.top_offset, 640, 424}, work),
              window);
  // Minimised or maximised: its restored place, moved from workspace to
  // screen coordinates, so a taskbar at the top or left moves nothing.
  EXPECT_EQ(SavedWindowRect(true, Rect{0, 0, 1280, 984}, Rect{140, 50, 640, 424}, WorkArea{0, 40}),
            (Rect{140, 90, 640, 424}));
  EXPECT_EQ(SavedWindowRect(true, Rect{-32000, -32000, 160, 24}, Rect{80, 90, 640, 424}, WorkArea{60, 0}),
            (Rect{140, 90, 640, 424}));
}

}  // namespace
}  // namespace qlx
