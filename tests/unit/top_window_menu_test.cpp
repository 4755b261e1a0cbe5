#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "activation/dispatch.h"
#include "activation/top_window_menu.h"
#include "editor/popup_menu.h"
#include "fakes/fake_desktop.h"
#include "fakes/fake_macro_store.h"

namespace qlx {
namespace {

MacroRecord Scoped(int16_t scope, std::string text) {
  MacroRecord r;
  r.SetScope(scope);
  r.SetScopeText(text);
  r.SetCode(144);
  r.SetActive(true);
  return r;
}

class TopWindowMenuTest : public ::testing::Test, public ITopWindowMenuHost {
 protected:
  fake::FakeDesktop desk;
  fake::FakeMacroStore store;
  bool popup_shown = false;
  MacroRecord playback;
  std::vector<std::string> messages;
  std::vector<int> shown_menu;
  WindowHandle shown_front = 0;
  bool flag_during_chooser = false;
  int choice = -1;
  std::vector<int> ran;

  void DoAMessage(const std::string& caption, const std::string& text) override {
    messages.push_back(caption + "|" + text);
  }
  int ChooseFromTopWindowMenu(const MacroRecord& menu, WindowHandle front) override {
    shown_menu = PopupMenuView(menu).Entries();
    shown_front = front;
    flag_during_chooser = popup_shown;
    return choice;
  }
  void RunChosenMacro(int n) override { ran.push_back(n); }

  void Run(int setting = 3) { MenuTopWindow(desk, desk, store.block(), setting, popup_shown, playback, *this); }
};

TEST_F(TopWindowMenuTest, TopProgramIsTheFileNameOfTheForegroundWindowsProcess) {
  EXPECT_EQ(GetTopProgram(desk, desk), "");  // no window in front
  desk.AddProcess(40, "WINWORD.EXE");
  const WindowHandle w = desk.AddWindowInFront("Document1 - Word", 40);
  desk.SetForegroundDirect(w);
  EXPECT_EQ(GetTopProgram(desk, desk), "WINWORD.EXE");
  const WindowHandle orphan = desk.AddWindowInFront("No process", 0);
  desk.SetForegroundDirect(orphan);
  EXPECT_EQ(GetTopProgram(desk, desk), "");
}

TEST_F(TopWindowMenuTest, SelectsWindowAndProgramMacrosThatFitTheFront) {
  store.Add(Scoped(kScopeWindow, "notepad"));         // 1: title, other case
  store.Add(Scoped(kScopeWindow, "Calculator"));      // 2: another window
  store.Add(Scoped(kScopeProgram, "note"));           // 3: part of the program name
  store.Add(Scoped(kScopeGlobal, ""));                // 4: global
  store.Add(Scoped(kScopeProgram, "CALC.EXE"));       // 5: another program
  store.Add(Scoped(kScopePopupMenu, "notepad"));      // 6: a menu
  store.Add(Scoped(kScopeWindow, "Untitled - Note"));  // 7
  EXPECT_EQ(SelectTopWindowMacros(store.block(), "Untitled - Notepad", "notepad.exe"), std::vector<int>({1, 3, 7}));
  // A program macro does not match the title, nor a window macro the program.
  EXPECT_EQ(SelectTopWindowMacros(store.block(), "Calc.exe window", "NOTEPAD2.EXE"), std::vector<int>({3}));
}

TEST_F(TopWindowMenuTest, TheThirtySeventhMatchIsLeftOut) {
  for (int i = 0; i < 40; ++i) store.Add(Scoped(kScopeWindow, "Pad"));
  const std::vector<int> got = SelectTopWindowMacros(store.block(), "My Pad", "");
  ASSERT_EQ(got.size(), 36u);
  EXPECT_EQ(got.back(), 36);
}

TEST_F(TopWindowMenuTest, NothingMatchingShowsOnlyTheWarning) {
  store.Add(Scoped(kScopeWindow, "Calculator"));
  desk.SetForegroundDirect(desk.AddWindowInFront("Untitled - Notepad"));
  choice = 1;
  Run();
  EXPECT_EQ(messages, std::vector<std::string>({std::string("Warning|") + kNoTopWindowMacrosText}));
  EXPECT_TRUE(shown_menu.empty());
  EXPECT_TRUE(ran.empty());
  EXPECT_FALSE(popup_shown);
}

TEST_F(TopWindowMenuTest, ChosenMacroRunsAndTheMenuDescribesTheSetting) {
  store.Add(Scoped(kScopeGlobal, ""));
  store.Add(Scoped(kScopeWindow, "Notepad"));
  store.Add(Scoped(kScopeWindow, "Other"));
  store.Add(Scoped(kScopeProgram, "NOTEPAD.EXE"));
  desk.AddProcess(12, "notepad.exe");
  const WindowHandle front = desk.AddWindowInFront("Untitled - Notepad", 12);
  desk.SetForegroundDirect(front);
  for (int setting : {1, 2, 3, 7}) {
    SCOPED_TRACE(setting);
    ran.clear();
    choice = 4;
    Run(setting);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(shown_menu, std::vector<int>({2, 4}));
    EXPECT_EQ(shown_front, front);
    EXPECT_TRUE(flag_during_chooser);
    EXPECT_FALSE(popup_shown);
    EXPECT_EQ(ran, std::vector<int>({4}));
    const MenuOptions o = PopupMenuView(playback).Options();
    EXPECT_EQ(static_cast<int>(o.mode), setting == 7 ? 3 : setting);
    EXPECT_EQ(o.size_index, 2);
    EXPECT_FALSE(o.in_tray);
  }
  choice = -1;
  ran.clear();
  Run();
  EXPECT_TRUE(ran.empty());
}

}  // namespace
}  // namespace qlx
