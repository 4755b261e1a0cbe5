#pragma once
// What the script editor and the direct editor decide without a window:
// the activation mode, the caption, the Snapword check, the fields they
// store into the working record, and the script list's operations.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/script_model.h"
#include "engine/playback_dialogs.h"
#include "store/macro_record.h"

namespace qlx::editor {

// How the macro being edited is started.
enum class ActivationMode : uint8_t { HotKey = 1, Timed = 2, Snapword = 3 };
ActivationMode ModeOfCode(uint16_t code);

// The scope radio buttons: Global, Window (Specific), Program (ProgExe).
enum class ScopeChoice : uint8_t { Global = 1, Window = 2, Program = 3 };
ScopeChoice ScopeChoiceOf(int16_t record_scope);

inline constexpr char kScriptEditorCaption[] = "Macro Scripting Editor";
inline constexpr char kDirectEditorCaption[] = "Modify Hot Key";
// "<base>  (GLOBAL)", "<base>  (Window Title: <name>)", "<base>  (Program: <name>)".
std::string EditorCaption(std::string_view base, ScopeChoice scope, std::string_view name);

// The activation panel: which of its parts show, and their texts.
struct ActivationPanel {
  bool hot_key_label = false;
  bool timer_label = false;
  bool schedule_button = false;
  bool snapword_field = false;
  std::string label_text;  // the hot key's name, "Timed Macros" or "Snapword"
};
ActivationPanel PanelFor(ActivationMode mode, uint16_t code);

// Snapword names: A-Z, a-z, 0-9 and ! # $ % & * + , - . / ; < = > ? @ ^ _.
inline constexpr char kNoSnapwordName[] = "No Snapword name was entered.";
inline constexpr char kInvalidSnapwordName[] =
    "The Snapword name has invalid characters in it.  Valid characters are A - Z, a - z, 0 - 9 "
    "and ' ! @ # $ % ^ & _ = < > ? . ; , * - / +";
// The refusal message, or nothing when the (trimmed) name is acceptable.
std::optional<std::string> CheckSnapwordName(std::string_view name);

inline constexpr char kMainIcon[] = "MAIN";

// A macro made new: no window title, "Top Most Only", the schedule's
// defaults, the program's icon.
void PrepareNewMacro(MacroRecord& record, const CivilDate& today);

// The icon button: a left click loads an icon file into the icon folder
// (the popup-menu builder's rule, ChooseIconFile), a right click goes back
// to the program's icon.
inline constexpr char kResetIconQuestion[] = "Reset icon to program default?";

// What the editor's fields hold when the user accepts.
struct EditedFields {
  std::string nickname;
  ScopeChoice scope = ScopeChoice::Global;
  std::string icon = kMainIcon;
  std::string snapword;  // stored in Snapword mode only
};
// Stores an accepted edit into the working record: modified time, nickname,
// icon, scope, Snapword name, the macro text cut to 5000 characters, and
// the active flag of a new macro. True when the text had to be cut (the
// caller shows the truncation message).
bool StoreAcceptedMacro(MacroRecord& record, const EditedFields& fields, ActivationMode mode,
                        bool is_new, std::string_view text, double now);

// ---- The script editor's window ----------------------------------------

// Where the script editor's controls go, in client pixels. The script list
// is the window's width minus 293 pixels wide, both lists are the client
// height minus 72 pixels high, and the buttons keep their distance from
// the right edge.
inline constexpr int kScriptEditorMinWidth = 320;
inline constexpr int kScriptEditorMinHeight = 240;
struct ScriptEditorLayout {
  Box nickname_label, nickname, global, specific, prog_exe, choose;
  Box hot_key_label, timer_label, schedule, snapword, icon_label, icon;
  Box commands_label, option_box, script_label, script;
  // Add, Insert (before), Insert (after), Wizard, Up, Down, Edit, Copy,
  // Delete, Ok, Cancel, Help.
  std::array<Box, 12> buttons;
};
ScriptEditorLayout LayoutScriptEditor(int client_width, int client_height, int window_width);

// ---- The script list -----------------------------------------------------

enum class InsertMode : uint8_t { Append = 1, Before = 2, After = 3 };

inline constexpr char kNoCommandSelected[] = "No command selected.  Please select one.";
inline constexpr char kNoItemSelected[] = "No Item Selected.";
inline constexpr char kNoScriptLineSelected[] = "No script line selected.  Please select one.";

struct ScriptButtons {
  bool up = false, down = false, copy = false, edit = false, remove = false;
  friend bool operator==(const ScriptButtons&, const ScriptButtons&) = default;
};

// The lines of the script editor with their selection (-1 for none). Every
// operation re-indents the lines.
class ScriptList {
 public:
  void Load(std::string_view macro_text);
  const std::vector<ScriptLine>& lines() const { return lines_; }
  int size() const { return static_cast<int>(lines_.size()); }
  int selected() const { return selected_; }
  void Select(int index) { selected_ = index >= 0 && index < size() ? index : -1; }
  const ScriptLine* SelectedLine() const;

  // The index an add starts from: the selected line, 0 when none is.
  int CurrentIndex() const { return selected_ >= 0 ? selected_ : 0; }
  // Inserts a line made by a dialog as the mode says, relative to
  // `current`, and selects it.
  void Add(InsertMode mode, int current, ScriptLine line);
  // An edit accepted with these values: the line at `index` gets them and a
  // new display text, unless they are the values it had (it then stays as
  // read, token and all).
  void Edit(int index, Params params);
  void Copy();
  void Delete();
  void MoveUp();
  void MoveDown();

  ScriptButtons Buttons() const;
  std::string Write() const;

 private:
  void Indent();
  std::vector<ScriptLine> lines_;
  int selected_ = -1;
};

}  // namespace qlx::editor
