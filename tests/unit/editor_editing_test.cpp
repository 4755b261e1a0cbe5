// The script editor's line operations and button states, the macro fields
// both editors store, and the direct editor's insertion rule.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "store/hotkey_table.h"
#include "editor/direct_editing.h"
#include "editor/macro_editing.h"
#include "editor/script_text.h"

namespace qlx::editor {
namespace {

std::vector<std::string> Texts(const ScriptList& list) {
  std::vector<std::string> out;
  for (const ScriptLine& l : list.lines()) out.push_back(l.text);
  return out;
}
using Lines = std::vector<std::string>;

ScriptLine Remark(const char* text) { return LineFromDialog(StringParams{cmd::kRemark, text}); }

TEST(ScriptList, AddInTheThreeModes) {
  ScriptList list;
  list.Load("<REM:a><REM:b><REM:c>");
  list.Select(1);
  list.Add(InsertMode::Before, list.CurrentIndex(), Remark("x"));
  EXPECT_EQ(Texts(list), (Lines{"Remark: a", "Remark: x", "Remark: b", "Remark: c"}));
  EXPECT_EQ(list.selected(), 1);

  list.Add(InsertMode::After, list.CurrentIndex(), Remark("y"));
  EXPECT_EQ(Texts(list), (Lines{"Remark: a", "Remark: x", "Remark: y", "Remark: b", "Remark: c"}));
  EXPECT_EQ(list.selected(), 2);

  list.Add(InsertMode::Append, list.CurrentIndex(), Remark("z"));
  EXPECT_EQ(list.lines().back().text, "Remark: z");
  EXPECT_EQ(list.selected(), 5);
}

TEST(ScriptList, InsertAfterIntoAnEmptyScriptGoesFirst) {
  ScriptList list;
  list.Load("");
  list.Add(InsertMode::After, list.CurrentIndex(), Remark("only"));
  EXPECT_EQ(Texts(list), Lines{"Remark: only"});
  EXPECT_EQ(list.selected(), 0);
  // Nothing selected in a non-empty script: the current index is 0, and
  // "after" puts the line second.
  list.Select(-1);
  list.Add(InsertMode::After, list.CurrentIndex(), Remark("next"));
  EXPECT_EQ(Texts(list), (Lines{"Remark: only", "Remark: next"}));
  EXPECT_EQ(list.selected(), 1);
}

TEST(ScriptList, CopyPutsAnEqualButSeparateLineBeforeTheOriginal) {
  ScriptList list;
  list.Load("<REM:a><WMAX:Calc><REM:c>");
  list.Select(1);
  list.Copy();
  EXPECT_EQ(Texts(list), (Lines{"Remark: a", "Maximize Window - Window Title: Calc",
                                "Maximize Window - Window Title: Calc", "Remark: c"}));
  EXPECT_EQ(list.selected(), 2);
  // Separate records: changing the copy leaves the original.
  list.Edit(1, WindowParams{"Other", window::kMaximize, false});
  EXPECT_EQ(std::get<WindowParams>(list.lines()[2].params).title, "Calc");
  EXPECT_EQ(list.Write(), "<REM:a><WMAX:Other><WMAX:Calc><REM:c>");
}

TEST(ScriptList, DeleteSelectsTheLineThatTookItsPlace) {
  ScriptList list;
  list.Load("<REM:a><REM:b><REM:c>");
  list.Select(1);
  list.Delete();
  EXPECT_EQ(Texts(list), (Lines{"Remark: a", "Remark: c"}));
  EXPECT_EQ(list.selected(), 1);
  list.Delete();  // the last line: the new last line is selected
  EXPECT_EQ(list.selected(), 0);
  list.Delete();  // the only line
  EXPECT_TRUE(list.lines().empty());
  EXPECT_EQ(list.selected(), -1);
  EXPECT_EQ(list.Buttons(), ScriptButtons{});
}

TEST(ScriptList, MovesKeepTheMovedLineSelectedAndReindent) {
  ScriptList list;
  list.Load("<REPEAT:0002>a<ENDREP>b");
  list.Select(3);
  list.MoveUp();
  EXPECT_EQ(Texts(list), (Lines{"Repeat Start: 2", "   Text: a", "   Text: b", "Repeat End"}));
  EXPECT_EQ(list.selected(), 2);
  list.MoveDown();
  EXPECT_EQ(list.selected(), 3);
  EXPECT_EQ(list.lines()[3].text, "Text: b");
}

TEST(ScriptList, ButtonStatesFollowTheSelection) {
  ScriptList list;
  list.Load("<REM:a><REM:b><REM:c>");
  EXPECT_EQ(list.Buttons(), ScriptButtons{});
  list.Select(0);
  EXPECT_EQ(list.Buttons(), (ScriptButtons{false, true, true, true, true}));
  list.Select(1);
  EXPECT_EQ(list.Buttons(), (ScriptButtons{true, true, true, true, true}));
  list.Select(2);
  EXPECT_EQ(list.Buttons(), (ScriptButtons{true, false, true, true, true}));
}

TEST(ScriptList, EditWithTheSameValuesKeepsTheTokenAsRead) {
  ScriptList list;
  list.Load("<MM/DD/YY{Y}>");
  list.Edit(0, std::get<DateTimeParams>(list.lines()[0].params));
  EXPECT_EQ(list.Write(), "<MM/DD/YY{Y}>");
  EXPECT_EQ(list.lines()[0].text, "Date: MM/DD/YY  (03/30/98)");
  DateTimeParams changed = std::get<DateTimeParams>(list.lines()[0].params);
  changed.offset = 2;
  list.Edit(0, changed);
  EXPECT_EQ(list.Write(), "<MM/DD/YY{YF002}>");
  EXPECT_EQ(list.lines()[0].text, "Date (2 days in future): MM/DD/YY  (03/30/98)");
}

TEST(MacroEditing, SnapwordNames) {
  EXPECT_EQ(CheckSnapwordName("   "), std::string(kNoSnapwordName));
  EXPECT_EQ(CheckSnapwordName("ab'c"), std::string(kInvalidSnapwordName));
  EXPECT_EQ(CheckSnapwordName("a#b"), std::nullopt);
  EXPECT_EQ(CheckSnapwordName(" Zz09!#$%&*+,-./;<=>?@^_ "), std::nullopt);
  for (const char* bad : {"a b", "a\"b", "a(b", "a)b", "a:b", "a[b", "a]b", "a\\b", "a`b", "a{b",
                          "a}b", "a|b", "a~b", "a\xe9"})
    EXPECT_EQ(CheckSnapwordName(bad), std::string(kInvalidSnapwordName)) << bad;
}

TEST(MacroEditing, Captions) {
  EXPECT_EQ(EditorCaption(kScriptEditorCaption, ScopeChoice::Global, "x"),
            "Macro Scripting Editor  (GLOBAL)");
  EXPECT_EQ(EditorCaption(kScriptEditorCaption, ScopeChoice::Window, "Notepad"),
            "Macro Scripting Editor  (Window Title: Notepad)");
  EXPECT_EQ(EditorCaption(kDirectEditorCaption, ScopeChoice::Program, "CALC.EXE"),
            "Modify Hot Key  (Program: CALC.EXE)");
}

TEST(MacroEditing, ModesAndActivationPanel) {
  EXPECT_EQ(ModeOfCode(10000), ActivationMode::Timed);
  EXPECT_EQ(ModeOfCode(20000), ActivationMode::Snapword);
  EXPECT_EQ(ModeOfCode(144), ActivationMode::HotKey);
  const ActivationPanel timed = PanelFor(ActivationMode::Timed, 10000);
  EXPECT_TRUE(timed.timer_label && timed.schedule_button && !timed.snapword_field);
  EXPECT_EQ(timed.label_text, "Timed Macros");
  const ActivationPanel snap = PanelFor(ActivationMode::Snapword, 20000);
  EXPECT_TRUE(snap.timer_label && snap.snapword_field && !snap.schedule_button);
  EXPECT_EQ(snap.label_text, "Snapword");
  const ActivationPanel hot = PanelFor(ActivationMode::HotKey, 144);
  EXPECT_TRUE(hot.hot_key_label && !hot.timer_label);
  EXPECT_EQ(hot.label_text, std::string(HotKeyName(144)));
}

TEST(MacroEditing, ScopeOfTheRecordChoosesTheRadioButton) {
  EXPECT_EQ(ScopeChoiceOf(kScopeGlobal), ScopeChoice::Global);
  EXPECT_EQ(ScopeChoiceOf(kScopeWindow), ScopeChoice::Window);
  EXPECT_EQ(ScopeChoiceOf(kScopeProgram), ScopeChoice::Program);
  EXPECT_EQ(ScopeChoiceOf(0), ScopeChoice::Program);
}

TEST(MacroEditing, StoreAcceptedMacro) {
  MacroRecord r;
  r.SetSnapword("old");
  EditedFields f;
  f.nickname = " Greeting ";
  f.scope = ScopeChoice::Window;
  f.icon = "SMILE.ICO";
  f.snapword = "  sig ";
  EXPECT_FALSE(StoreAcceptedMacro(r, f, ActivationMode::Snapword, true, "Hello", 36000.5));
  EXPECT_TRUE(r.Active());
  EXPECT_EQ(r.Nickname(), "Greeting");
  EXPECT_EQ(r.Scope(), kScopeWindow);
  EXPECT_EQ(r.Icon(), "SMILE.ICO");
  EXPECT_EQ(r.Snapword(), "sig");
  EXPECT_EQ(r.Text(), "Hello");
  EXPECT_EQ(r.LastModified(), 36000.5);

  // Out of Snapword mode the name is emptied; an existing macro keeps its
  // active flag.
  r.SetActive(false);
  EXPECT_FALSE(StoreAcceptedMacro(r, f, ActivationMode::HotKey, false, "x", 1));
  EXPECT_FALSE(r.Active());
  EXPECT_EQ(r.Snapword(), "");
}

TEST(MacroEditing, TextOverTheLimitIsCutAfterTheMessage) {
  MacroRecord r;
  EXPECT_FALSE(StoreAcceptedMacro(r, {}, ActivationMode::HotKey, false, std::string(5000, 'a'), 1));
  EXPECT_EQ(r.Text().size(), 5000u);
  EXPECT_TRUE(StoreAcceptedMacro(r, {}, ActivationMode::HotKey, false, std::string(6000, 'b'), 1));
  EXPECT_EQ(r.Text(), std::string(5000, 'b'));
  EXPECT_EQ(r.bytes()[mr::kText + 5000], 0);
}

TEST(MacroEditing, NewMacroDefaults) {
  MacroRecord r;
  r.SetScopeText("Notepad");
  r.SetIcon("X.ICO");
  PrepareNewMacro(r, CivilDate{2024, 5, 17, 6});
  EXPECT_EQ(r.ScopeText(), "");
  EXPECT_TRUE(r.TopMostOnly());
  EXPECT_EQ(r.Icon(), "MAIN");
  EXPECT_EQ(r.ScheduleKind(), kScheduleDaily);
}

TEST(ScriptEditorWindow, ListsFollowTheWindowAndButtonsTheRightEdge) {
  for (const auto& [cw, ch, ww] : {std::tuple{590, 412, 606}, std::tuple{904, 700, 920}}) {
    const ScriptEditorLayout l = LayoutScriptEditor(cw, ch, ww);
    EXPECT_EQ(l.script.width, ww - 293);
    EXPECT_EQ(l.script.height, ch - 72);
    EXPECT_EQ(l.option_box.height, ch - 72);
    for (const Box& b : l.buttons) EXPECT_EQ(cw - (b.left + b.width), 8);
    // The buttons stand in a column, each below the one before.
    for (size_t i = 1; i < l.buttons.size(); ++i)
      EXPECT_GE(l.buttons[i].top, l.buttons[i - 1].top + l.buttons[i - 1].height);
    // The lists end inside the client area, and the script list leaves
    // room for the buttons at the usual size.
    EXPECT_LE(l.script.top + l.script.height, ch);
    EXPECT_LT(l.script.left + l.script.width, l.buttons[0].left);
  }
}

TEST(DirectEditing, InsertionStopsAtFiveThousandCharacters) {
  // 4995 characters: Enter (7) is refused, Tab (5) fills the text to 5000.
  EXPECT_EQ(InsertAt(4995, 10, "<ENTER>"), std::nullopt);
  const auto tab = InsertAt(4995, 10, "<TAB>");
  ASSERT_TRUE(tab);
  EXPECT_EQ(tab->caret, 10u);
  EXPECT_EQ(tab->caret_after, 15u);
  // A caret past the end inserts at the end.
  EXPECT_EQ(InsertAt(3, 9, "<F1>")->caret, 3u);
}

TEST(DirectEditing, TabsBecomeTabTokens) {
  EXPECT_EQ(ReplaceTabs("\tx\t\ty"), "<TAB>x<TAB><TAB>y");
  EXPECT_EQ(ReplaceTabs("none"), "none");
}

TEST(DirectEditing, KeyTablesInsertTheLanguagesTokens) {
  std::vector<std::string> buttons;
  for (const KeyEntry& k : kKeyButtons) buttons.push_back(std::string(k.Token()));
  EXPECT_EQ(buttons.front(), "<SHIFT>");
  EXPECT_EQ(buttons[2], "<ALT>");
  EXPECT_EQ(buttons[6], "<ENTER>");
  EXPECT_EQ(buttons.back(), "<F12>");
  EXPECT_EQ(kMiscKeys.front().Token(), "<LEFTWIN>");
  EXPECT_EQ(kMiscKeys[21].Token(), "<PA1>");
  EXPECT_EQ(kMiscKeys[32].Token(), "<KEYP.>");
  EXPECT_EQ(kMiscKeys.back().Token(), "<PRTSCR>");
  for (const KeyEntry& k : kMiscKeys) EXPECT_FALSE(k.Token().empty()) << k.label;
  for (const KeyEntry& k : kKeyButtons) EXPECT_FALSE(k.Token().empty()) << k.label;
}

}  // namespace
}  // namespace qlx::editor
