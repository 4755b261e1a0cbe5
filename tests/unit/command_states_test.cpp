#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "app/command_states.h"
#include "store/macro_record.h"
#include "store/shared_blocks.h"

namespace qlx {
namespace {

using C = UiCommand;

FeatureSet AllFeatures() { return FeatureSet().set(); }

// A global hot-key macro selected, everything built, the tray in use.
CommandContext Selected(int16_t scope = kScopeGlobal, uint16_t code = 144, bool active = true) {
  CommandContext ctx;
  ctx.macro_count = 6;
  ctx.row_selected = true;
  ctx.scope = scope;
  ctx.code = code;
  ctx.active = active;
  ctx.use_tray = true;
  ctx.features = AllFeatures();
  return ctx;
}

std::set<UiCommand> Greyed(const CommandStates& s, Surface surface) {
  std::set<UiCommand> out;
  for (size_t i = 0; i < kUiCommandCount; ++i)
    if (!s.Enabled(static_cast<UiCommand>(i), surface)) out.insert(static_cast<UiCommand>(i));
  return out;
}

TEST(CommandStates, WithEveryFeatureBuiltNothingIsGreyedForAnOrdinaryMacro) {
  CommandContext ctx = Selected();
  ctx.features = BuiltFeatures();
  const CommandStates s = ComputeCommandStates(ctx);
  for (Surface surface : {Surface::Menu, Surface::SpeedBar, Surface::Panel})
    EXPECT_EQ(Greyed(s, surface), std::set<UiCommand>{});
}

TEST(CommandStates, SwitchingAFeatureOnEnablesItsCommands) {
  const std::vector<std::pair<Feature, std::vector<UiCommand>>> cases = {
      {Feature::Editors, {C::AddMacro, C::ScriptingEditor, C::ModifyDirectly}},
      {Feature::Capture, {C::Recapture, C::CaptureOptions}},
      {Feature::Scheduler, {C::TimerInterval, C::Alarm, C::ScreenSaver}},
      {Feature::Printing, {C::PrintList, C::PrinterSetup, C::PrinterFont, C::OutputInfo}},
      {Feature::ImportExport, {C::Import, C::Export}},
      {Feature::Tray, {C::Hide, C::SystemTray}},
      {Feature::Network, {C::Network}},
  };
  for (const auto& [feature, commands] : cases) {
    CommandContext ctx = Selected();
    ctx.features.reset();
    ctx.features.set(static_cast<size_t>(Feature::Always));
    ctx.features.set(static_cast<size_t>(feature));
    const CommandStates s = ComputeCommandStates(ctx);
    for (UiCommand c : commands) EXPECT_TRUE(s.Enabled(c, Surface::Menu)) << static_cast<int>(c);
    // The commands of features neither built nor switched on stay off.
    for (size_t i = 0; i < kUiCommandCount; ++i) {
      const auto other = static_cast<UiCommand>(i);
      const Feature f = FeatureOf(other);
      if (f != feature && !BuiltFeatures().test(static_cast<size_t>(f))) {
        EXPECT_FALSE(s.Enabled(other, Surface::Menu)) << static_cast<int>(other);
      }
    }
  }
}

TEST(CommandStates, TheSelectedMacrosKindDecidesTheMacroCommands) {
  struct Case {
    const char* what;
    int16_t scope;
    uint16_t code;
    std::set<UiCommand> greyed;
  };
  const std::vector<Case> cases = {
      {"global hot key", kScopeGlobal, 144, {}},
      {"window Snapword", kScopeWindow, kSnapwordCode, {}},
      {"timed", kScopeGlobal, kTimedCode, {C::Recapture}},
      {"popup menu", kScopePopupMenu, 144, {C::Recapture, C::ScriptingEditor}},
      {"system",
       kScopeSystem,
       262,
       {C::Recapture, C::ScriptingEditor, C::CopyMacro, C::ModifyDirectly, C::RemoveMacro, C::ActivateMacro}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const CommandStates s = ComputeCommandStates(Selected(c.scope, c.code));
    for (Surface surface : {Surface::Menu, Surface::SpeedBar, Surface::Panel}) EXPECT_EQ(Greyed(s, surface), c.greyed);
  }
}

TEST(CommandStates, TheListOpensEveryKindOfMacroUnlessBrowsing) {
  struct Case {
    const char* what;
    int16_t scope;
    uint16_t code;
    BrowseMode browse;
    bool selected;
    bool opens;
  };
  // The Scripting Editor command itself is greyed on menus and system
  // macros; the list's double click and Enter still open them.
  const std::vector<Case> cases = {
      {"global", kScopeGlobal, 144, BrowseMode::None, true, true},
      {"window", kScopeWindow, 145, BrowseMode::None, true, true},
      {"program timed", kScopeProgram, kTimedCode, BrowseMode::None, true, true},
      {"popup menu", kScopePopupMenu, 146, BrowseMode::None, true, true},
      {"system", kScopeSystem, 262, BrowseMode::None, true, true},
      {"browsing", kScopeGlobal, 144, BrowseMode::Browse, true, false},
      {"browsing all", kScopePopupMenu, 146, BrowseMode::BrowseAll, true, false},
      {"no row", kScopeGlobal, 144, BrowseMode::None, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CommandContext ctx = Selected(c.scope, c.code);
    ctx.browse = c.browse;
    ctx.row_selected = c.selected;
    EXPECT_EQ(ListOpensSelectedMacro(ctx), c.opens);
  }
  CommandContext empty = Selected();
  empty.macro_count = 0;
  EXPECT_FALSE(ListOpensSelectedMacro(empty));
}

TEST(CommandStates, ModifyOnAPopupMenuFollowsTheMenuBuilderNotTheEditors) {
  struct Case {
    const char* what;
    int16_t scope;
    bool editors, popup_menu, enabled;
  };
  const std::vector<Case> cases = {
      {"menu, builder only", kScopePopupMenu, false, true, true},
      {"menu, editors only", kScopePopupMenu, true, false, false},
      {"global, builder only", kScopeGlobal, false, true, false},
      {"global, editors only", kScopeGlobal, true, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CommandContext ctx = Selected(c.scope);
    ctx.features = FeatureSet().set(static_cast<size_t>(Feature::Always));
    ctx.features.set(static_cast<size_t>(Feature::Editors), c.editors);
    ctx.features.set(static_cast<size_t>(Feature::PopupMenu), c.popup_menu);
    const CommandStates s = ComputeCommandStates(ctx);
    for (Surface surface : {Surface::Menu, Surface::SpeedBar, Surface::Panel})
      EXPECT_EQ(s.Enabled(C::ModifyDirectly, surface), c.enabled);
  }
  // Browsing still greys it.
  CommandContext browsing = Selected(kScopePopupMenu);
  browsing.browse = BrowseMode::Browse;
  EXPECT_FALSE(ComputeCommandStates(browsing).Enabled(C::ModifyDirectly, Surface::Menu));
}

TEST(CommandStates, WithoutMacrosOnlyAddIsLeftOfTheMacroCommands) {
  CommandContext ctx = Selected();
  ctx.macro_count = 0;
  ctx.row_selected = false;
  const std::set<UiCommand> greyed = {C::ScriptingEditor, C::ModifyDirectly, C::Recapture,     C::CopyMacro,
                                    C::RenameMacro,     C::RemoveMacro,    C::ActivateMacro, C::QuickInfo};
  EXPECT_EQ(Greyed(ComputeCommandStates(ctx), Surface::Menu), greyed);

  // With macros but no selected row the commands stay on: they tell the
  // user to select one.
  ctx.macro_count = 3;
  EXPECT_TRUE(Greyed(ComputeCommandStates(ctx), Surface::Menu).empty());
}

TEST(CommandStates, CaptionsFollowTheSelectedMacro) {
  struct Case {
    int16_t scope;
    bool active;
    BrowseMode browse;
    const char *activate, *activate_hint, *modify, *modify_hint;
  };
  const std::vector<Case> cases = {
      {kScopeGlobal, true, BrowseMode::None, "Deacti&vate Macro", "Deactivate Macro", "Modify &Directly",
       "Modify Macro Directly"},
      {kScopeGlobal, false, BrowseMode::None, "Acti&vate Macro", "Activate Macro", "Modify &Directly",
       "Modify Macro Directly"},
      {kScopePopupMenu, true, BrowseMode::None, "Deacti&vate Macro", "Deactivate Macro", "Mo&dify Popup Menu",
       "Modify Macro Popup Menu"},
      // Browsing leaves the activate command as it was.
      {kScopeGlobal, true, BrowseMode::Browse, "Acti&vate Macro", "Activate Macro", "Modify &Directly",
       "Modify Macro Directly"},
  };
  for (const Case& c : cases) {
    CommandContext ctx = Selected(c.scope, 144, c.active);
    ctx.browse = c.browse;
    const CommandStates s = ComputeCommandStates(ctx);
    EXPECT_EQ(s.activate_caption, c.activate);
    EXPECT_EQ(s.activate_hint, c.activate_hint);
    EXPECT_EQ(s.modify_caption, c.modify);
    EXPECT_EQ(s.modify_hint, c.modify_hint);
  }
}

TEST(CommandStates, BrowseModesGreyTheirListsOnEachSurface) {
  const std::set<UiCommand> browse_menu = {
      C::NewFile,        C::Network,     C::RemoveMacro, C::CopyMacro,      C::RenameMacro,    C::ActivateMacro,
      C::ScriptingEditor, C::Import,     C::Export,      C::ModifyDirectly, C::Recapture,      C::AddMacro,
      C::Appearance,     C::Remap,       C::SnapwordOptions, C::CaptureOptions, C::ScreenSaver, C::SystemHotKeys};
  std::set<UiCommand> browse_all_menu = browse_menu;
  for (UiCommand c : {C::OpenFile, C::Recent1, C::Recent2, C::Recent3, C::Recent4, C::Recent5, C::OutputInfo,
                    C::PrintList, C::PrinterSetup, C::PrinterFont, C::Hide, C::QuickInfo, C::TimerInterval,
                    C::Alarm, C::SortOrder, C::SystemTray})
    browse_all_menu.insert(c);
  const std::set<UiCommand> browse_bar = {C::NewFile,       C::OpenFile,      C::AddMacro,  C::ScriptingEditor,
                                        C::ModifyDirectly, C::Recapture,    C::RenameMacro, C::CopyMacro,
                                        C::ActivateMacro, C::RemoveMacro,   C::Import,    C::Export,
                                        C::PrintList,     C::Appearance};
  std::set<UiCommand> browse_all_bar = browse_bar;
  browse_all_bar.insert(C::SortOrder);
  std::set<UiCommand> everything;
  for (size_t i = 0; i < kUiCommandCount; ++i) everything.insert(static_cast<UiCommand>(i));

  struct Case {
    BrowseMode mode;
    std::set<UiCommand> menu, bar;
  };
  for (const Case& c : {Case{BrowseMode::Browse, browse_menu, browse_bar},
                        Case{BrowseMode::BrowseAll, browse_all_menu, browse_all_bar}}) {
    CommandContext ctx = Selected();
    ctx.browse = c.mode;
    const CommandStates s = ComputeCommandStates(ctx);
    EXPECT_EQ(Greyed(s, Surface::Menu), c.menu);
    EXPECT_EQ(Greyed(s, Surface::SpeedBar), c.bar);
    EXPECT_EQ(Greyed(s, Surface::Panel), everything);
  }
}

TEST(CommandStates, HideNeedsTheTrayAndTheTrayNeedsASystemThatHasOne) {
  CommandContext ctx = Selected();
  ctx.use_tray = false;
  EXPECT_FALSE(ComputeCommandStates(ctx).Enabled(C::Hide, Surface::Menu));
  EXPECT_TRUE(ComputeCommandStates(ctx).Enabled(C::SystemTray, Surface::Menu));
  ctx.tray_capable = false;
  EXPECT_FALSE(ComputeCommandStates(ctx).Enabled(C::SystemTray, Surface::Menu));
}

}  // namespace
}  // namespace qlx
