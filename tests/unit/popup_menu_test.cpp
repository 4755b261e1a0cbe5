#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "editor/popup_menu.h"
#include "editor/popup_menu_chooser.h"
#include "fakes/fake_macro_store.h"

namespace qlx {
namespace {

MacroRecord Macro(int16_t scope, std::string nickname, uint16_t code = 144) {
  MacroRecord r;
  r.SetScope(scope);
  r.SetNickname(nickname);
  r.SetCode(code);
  r.SetActive(true);
  return r;
}

MacroRecord Menu(const std::vector<int>& entries, std::string options = "N30") {
  MacroRecord r = Macro(kScopePopupMenu, "Menu");
  r.SetSnapword(options);
  SetMenuEntries(r, entries);
  return r;
}

// ---- the record ----------------------------------------------------------------

TEST(PopupMenuRecordTest, EntriesSitAfterTheCountInTheTextArea) {
  MacroRecord r;
  SetMenuEntries(r, {7, 3, 300});
  const auto& b = r.bytes();
  EXPECT_EQ(b[100], 3);
  EXPECT_EQ(b[101], 0);
  EXPECT_EQ(b[102], 7);
  EXPECT_EQ(b[104], 3);
  EXPECT_EQ(b[106], 300 & 0xFF);
  EXPECT_EQ(b[107], 300 >> 8);
  EXPECT_EQ(PopupMenuView(r).Entries(), std::vector<int>({7, 3, 300}));
}

TEST(PopupMenuRecordTest, RewritingClearsWhatAnEarlierTextLeft) {
  MacroRecord r;
  r.SetText(std::string(200, 'x'));
  SetMenuEntries(r, {1});
  for (size_t i = 104; i < mr::kIcon; ++i) ASSERT_EQ(r.bytes()[i], 0) << i;
}

TEST(PopupMenuRecordTest, StoredCountBeyondCapacityIsCut) {
  MacroRecord r;
  PutU16(r.data() + pm::kCount, 0xFFFF);
  EXPECT_EQ(PopupMenuView(r).Count(), pm::kMaxEntries);
  EXPECT_EQ(PopupMenuView(r).Entry(pm::kMaxEntries), 0);
  std::vector<int> many(600, 5);
  SetMenuEntries(r, many);
  EXPECT_EQ(GetU16(r.data() + pm::kCount), pm::kMaxEntries);
}

TEST(PopupMenuRecordTest, OptionCharacters) {
  struct Case {
    std::string text;
    bool tray;
    ChooserMode mode;
    int size;
  };
  const std::vector<Case> cases = {
      {"Y14", true, ChooserMode::FirstPart, 4},
      {"N22", false, ChooserMode::Icons, 2},
      {"N30", false, ChooserMode::NicknameAndScope, 0},
      {"y9x", false, ChooserMode::NicknameAndScope, 0},  // unknown characters: defaults
      {"Y", true, ChooserMode::NicknameAndScope, 0},
      {"", false, ChooserMode::NicknameAndScope, 0},
      {" 15", false, ChooserMode::FirstPart, 0},  // "5" is no size
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const MenuOptions o = ParseMenuOptions(c.text);
    EXPECT_EQ(o.in_tray, c.tray);
    EXPECT_EQ(o.mode, c.mode);
    EXPECT_EQ(o.size_index, c.size);
  }
  EXPECT_EQ(MenuOptionsText({true, ChooserMode::Icons, 3}), "Y23");
  EXPECT_EQ(MenuOptionsText({false, ChooserMode::NicknameAndScope, 9}), "N30");
  EXPECT_EQ(IconPixels(2), 32);
  EXPECT_EQ(IconPixels(5), 16);
}

// ---- the builder -------------------------------------------------------------------

class BuilderTest : public ::testing::Test {
 protected:
  fake::FakeMacroStore store;
  PopupMenuBuilder builder;
  void SetUp() override {
    // Macros 1..8 with two system macros among them (4 and 8).
    for (int n = 1; n <= 8; ++n)
      store.Add(Macro(n == 4 || n == 8 ? kScopeSystem : kScopeGlobal, "M" + std::to_string(n)));
  }
};

TEST_F(BuilderTest, StoredOrderReopensInNumberOrderAndSavesSo) {
  builder.Load(store.block(), {7, 3, 5});
  EXPECT_EQ(builder.menu(), std::vector<int>({3, 5, 7}));
  EXPECT_EQ(builder.available(), std::vector<int>({1, 2, 6}));
  MacroRecord working = Menu({7, 3, 5});
  const MenuForm form = MenuFormFromRecord(working, false);
  SaveMenuForm(form, builder.menu(), false, form, false, working);
  EXPECT_EQ(PopupMenuView(working).Entries(), std::vector<int>({3, 5, 7}));
}

TEST_F(BuilderTest, SystemMacrosAndUnknownNumbersAreLeftOut) {
  builder.Load(store.block(), {4, 9, 0, 2});
  EXPECT_EQ(builder.menu(), std::vector<int>({2}));
  EXPECT_EQ(builder.available(), std::vector<int>({1, 3, 5, 6, 7}));
}

TEST_F(BuilderTest, ButtonsMoveMacrosBetweenTheLists) {
  using Sel = PopupMenuBuilder::Selection;
  struct Step {
    const char* name;
    std::function<std::optional<std::string>(PopupMenuBuilder&, Sel&)> press;
    Sel before;
    std::vector<int> menu, available;
    Sel after;
  };
  auto add = [](PopupMenuBuilder& b, Sel& s) { return b.Add(s); };
  auto before = [](PopupMenuBuilder& b, Sel& s) { return b.InsertBefore(s); };
  auto after = [](PopupMenuBuilder& b, Sel& s) { return b.InsertAfter(s); };
  auto remove = [](PopupMenuBuilder& b, Sel& s) { return b.Remove(s); };
  auto up = [](PopupMenuBuilder& b, Sel& s) { return b.Up(s); };
  auto down = [](PopupMenuBuilder& b, Sel& s) { return b.Down(s); };
  // Start: menu {2, 5}, available {1, 3, 6, 7}.
  const std::vector<Step> steps = {
      {"add 3 at the end", add, {1, -1}, {2, 5, 3}, {1, 6, 7}, {1, 2}},
      {"insert 6 in front of 5", before, {1, 1}, {2, 6, 5, 3}, {1, 7}, {1, 1}},
      {"insert 7 in front of nothing: top", before, {1, -1}, {7, 2, 6, 5, 3}, {1}, {0, 0}},
      {"insert 1 behind 6", after, {0, 2}, {7, 2, 6, 1, 5, 3}, {}, {-1, 3}},
      {"remove 6: back in number order", remove, {-1, 2}, {7, 2, 1, 5, 3}, {6}, {0, 2}},
      {"remove 7 from the top", remove, {-1, 0}, {2, 1, 5, 3}, {6, 7}, {1, 0}},
      {"insert 6 behind nothing: end", after, {0, -1}, {2, 1, 5, 3, 6}, {7}, {0, 4}},
      {"up from 1", up, {-1, 1}, {1, 2, 5, 3, 6}, {7}, {-1, 0}},
      {"up at the top stays", up, {-1, 0}, {1, 2, 5, 3, 6}, {7}, {-1, 0}},
      {"down from 5", down, {-1, 2}, {1, 2, 3, 5, 6}, {7}, {-1, 3}},
      {"down at the end stays", down, {-1, 4}, {1, 2, 3, 5, 6}, {7}, {-1, 4}},
  };
  builder.Load(store.block(), {2, 5});
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    Sel sel = s.before;
    EXPECT_FALSE(s.press(builder, sel).has_value());
    EXPECT_EQ(builder.menu(), s.menu);
    EXPECT_EQ(builder.available(), s.available);
    EXPECT_EQ(sel.available, s.after.available);
    EXPECT_EQ(sel.menu, s.after.menu);
  }
}

TEST_F(BuilderTest, PressWithoutTheNeededSelectionIsRefused) {
  builder.Load(store.block(), {2});
  using Sel = PopupMenuBuilder::Selection;
  struct Case {
    const char* name;
    std::function<std::optional<std::string>(Sel&)> press;
    Sel sel;
  };
  const std::vector<Case> cases = {
      {"add", [&](Sel& s) { return builder.Add(s); }, {-1, 0}},
      {"insert before", [&](Sel& s) { return builder.InsertBefore(s); }, {-1, 0}},
      {"insert after", [&](Sel& s) { return builder.InsertAfter(s); }, {9, 0}},
      {"remove", [&](Sel& s) { return builder.Remove(s); }, {0, -1}},
      {"up", [&](Sel& s) { return builder.Up(s); }, {0, 5}},
      {"down", [&](Sel& s) { return builder.Down(s); }, {0, -1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Sel sel = c.sel;
    EXPECT_EQ(c.press(sel), std::optional<std::string>(kNoMacroSelectedText));
    EXPECT_EQ(builder.menu(), std::vector<int>({2}));
  }
}

TEST_F(BuilderTest, ButtonStatesFollowTheSelections) {
  builder.Load(store.block(), {1, 2, 3});
  using B = PopupMenuBuilder::Buttons;
  struct Case {
    PopupMenuBuilder::Selection sel;
    B want;
  };
  const std::vector<Case> cases = {
      {{-1, -1}, {false, false, false, false, false, false}},
      {{0, -1}, {true, true, true, false, false, false}},
      {{-1, 0}, {false, false, false, true, false, true}},
      {{-1, 1}, {false, false, false, true, true, true}},
      {{-1, 2}, {false, false, false, true, true, false}},
  };
  for (const Case& c : cases) {
    const B b = builder.Enabled(c.sel);
    SCOPED_TRACE(std::to_string(c.sel.available) + "," + std::to_string(c.sel.menu));
    EXPECT_EQ(b.add, c.want.add);
    EXPECT_EQ(b.insert_before, c.want.insert_before);
    EXPECT_EQ(b.insert_after, c.want.insert_after);
    EXPECT_EQ(b.remove, c.want.remove);
    EXPECT_EQ(b.up, c.want.up);
    EXPECT_EQ(b.down, c.want.down);
  }
}

TEST(MenuFormTest, OpensFromTheRecordAndNewMenusWithDefaults) {
  MacroRecord r = Menu({1}, "Y23");
  r.SetNickname("Tools");
  r.SetIcon("TOOLS.ICO");
  MenuForm f = MenuFormFromRecord(r, true);
  EXPECT_EQ(f.nickname, "Tools");
  EXPECT_TRUE(f.options.in_tray);
  EXPECT_EQ(f.options.mode, ChooserMode::Icons);
  EXPECT_EQ(f.options.size_index, 3);
  EXPECT_EQ(f.icon, "TOOLS.ICO");
  EXPECT_EQ(MenuFormFromRecord(r, false).icon, "MENU");  // a missing file falls back
  const MenuForm n = NewMenuForm();
  EXPECT_EQ(n.nickname, "");
  EXPECT_FALSE(n.options.in_tray);
  EXPECT_EQ(n.options.mode, ChooserMode::NicknameAndScope);
  EXPECT_EQ(n.options.size_index, 0);
  EXPECT_EQ(n.icon, "MENU");
}

TEST(MenuFormTest, SaveWritesTheMenuAndTellsWhenTheTrayIconsChange) {
  const MenuForm opening{"Tools", {false, ChooserMode::FirstPart, 1}, "MENU"};
  struct Case {
    const char* name;
    bool is_new;
    MenuForm form;
    bool icon_changed;
    bool tray_changed;
  };
  const std::vector<Case> cases = {
      {"unchanged", false, opening, false, false},
      {"other mode only", false, {"Tools", {false, ChooserMode::Icons, 1}, "MENU"}, false, false},
      {"renamed", false, {"Tool box", {false, ChooserMode::FirstPart, 1}, "MENU"}, false, true},
      {"into the tray", false, {"Tools", {true, ChooserMode::FirstPart, 1}, "MENU"}, false, true},
      {"new icon", false, opening, true, true},
      {"new, not in tray", true, {"Tools", {false, ChooserMode::FirstPart, 1}, "MENU"}, false, false},
      {"new, in tray", true, {"Tools", {true, ChooserMode::FirstPart, 1}, "MENU"}, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MacroRecord w;
    w.SetCode(150);
    w.SetText("old text");
    EXPECT_EQ(SaveMenuForm(c.form, {4, 2}, c.is_new, opening, c.icon_changed, w), c.tray_changed);
    EXPECT_EQ(w.Nickname(), c.form.nickname);
    EXPECT_EQ(w.Scope(), kScopePopupMenu);
    EXPECT_EQ(w.Code(), 150);
    EXPECT_EQ(w.Snapword(), MenuOptionsText(c.form.options));
    EXPECT_EQ(w.Icon(), c.form.icon);
    EXPECT_EQ(w.Active(), c.is_new);
    EXPECT_EQ(PopupMenuView(w).Entries(), std::vector<int>({4, 2}));
  }
}

// ---- icon files -----------------------------------------------------------------------

class FakeIconFolder : public IIconFolder {
 public:
  std::map<std::string, std::string> files;  // path -> short name
  std::vector<std::string> copies;
  bool Exists(const std::string& path) override { return files.count(path) > 0; }
  bool CopyNew(const std::string& from, const std::string& to) override {
    copies.push_back(from + ">" + to);
    if (!files.count(from) || files.count(to)) return false;
    files[to] = files[from];
    return true;
  }
  std::string ShortName(const std::string& path) override { return files.count(path) ? files[path] : ""; }
};

TEST(IconFileTest, ChoosingAnIconFile) {
  const std::string icons = "C:\\QUIL\\Icons";
  struct Case {
    const char* name;
    std::string picked;
    std::map<std::string, std::string> files;
    std::vector<std::string> messages;
    std::optional<std::string> icon;
    size_t copies;
  };
  const std::vector<Case> cases = {
      {"from the icon folder", "C:\\QUIL\\Icons\\star.ico", {{"C:\\QUIL\\Icons\\star.ico", "STAR.ICO"}}, {}, "STAR.ICO", 0},
      {"folder in other letters", "c:\\quil\\ICONS\\star.ico", {{"C:\\QUIL\\Icons\\star.ico", "STAR.ICO"}}, {},
       "STAR.ICO", 0},
      {"copied in, long name", "D:\\Art\\Shiny Star.Ico", {{"D:\\Art\\Shiny Star.Ico", "SHINYS~1.ICO"}}, {},
       "SHINYS~1.ICO", 1},
      {"name taken: the folder's own opens",
       "D:\\Art\\star.ico",
       {{"D:\\Art\\star.ico", "STAR.ICO"}, {"C:\\QUIL\\Icons\\star.ico", "STAR.ICO"}},
       {kIconNameTakenText},
       "STAR.ICO",
       1},
      {"copy fails, nothing there", "D:\\Gone\\star.ico", {}, {kIconNameTakenText, kIconNotOpenedText}, std::nullopt, 1},
      {"not an icon", "D:\\Art\\star.bmp", {{"D:\\Art\\star.bmp", "STAR.BMP"}}, {kInvalidIconTypeText}, std::nullopt, 0},
      {"too short", "ico", {}, {kInvalidIconTypeText}, std::nullopt, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeIconFolder folder;
    folder.files = c.files;
    const IconChoice got = ChooseIconFile(c.picked, icons, folder);
    EXPECT_EQ(got.messages, c.messages);
    EXPECT_EQ(got.icon, c.icon);
    EXPECT_EQ(folder.copies.size(), c.copies);
  }
  EXPECT_EQ(IconFolder("C:\\QUIL"), "C:\\QUIL\\Icons");
  EXPECT_EQ(IconFile("C:\\", "A.ICO"), "C:\\Icons\\A.ICO");
}

// ---- the chooser -----------------------------------------------------------------------

TEST(ChooserTest, KeyChoosesTheEntryAtItsLabel) {
  struct Case {
    char key;
    int entries;
    std::optional<int> entry;
  };
  const std::vector<Case> cases = {
      {'0', 1, 0},  {'1', 5, 1},  {'4', 5, 4},  {'5', 5, std::nullopt},  // "5" in a menu of 5: nothing
      {'9', 10, 9}, {'A', 11, 10}, {'a', 11, 10}, {'j', 20, 19}, {'J', 20, 19}, {'K', 20, std::nullopt},
      {'Z', 36, 35}, {'z', 40, 35}, {'!', 20, std::nullopt}, {' ', 20, std::nullopt}, {'[', 40, std::nullopt},
      {'@', 40, std::nullopt}, {'0', 0, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(1, c.key) + " of " + std::to_string(c.entries));
    EXPECT_EQ(ChooserKeyToEntry(c.key, c.entries), c.entry);
  }
}

TEST(ChooserTest, LabelsRunThroughDigitsThenLetters) {
  std::string all;
  for (int p = 0; p < 38; ++p) all += ChooserLabel(p);
  EXPECT_EQ(all, "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  // The key of every label chooses its own position.
  for (int p = 0; p < kKeyPositions; ++p) EXPECT_EQ(ChooserKeyToEntry(ChooserLabel(p)[0], 36), p);
}

TEST(ChooserTest, LinesOfEachMode) {
  MacroRecord global = Macro(kScopeGlobal, "  Letter head  ");
  global.SetText("Dear <TAB>Sir," + std::string(300, '.'));
  MacroRecord window = Macro(kScopeWindow, "Sign");
  window.SetScopeText("Untitled - Notepad");
  MacroRecord timed = Macro(kScopeProgram, "", kTimedCode);
  timed.SetScopeText("WINWORD");
  MacroRecord snap = Macro(kScopeGlobal, "   ", kSnapwordCode);
  snap.SetSnapword("sig");
  MacroRecord hot = Macro(kScopeGlobal, "", 144);
  MacroRecord menu = Menu({1, 2});
  menu.SetNickname("Sub menu");

  ChooserEntry e = MakeChooserEntry(1, 0, global, ChooserMode::NicknameAndScope);
  EXPECT_EQ(e.label, "0");
  EXPECT_EQ(e.text, "Letter head");
  EXPECT_EQ(e.scope, "GLOBAL");
  e = MakeChooserEntry(2, 11, window, ChooserMode::NicknameAndScope);
  EXPECT_EQ(e.label, "B");
  EXPECT_EQ(e.scope, "Untitled - Notepad");
  EXPECT_EQ(MakeChooserEntry(3, 0, timed, ChooserMode::NicknameAndScope).text, "Timed Macro");
  EXPECT_EQ(MakeChooserEntry(3, 0, timed, ChooserMode::NicknameAndScope).scope, "WINWORD");
  EXPECT_EQ(MakeChooserEntry(4, 0, snap, ChooserMode::NicknameAndScope).text, "sig");
  EXPECT_EQ(MakeChooserEntry(5, 0, hot, ChooserMode::NicknameAndScope).text, "Ctrl+Alt+A");
  EXPECT_EQ(MakeChooserEntry(6, 0, menu, ChooserMode::NicknameAndScope).scope, "Popup Menu");

  e = MakeChooserEntry(1, 0, global, ChooserMode::FirstPart);
  EXPECT_EQ(e.text.size(), 255u);
  EXPECT_EQ(e.text.substr(0, 14), "Dear <TAB>Sir,");
  EXPECT_EQ(e.scope, "");
  EXPECT_EQ(MakeChooserEntry(6, 0, menu, ChooserMode::FirstPart).text, "Sub menu");
}

TEST(ChooserTest, EntriesAreReadFromTheFileInMenuOrder) {
  fake::FakeMacroStore store;
  store.Add(Macro(kScopeGlobal, "One"));
  store.Add(Macro(kScopeGlobal, "Two"));
  store.Add(Menu({2, 9, 1}));
  store.unreadable = {9};
  const auto entries = ChooserEntries(store.Record(3), store);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].macro, 2);
  EXPECT_EQ(entries[0].text, "Two");
  EXPECT_EQ(entries[1].macro, 9);  // keeps its place and its number
  EXPECT_EQ(entries[1].label, "1");
  EXPECT_EQ(entries[1].text, "");
  EXPECT_EQ(entries[2].text, "One");
}

TEST(ChooserTest, FitCutsCharacterByCharacter) {
  auto width = [](std::string_view s) { return static_cast<int>(s.size()) * 7; };
  EXPECT_EQ(FitToWidth("Monthly report", 70, width), "Monthly re");
  EXPECT_EQ(FitToWidth("Short", 70, width), "Short");
  EXPECT_EQ(FitToWidth("Any", 3, width), "");
}

TEST(ChooserTest, TextModesGrowWithTheEntriesAndSplitPastEighteen) {
  struct Case {
    int entries;
    int lists;
    int width;
    int first_height;
    int second_height;
  };
  const std::vector<Case> cases = {
      {1, 1, 304, 25, 0},   {5, 1, 304, 93, 0},    {18, 1, 304, 314, 0},
      {19, 2, 604, 314, 25}, {20, 2, 604, 314, 42}, {36, 2, 604, 314, 314},
      {50, 2, 604, 314, 314},  // the second list scrolls past 18 lines
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entries);
    const ChooserLayout l = ComputeChooserLayout(ChooserMode::NicknameAndScope, c.entries, 16);
    EXPECT_FALSE(l.icon_mode);
    EXPECT_EQ(l.lists, c.lists);
    EXPECT_EQ(l.client_width, c.width);
    EXPECT_EQ(l.list[0].width, 300);
    EXPECT_EQ(l.list[0].height, c.first_height);
    EXPECT_EQ(l.client_height, c.first_height + 42);
    if (c.lists == 2) {
      EXPECT_EQ(l.list[1].height, c.second_height);
      EXPECT_EQ(l.list[1].left, l.list[0].left + 300);
    }
    EXPECT_GE(l.cancel.top, l.list[0].top + l.list[0].height);
    EXPECT_LE(l.cancel.top + l.cancel.height, l.client_height);
  }
}

TEST(ChooserTest, IconModeLaysOutNineSquaresARow) {
  struct Case {
    int entries;
    int pixels;
    int width;
    int height;
  };
  const std::vector<Case> cases = {
      {1, 16, 80, 42},   {3, 32, 144, 58},   {4, 32, 144, 58},  {8, 16, 160, 42},
      {9, 16, 180, 42},  {10, 16, 180, 62},  {20, 64, 612, 226},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.entries) + " at " + std::to_string(c.pixels));
    const ChooserLayout l = ComputeChooserLayout(ChooserMode::Icons, c.entries, c.pixels);
    EXPECT_TRUE(l.icon_mode);
    EXPECT_EQ(l.client_width, c.width);
    EXPECT_EQ(l.client_height, c.height);
    ASSERT_EQ(l.buttons.size(), static_cast<size_t>(c.entries));
    const ChooserRect last = l.buttons.back();
    EXPECT_EQ(last.width, c.pixels + 4);
    EXPECT_EQ(last.left, ((c.entries - 1) % 9) * (c.pixels + 4));
    EXPECT_EQ(last.top, ((c.entries - 1) / 9) * (c.pixels + 4));
  }
}

TEST(ChooserTest, PlacedCentredOrAtTheBottomFromTheClick) {
  struct Case {
    int x;
    int left, top;
  };
  // A 304 x 135 chooser on a 1280 x 1024 screen.
  const std::vector<Case> cases = {
      {-1, 488, 444},
      {100, 100, 889},
      {976, 976, 889},   // just fits
      {1270, 966, 889},  // at the right edge: flush left of the click
      {200, 200, 889},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    const ChooserPlace p = PlaceChooser(c.x, 304, 135, 1280, 1024);
    EXPECT_EQ(p.left, c.left);
    EXPECT_EQ(p.top, c.top);
  }
  EXPECT_EQ(PlaceChooser(100, 604, 100, 640, 480).left, 0);  // never left of 0
}

TEST(ChooserTest, IconPictureOfAnEntry) {
  EXPECT_EQ(ChooserIconPicture("MAIN", kScopeGlobal, true), IconPicture::Program);
  EXPECT_EQ(ChooserIconPicture("MENU", kScopeGlobal, true), IconPicture::Menu);
  EXPECT_EQ(ChooserIconPicture("STAR.ICO", kScopeGlobal, true), IconPicture::File);
  EXPECT_EQ(ChooserIconPicture("STAR.ICO", kScopeGlobal, false), IconPicture::Program);
  EXPECT_EQ(ChooserIconPicture("STAR.ICO", kScopePopupMenu, false), IconPicture::Menu);
  EXPECT_EQ(ChooserIconPicture("", kScopeWindow, true), IconPicture::Program);
}

// ---- tray icons ----------------------------------------------------------------------

TEST(MenuTrayTest, FirstFifteenMarkedMenusInNumberOrder) {
  fake::FakeMacroStore store;
  std::vector<int> marked;
  for (int n = 1; n <= 40; ++n) {
    const bool menu = n % 2 == 0;
    const bool tray = n % 4 == 0 || n == 2;
    MacroRecord r = menu ? Menu({1}, tray ? "Y30" : "N30") : Macro(kScopeGlobal, "g");
    if (!menu && n % 4 == 1) r.SetSnapword("Y");  // a Snapword, not a menu
    store.Add(r);
    if (menu && tray) marked.push_back(n);
  }
  ASSERT_EQ(marked.size(), 11u);
  EXPECT_EQ(MenuTrayMacros(store.block(), store.names()), marked);
  for (int n = 41; n <= 60; ++n) store.Add(Menu({1}, "Y10"));
  const std::vector<int> got = MenuTrayMacros(store.block(), store.names());
  ASSERT_EQ(got.size(), 15u);
  EXPECT_EQ(got.back(), 44);  // the 16th marked menu (45) gets none
}

TEST(MenuTrayTest, IconPictureFallsBackToTheMenuIcon) {
  EXPECT_EQ(MenuTrayIconPicture("MENU", true), IconPicture::Menu);
  EXPECT_EQ(MenuTrayIconPicture("TOOLS.ICO", true), IconPicture::File);
  EXPECT_EQ(MenuTrayIconPicture("TOOLS.ICO", false), IconPicture::Menu);
  EXPECT_EQ(MenuTrayIconPicture("MAIN", false), IconPicture::Menu);  // no MAIN for menus: a missing file
  EXPECT_EQ(MenuTrayIconPicture("", true), IconPicture::Menu);
}

TEST(MenuTrayTest, RightClickHandsTheMarkedNumberAndTheOutsideWindow) {
  std::array<uint8_t, wb::kSize> bytes{};
  WindowBlock wb(bytes.data());
  wb.SetLastOutsideWindows(0x1234);
  PutU32(bytes.data() + wb::kLastOutsideWindow2, 0x9999);
  const MenuIconClick c = MenuIconRightClick(17, 1250, wb);
  EXPECT_EQ(c.wparam, 17u + 0x4000u);
  EXPECT_EQ(c.target_window, 0x1234u);
  EXPECT_EQ(c.chooser_x, 1250);
}

}  // namespace
}  // namespace qlx

namespace qlx {
namespace {

TEST(MacroNameTest, UnnamedMacrosShowWhatStartsThem) {
  fake::FakeMacroStore store;
  store.Add(Macro(kScopeGlobal, "  Letter  "));
  store.Add(Macro(kScopeGlobal, " ", kTimedCode));
  MacroRecord snap = Macro(kScopeGlobal, "", kSnapwordCode);
  snap.SetSnapword("addr");
  store.Add(snap);
  store.Add(Macro(kScopeGlobal, "", 0));
  EXPECT_EQ(MacroListName(1, store.block(), store.names()), "Letter");
  EXPECT_EQ(MacroListName(2, store.block(), store.names()), "Timed Macro");
  EXPECT_EQ(MacroListName(3, store.block(), store.names()), "addr");
  EXPECT_EQ(MacroListName(4, store.block(), store.names()), "Ctrl+A");
}

}  // namespace
}  // namespace qlx
