#pragma once
// TAddNewHotKey and TDoWizard without their windows: what each macro type
// shows, the checks of the action buttons with their exact messages, the
// activation a new macro gets, the hot-key list's rows, and the wizard's
// sixteen tasks.
#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/playback_dialogs.h"
#include "store/hotkey_table.h"
#include "store/macro_record.h"
#include "store/shared_blocks.h"

namespace qlx::editor {

// The "Macro Type" radio buttons, in their order.
enum class MacroType : uint8_t { HotKey, Snapword, Timed, PopupMenu };
// The action buttons.
enum class AddAction : uint8_t { EnterDirectly, CaptureMacro, ScriptingEditor };

inline constexpr char kAddMacroCaption[] = "Add Macro";
inline constexpr char kEnterDirectlyText[] = "&Enter Directly";
inline constexpr char kBuildMenuText[] = "Build Menu";
inline constexpr char kNoSnapwordEntered[] = "No Snapword name entered.";
inline constexpr char kNoMacrosForMenu[] =
    "No macros have been defined yet.  A popup menu is created with existing macros.";
inline constexpr char kMenuKeyInUse[] =
    "Selected Hot Key is already either a GLOBAL or Popup Menu Hot Key.  Hot Key cannot be added.";

// What the dialog, or the editor or builder it handed over to, reports.
struct AddOutcome {
  bool saved = false;          // accepted: the record holds the new macro
  bool icons_changed = false;  // a popup menu's tray icon changed
  // A capture now records the new macro: it appends it when it ends and
  // releases the lock then.
  bool capture_started = false;
};

// Parts that arrive with other features: until they do, their choice or
// button is shown greyed.
struct AddFeatures {
  bool capture = false;  // "&Capture Macro"
  bool timed = false;    // "&Timed Macro"
  bool popup = false;    // "&Popup Menu" and "Build Menu"
};

// What a macro type shows.
struct AddTypeView {
  bool hot_key_controls = false;   // the list, the entry field and their labels
  bool snapword_controls = false;  // the Snapword label and field
  bool enter_enabled = false;
  bool capture_enabled = false;
  bool script_enabled = false;
  std::string_view enter_caption = kEnterDirectlyText;
  int client_height = 0;  // pixels
};
AddTypeView ViewOfType(MacroType type, const AddFeatures& features);
// Whether a type's radio button can be chosen in this build.
bool TypeOffered(MacroType type, const AddFeatures& features);

// Where the dialog's controls go, in client pixels. The type choice and
// the action buttons stand at the top, so every type's client height
// shows them; the Snapword or hot-key controls follow below.
inline constexpr int kAddMacroClientWidth = 420;
struct AddMacroLayout {
  Box type_group, hot_key, snapword, timed, popup;
  Box enter, capture, script, abort;
  Box entry_label, entry, list_label, list;
  Box snapword_label, snapword_field;
};
AddMacroLayout LayoutAddMacro();

// Hot keys a GLOBAL, popup-menu or system macro holds.
using HotKeyUse = std::bitset<kHotKeyCodes>;
HotKeyUse HotKeyUseTable(const ActivationBlock& block);
// At least one macro that is not a system macro.
bool MacrosExist(const ActivationBlock& block);

// A row of the hot-key list, split into its two drawn columns: the name,
// and the usage without its parentheses ("Not in Use", "2 macros in use").
struct HotKeyRowColumns {
  std::string name;
  std::string usage;
};
HotKeyRowColumns SplitHotKeyRow(std::string_view row);
// Where the usage column starts in a row this wide.
inline int UsageColumnLeft(int row_width) { return row_width * 3 / 5; }
inline constexpr int kHotKeyRowHeight = 18;

// The answer to an action button.
struct AddVerdict {
  enum class Kind : uint8_t { Accept, Refuse, AskReserved } kind = Kind::Accept;
  std::string text;             // the refusal or the question
  bool focus_snapword = false;  // a refusal puts the focus in the Snapword field
};
// `code` is the selected hot-key line (none when no line is selected).
AddVerdict CheckAddAction(MacroType type, AddAction action, std::optional<int> code, std::string_view snapword,
                          const HotKeyUse& in_use, bool macros_exist);

// Gives the new macro its activation before an editor opens on it: the hot
// key, 10000 for a timed macro, or 20000 and the Snapword (trimmed, at most
// ten characters). A timed macro starts from the default schedule of
// `today`, so one saved without "Set Schedule" runs at noon every day
// rather than read the empty fields as a start-up macro.
void PrepareAddedMacro(MacroRecord& record, MacroType type, int code, std::string_view snapword,
                       const CivilDate& today);
// The editor's global-not-allowed flag: the new macro's hot key is held by
// a GLOBAL, popup-menu or system macro.
bool GlobalNotAllowed(MacroType type, int code, const HotKeyUse& in_use);
// The title the capture dialog shows: "Snapword: " and the name, or the
// hot key's name.
std::string CaptureTitle(MacroType type, int code, std::string_view snapword);

// ---- The scripting wizard --------------------------------------------------

inline constexpr char kWizardCaption[] = "Scripting Wizard";
inline constexpr char kWizardQuestion[] = "What would you like to do?";
inline constexpr char kWizardAddedCaption[] = "Added";
inline constexpr char kWizardContinue[] = "Macro object successfully added.  Continue with wizard?";
inline constexpr char kWizardHelpKeyword[] = "Command Wizard";

struct WizardTask {
  std::string_view label;    // with its "&"
  std::string_view command;  // the script command it adds
};
extern const std::array<WizardTask, 16> kWizardTasks;
// The script command number of a task; 0 when the name is no command.
int WizardCommand(const WizardTask& task);

}  // namespace qlx::editor
