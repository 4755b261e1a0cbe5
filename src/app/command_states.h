#pragma once
// Which of the main window's commands are enabled, and the captions that
// follow the selected macro. One table for the menu, the speed bar and the
// lettered panel; the window only copies the answers into its controls.
#include <array>
#include <bitset>
#include <cstdint>
#include <string>

#include "app/startup_logic.h"

namespace qlx {

enum class UiCommand : uint8_t {
  // File
  NewFile, OpenFile, Recent1, Recent2, Recent3, Recent4, Recent5, PrintList, PrinterSetup, PrinterFont,
  OutputInfo, Import, Export, Hide, Terminate,
  // Macro
  AddMacro, ScriptingEditor, ModifyDirectly, Recapture, CopyMacro, RenameMacro, RemoveMacro, ActivateMacro,
  QuickInfo,
  // Options
  Appearance, SortOrder, SystemHotKeys, SnapwordOptions, CaptureOptions, Remap, Network, TimerInterval, Alarm,
  ScreenSaver, ShowDate, SystemTray,
  // Tools, Help
  RestoreKeyboardHooks, RestoreMouseHooks, HelpContents,
  kCount
};
inline constexpr size_t kUiCommandCount = static_cast<size_t>(UiCommand::kCount);

// Features whose commands come with a later part of the program. Until a
// feature is built its commands stay visible and greyed.
enum class Feature : uint8_t {
  Always,        // built with the main window
  Editors,       // add macro, scripting editor, direct editor
  Capture,       // capture options and recapture
  Snapwords,     // Snapword options
  Remap,         // key remapping
  Network,       // network mode
  Scheduler,     // timer interval, alarm, screen saver
  Printing,      // printed list and macro information
  ImportExport,  // import and export
  Tray,          // hiding to the tray
  PopupMenu,     // "Modify Popup Menu" on a popup-menu macro
  Help,          // the help file
  kCount
};
using FeatureSet = std::bitset<static_cast<size_t>(Feature::kCount)>;

// The features this build has. Switch a feature on here when it lands.
FeatureSet BuiltFeatures();

Feature FeatureOf(UiCommand c);

// Where a command is offered: browse mode greys slightly different sets on
// each of them.
enum class Surface : uint8_t { Menu, SpeedBar, Panel };

struct CommandContext {
  int macro_count = 0;
  bool row_selected = false;
  // The selected macro (meaningful when row_selected).
  int16_t scope = 0;
  uint16_t code = 0;
  bool active = false;
  BrowseMode browse = BrowseMode::None;
  bool use_tray = false;
  bool tray_capable = true;
  FeatureSet features;
};

// Captions that change with the selected macro.
inline constexpr char kActivateCaption[] = "Acti&vate Macro";
inline constexpr char kDeactivateCaption[] = "Deacti&vate Macro";
inline constexpr char kActivateHint[] = "Activate Macro";
inline constexpr char kDeactivateHint[] = "Deactivate Macro";
inline constexpr char kModifyDirectlyCaption[] = "Modify &Directly";
inline constexpr char kModifyPopupCaption[] = "Mo&dify Popup Menu";
inline constexpr char kModifyDirectlyHint[] = "Modify Macro Directly";
inline constexpr char kModifyPopupHint[] = "Modify Macro Popup Menu";

class CommandStates {
 public:
  bool Enabled(UiCommand c, Surface s) const {
    return enabled_[static_cast<size_t>(s)][static_cast<size_t>(c)];
  }
  void Set(UiCommand c, Surface s, bool on) { enabled_[static_cast<size_t>(s)][static_cast<size_t>(c)] = on; }

  std::string activate_caption = kActivateCaption;
  std::string activate_hint = kActivateHint;
  std::string modify_caption = kModifyDirectlyCaption;
  std::string modify_hint = kModifyDirectlyHint;

 private:
  std::array<std::array<bool, kUiCommandCount>, 3> enabled_{};
};

CommandStates ComputeCommandStates(const CommandContext& ctx);

// A double click or Enter on the list opens the selected macro whatever
// its kind: the scripting editor, a popup menu's builder or, for a system
// macro, System Hot Keys. Nothing while browsing.
bool ListOpensSelectedMacro(const CommandContext& ctx);

}  // namespace qlx
