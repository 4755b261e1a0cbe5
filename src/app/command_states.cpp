#include "app/command_states.h"

#include <initializer_list>

#include "store/macro_record.h"
#include "store/shared_blocks.h"

namespace qlx {
namespace {

using C = UiCommand;

// Commands that act on the selected macro: without macros they are off.
constexpr std::initializer_list<UiCommand> kOnSelectedMacro = {
    C::ScriptingEditor, C::ModifyDirectly, C::Recapture, C::CopyMacro,
    C::RenameMacro,     C::RemoveMacro,    C::ActivateMacro, C::QuickInfo};

// Commands that change a macro and never apply to a system macro.
constexpr std::initializer_list<UiCommand> kChangeNonSystem = {C::Recapture,      C::ScriptingEditor, C::CopyMacro,
                                                             C::ModifyDirectly, C::RemoveMacro,     C::ActivateMacro};

// Browse mode ("/B") greys these; browse-all mode ("/BA") these and the
// *All lists. System hot keys change macros and are greyed with them.
constexpr std::initializer_list<UiCommand> kBrowseMenu = {
    C::NewFile,        C::Network,       C::RemoveMacro, C::CopyMacro,      C::RenameMacro,
    C::ActivateMacro,  C::ScriptingEditor, C::Import,    C::Export,         C::ModifyDirectly,
    C::Recapture,      C::AddMacro,      C::Appearance,  C::Remap,          C::SnapwordOptions,
    C::CaptureOptions, C::ScreenSaver,   C::SystemHotKeys};
constexpr std::initializer_list<UiCommand> kBrowseAllMenu = {
    C::OpenFile,     C::Recent1, C::Recent2,  C::Recent3,       C::Recent4,       C::Recent5,
    C::OutputInfo,   C::PrintList, C::PrinterSetup, C::PrinterFont, C::Hide,   C::QuickInfo,
    C::TimerInterval, C::Alarm,  C::SortOrder, C::SystemTray};
constexpr std::initializer_list<UiCommand> kBrowseSpeedBar = {
    C::NewFile,     C::OpenFile,  C::AddMacro,      C::ScriptingEditor, C::ModifyDirectly,
    C::Recapture,   C::RenameMacro, C::CopyMacro,   C::ActivateMacro,   C::RemoveMacro,
    C::Import,      C::Export,    C::PrintList,     C::Appearance};
constexpr std::initializer_list<UiCommand> kBrowseAllSpeedBar = {C::SortOrder};

void Grey(CommandStates& s, Surface surface, std::initializer_list<UiCommand> commands) {
  for (UiCommand c : commands) s.Set(c, surface, false);
}
void GreyEverywhere(CommandStates& s, std::initializer_list<UiCommand> commands) {
  for (Surface surface : {Surface::Menu, Surface::SpeedBar, Surface::Panel}) Grey(s, surface, commands);
}

}  // namespace

FeatureSet BuiltFeatures() {
  FeatureSet f;
  for (Feature built : {Feature::Always, Feature::Editors, Feature::Capture, Feature::Snapwords, Feature::Remap,
                        Feature::Help, Feature::Scheduler, Feature::Tray, Feature::PopupMenu,
                        Feature::Network, Feature::Printing, Feature::ImportExport})
    f.set(static_cast<size_t>(built));
  return f;
}

Feature FeatureOf(UiCommand c) {
  switch (c) {
    case C::AddMacro:
    case C::ScriptingEditor:
    case C::ModifyDirectly: return Feature::Editors;
    case C::Recapture:
    case C::CaptureOptions: return Feature::Capture;
    case C::SnapwordOptions: return Feature::Snapwords;
    case C::Remap: return Feature::Remap;
    case C::Network: return Feature::Network;
    case C::TimerInterval:
    case C::Alarm:
    case C::ScreenSaver: return Feature::Scheduler;
    case C::PrintList:
    case C::PrinterSetup:
    case C::PrinterFont:
    case C::OutputInfo: return Feature::Printing;
    case C::Import:
    case C::Export: return Feature::ImportExport;
    case C::Hide:
    case C::SystemTray: return Feature::Tray;
    case C::HelpContents: return Feature::Help;
    default: return Feature::Always;
  }
}

CommandStates ComputeCommandStates(const CommandContext& ctx) {
  CommandStates s;
  for (size_t i = 0; i < kUiCommandCount; ++i) {
    const bool built = ctx.features.test(static_cast<size_t>(FeatureOf(static_cast<UiCommand>(i))));
    for (Surface surface : {Surface::Menu, Surface::SpeedBar, Surface::Panel})
      s.Set(static_cast<UiCommand>(i), surface, built);
  }

  // On a popup-menu macro the modify command opens the menu's builder,
  // not the direct editor.
  if (ctx.row_selected && ctx.scope == kScopePopupMenu) {
    const bool built = ctx.features.test(static_cast<size_t>(Feature::PopupMenu));
    for (Surface surface : {Surface::Menu, Surface::SpeedBar, Surface::Panel}) s.Set(C::ModifyDirectly, surface, built);
  }

  if (ctx.macro_count <= 0) GreyEverywhere(s, kOnSelectedMacro);
  if (!ctx.use_tray) GreyEverywhere(s, {C::Hide});
  if (!ctx.tray_capable) GreyEverywhere(s, {C::SystemTray});

  const bool browsing = ctx.browse != BrowseMode::None;
  if (ctx.row_selected && ctx.macro_count > 0) {
    if (browsing || ctx.scope == kScopeSystem) {
      GreyEverywhere(s, kChangeNonSystem);
    } else {
      const bool popup = ctx.scope == kScopePopupMenu;
      if (popup || ctx.code == kTimedCode) GreyEverywhere(s, {C::Recapture});
      if (popup) GreyEverywhere(s, {C::ScriptingEditor});
    }
    if (!browsing) {
      s.activate_caption = ctx.active ? kDeactivateCaption : kActivateCaption;
      s.activate_hint = ctx.active ? kDeactivateHint : kActivateHint;
    }
    const bool popup = ctx.scope == kScopePopupMenu;
    s.modify_caption = popup ? kModifyPopupCaption : kModifyDirectlyCaption;
    s.modify_hint = popup ? kModifyPopupHint : kModifyDirectlyHint;
  }

  if (browsing) {
    Grey(s, Surface::Menu, kBrowseMenu);
    Grey(s, Surface::SpeedBar, kBrowseSpeedBar);
    for (size_t i = 0; i < kUiCommandCount; ++i) s.Set(static_cast<UiCommand>(i), Surface::Panel, false);
  }
  if (ctx.browse == BrowseMode::BrowseAll) {
    Grey(s, Surface::Menu, kBrowseAllMenu);
    Grey(s, Surface::SpeedBar, kBrowseAllSpeedBar);
  }
  return s;
}

bool ListOpensSelectedMacro(const CommandContext& ctx) {
  return ctx.row_selected && ctx.macro_count > 0 && ctx.browse == BrowseMode::None &&
         ctx.features.test(static_cast<size_t>(Feature::Editors));
}

}  // namespace qlx
