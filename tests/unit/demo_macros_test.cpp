// The demonstration file kept as text: it builds, holds the hot keys the
// README lists, and each macro plays what the README says on the fake
// desktop (the Wine suite plays them for real).
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "activation/schedule_form.h"
#include "editor/popup_menu.h"
#include "editor/popup_menu_chooser.h"
#include "store/hotkey_table.h"
#include "activation/snapwords.h"
#include "fakes/playback_rig.h"
#include "store/macro_record.h"
#include "tools/macro_file_check.h"
#include "tools/macro_text.h"

namespace qlx {
namespace {

namespace fs = std::filesystem;

const fs::path kRepo = fs::path(__FILE__).parent_path().parent_path().parent_path();

std::string ReadText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<MacroRecord> DemoMacros() {
  const BuildResult built = BuildMacroFile(ReadText(kRepo / "samples" / "demo.txt"));
  EXPECT_TRUE(built.ok()) << (built.ok() ? "" : built.errors[0].message);
  std::vector<MacroRecord> out(built.bytes.size() / mr::kSize);
  for (size_t i = 0; i < out.size(); ++i) std::memcpy(out[i].data(), built.bytes.data() + i * mr::kSize, mr::kSize);
  return out;
}

struct DemoMacro {
  const char* hot_key;
  const char* nickname;
  std::function<void(fake::PlaybackRig&)> world;  // what is on the desktop first
  const char* typed;                              // on 30 March 1998, the rig's day
};

const DemoMacro kDemo[] = {
    {"Ctrl+Alt+D", "Today's date", nullptr, "Today is Monday, 30 March 1998."},
    {"Ctrl+Alt+S", "Signature", nullptr, "Kind regards,\nRobin Example\nQuillon 98 demonstration"},
    {"Ctrl+Alt+R", "Numbered lines", nullptr, "Line 1 of 5\nLine 2 of 5\nLine 3 of 5\nLine 4 of 5\nLine 5 of 5\n"},
    {"Ctrl+Alt+N", "Note in Notepad",
     [](fake::PlaybackRig& rig) { rig.desk.OnLaunchCreateWindow("notepad.exe", "Untitled - Notepad", 800); },
     "Quillon 98 wrote this note on 30 March 1998.\n"},
    {"Ctrl+Alt+P", "Letter with a pause", nullptr, "Dear ,\n\nThank you for your letter."},
};

TEST(DemoMacros, HoldTheListedHotKeysAndPlayWhatTheReadmeSays) {
  const std::vector<MacroRecord> macros = DemoMacros();
  // The hot-key macros, then the Snapword macro, the menu and the timed macro.
  ASSERT_EQ(macros.size(), std::size(kDemo) + 3);
  for (size_t i = 0; i < std::size(kDemo); ++i) {
    const DemoMacro& d = kDemo[i];
    SCOPED_TRACE(d.nickname);
    const MacroRecord& r = macros[i];
    EXPECT_EQ(r.Nickname(), d.nickname);
    EXPECT_EQ(HotKeyName(r.Code()), d.hot_key);
    EXPECT_EQ(r.Scope(), kScopeGlobal);
    EXPECT_TRUE(r.Active());
    EXPECT_EQ(r.Icon(), "MAIN");

    fake::PlaybackRig rig;
    if (d.world) d.world(rig);
    rig.Play(r.Text());
    EXPECT_EQ(rig.Typed(), d.typed);
  }
}

TEST(DemoMacros, TheAddressIsAGlobalSnapwordThatTypesTwoLines) {
  const MacroRecord address = DemoMacros().at(std::size(kDemo));
  EXPECT_EQ(address.Nickname(), "Address");
  EXPECT_EQ(address.Code(), kSnapwordCode);
  EXPECT_EQ(address.Snapword(), "addr");
  EXPECT_EQ(address.Scope(), kScopeGlobal);
  EXPECT_TRUE(address.Active());
  EXPECT_FALSE(SnapwordNameError(address.Snapword(), false).has_value());
  fake::PlaybackRig rig;
  rig.Play(address.Text());
  EXPECT_EQ(rig.Typed(), "12 Example Street\nSpringfield");
}

TEST(DemoMacros, NotepadIsLaunchedOnlyWhenItIsNotOpenAndTypingWaitsForIt) {
  const MacroRecord note = DemoMacros().at(3);
  {
    fake::PlaybackRig rig;
    rig.desk.OnLaunchCreateWindow("notepad.exe", "Untitled - Notepad", 800);
    rig.Play(note.Text());
    ASSERT_EQ(rig.desk.launches.size(), 1u);
    EXPECT_EQ(rig.desk.launches[0].program, "notepad.exe");
    ASSERT_FALSE(rig.desk.events.empty());
    EXPECT_GE(rig.desk.events.front().at_ms, 800u + 1000u);  // the window, then one second
  }
  {
    // Another window whose title only mentions Notepad is not taken for it.
    fake::PlaybackRig rig;
    rig.desk.AddWindow("How to use Notepad");
    rig.desk.OnLaunchCreateWindow("notepad.exe", "Untitled - Notepad", 800);
    rig.Play(note.Text());
    EXPECT_EQ(rig.desk.launches.size(), 1u);
  }
  {
    fake::PlaybackRig rig;
    const WindowHandle pad = rig.desk.AddWindow("notes.txt - Notepad");
    rig.Play(note.Text());
    EXPECT_TRUE(rig.desk.launches.empty());
    EXPECT_EQ(rig.state.TargetWindow, pad);
    EXPECT_EQ(rig.Typed(), "Quillon 98 wrote this note on 30 March 1998.\n");
  }
}

TEST(DemoMacros, TheLetterPausesWithItsMessageBeforeTheName) {
  const MacroRecord letter = DemoMacros().at(4);
  fake::PlaybackRig rig;
  rig.state.Screen = MakeScreenSize(1024, 768);
  std::string typed_at_pause;
  rig.host.during_pause = [&] { typed_at_pause = rig.Typed(); };
  rig.Play(letter.Text());
  ASSERT_EQ(rig.host.pauses.size(), 1u);
  EXPECT_EQ(rig.host.pauses[0].top, 20);
  EXPECT_EQ(rig.host.pauses[0].left, 700);
  EXPECT_EQ(rig.host.pauses[0].message, "Type the name, then press Resume");
  EXPECT_EQ(typed_at_pause, "Dear ");
}

TEST(DemoMacros, TheMenuListsTheFirstThreeMacrosByNickname) {
  const MacroRecord menu = DemoMacros().at(6);
  EXPECT_EQ(menu.Nickname(), "Pick a demonstration");
  EXPECT_EQ(HotKeyName(menu.Code()), "Ctrl+Alt+M");
  EXPECT_EQ(menu.Scope(), kScopePopupMenu);
  EXPECT_TRUE(menu.Active());
  const PopupMenuView view(menu);
  EXPECT_EQ(view.Entries(), (std::vector<int>{1, 2, 3}));
  EXPECT_FALSE(view.Options().in_tray);
  EXPECT_EQ(view.Options().mode, ChooserMode::NicknameAndScope);
  // "1" chooses the signature.
  EXPECT_EQ(ChooserKeyToEntry('1', static_cast<int>(view.Count())), 1);
}

TEST(DemoMacros, TheTimedMacroRemindsInNotepadEveryHourOnceSwitchedOn) {
  const MacroRecord timed = DemoMacros().at(7);
  EXPECT_EQ(timed.Code(), kTimedCode);
  EXPECT_EQ(timed.Scope(), kScopeWindow);
  EXPECT_EQ(timed.ScopeText(), "Untitled - Notepad");
  EXPECT_FALSE(timed.Active());
  EXPECT_EQ(GetSched(timed), "every 60 minutes");
  fake::PlaybackRig rig;
  rig.Play(timed.Text());
  EXPECT_EQ(rig.Typed(), "Time for a short break.\n");
}

TEST(DemoMacros, TheBuiltFileIsSoundAndItsTextComesBackAsBuilt) {
  const BuildResult built = BuildMacroFile(ReadText(kRepo / "samples" / "demo.txt"));
  ASSERT_TRUE(built.ok());
  EXPECT_FALSE(CheckMacroFile(built.bytes).damaged());
  const BuildResult again = BuildMacroFile(DumpMacroFile(built.bytes));
  ASSERT_TRUE(again.ok());
  EXPECT_TRUE(again.bytes == built.bytes);
}

}  // namespace
}  // namespace qlx
