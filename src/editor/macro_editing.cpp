#include "editor/macro_editing.h"

#include <utility>

#include "store/hotkey_table.h"
#include "store/shared_blocks.h"
#include "editor/script_text.h"
#include "editor/text_util.h"

namespace qlx::editor {

ActivationMode ModeOfCode(uint16_t code) {
  if (code == kTimedCode) return ActivationMode::Timed;
  if (code == kSnapwordCode) return ActivationMode::Snapword;
  return ActivationMode::HotKey;
}

ScopeChoice ScopeChoiceOf(int16_t record_scope) {
  if (record_scope == kScopeGlobal) return ScopeChoice::Global;
  if (record_scope == kScopeWindow) return ScopeChoice::Window;
  return ScopeChoice::Program;
}

std::string EditorCaption(std::string_view base, ScopeChoice scope, std::string_view name) {
  std::string s(base);
  switch (scope) {
    case ScopeChoice::Program: return s + "  (Program: " + std::string(name) + ")";
    case ScopeChoice::Window: return s + "  (Window Title: " + std::string(name) + ")";
    case ScopeChoice::Global: break;
  }
  return s + "  (GLOBAL)";
}

ActivationPanel PanelFor(ActivationMode mode, uint16_t code) {
  ActivationPanel p;
  switch (mode) {
    case ActivationMode::Timed:
      p.timer_label = true;
      p.schedule_button = true;
      p.label_text = "Timed Macros";
      break;
    case ActivationMode::Snapword:
      p.timer_label = true;
      p.snapword_field = true;
      p.label_text = "Snapword";
      break;
    case ActivationMode::HotKey:
      p.hot_key_label = true;
      p.label_text = std::string(HotKeyName(code));
      break;
  }
  return p;
}

std::optional<std::string> CheckSnapwordName(std::string_view name) {
  const std::string_view n = Trim(name);
  if (n.empty()) return std::string(kNoSnapwordName);
  constexpr std::string_view kMarks = "!#$%&*+,-./;<=>?@^_";
  for (char c : n) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    const bool digit = c >= '0' && c <= '9';
    if (!letter && !digit && kMarks.find(c) == std::string_view::npos)
      return std::string(kInvalidSnapwordName);
  }
  return std::nullopt;
}

void PrepareNewMacro(MacroRecord& record, const CivilDate& today) {
  record.SetScopeText("");
  record.SetTopMostOnly(true);
  SetNewTimedMacroSchedule(record, today);
  record.SetIcon(kMainIcon);
}

bool StoreAcceptedMacro(MacroRecord& record, const EditedFields& fields, ActivationMode mode,
                        bool is_new, std::string_view text, double now) {
  if (is_new) record.SetActive(true);
  record.SetLastModified(now);
  record.SetNickname(std::string(Trim(fields.nickname)));
  record.SetIcon(fields.icon);
  record.SetScope(static_cast<int16_t>(fields.scope));
  record.SetSnapword(mode == ActivationMode::Snapword ? std::string(Trim(fields.snapword))
                                                      : std::string());
  const bool cut = text.size() > kMacroTextLimit;
  record.SetText(text.substr(0, kMacroTextLimit));
  return cut;
}

ScriptEditorLayout LayoutScriptEditor(int cw, int ch, int ww) {
  constexpr int kMargin = 8, kListTop = 66, kBelowLists = 72, kCommandsWidth = 160,
                kScriptLeft = 176, kBesideScript = 293, kButtonWidth = 80, kButtonHeight = 23,
                kButtonStep = 26, kWizardHeight = 34, kRowA = 4, kRowB = 28, kFieldHeight = 22;
  ScriptEditorLayout l;
  l.nickname_label = {kMargin, kRowA + 4, 56, 16};
  l.nickname = {66, kRowA, 180, kFieldHeight};
  l.global = {254, kRowA + 2, 60, 18};
  l.specific = {316, kRowA + 2, 66, 18};
  l.prog_exe = {384, kRowA + 2, 70, 18};
  l.choose = {384, kRowB, 70, kFieldHeight};
  l.hot_key_label = {kMargin, kRowB + 3, 300, 16};
  l.timer_label = {kMargin, kRowB + 3, 80, 16};
  l.schedule = {90, kRowB, 96, kFieldHeight};
  l.snapword = {90, kRowB, 96, kFieldHeight};
  const int buttons_left = cw - kMargin - kButtonWidth;
  l.icon_label = {buttons_left, kRowA + 12, 30, 16};
  l.icon = {buttons_left + 34, kRowA - 2, 44, 44};
  const int list_height = ch - kBelowLists;
  l.commands_label = {kMargin, kListTop - 16, kCommandsWidth, 16};
  l.option_box = {kMargin, kListTop, kCommandsWidth, list_height};
  l.script_label = {kScriptLeft, kListTop - 16, 200, 16};
  l.script = {kScriptLeft, kListTop, ww - kBesideScript, list_height};
  int y = kListTop;
  for (size_t i = 0; i < l.buttons.size(); ++i) {
    const int height = i == 3 ? kWizardHeight : kButtonHeight;
    if (i == 9) y += 6;  // Ok, Cancel and Help apart from the line buttons
    l.buttons[i] = {buttons_left, y, kButtonWidth, height};
    y += height + (kButtonStep - kButtonHeight);
  }
  return l;
}

// ---- ScriptList ------------------------------------------------------------

void ScriptList::Load(std::string_view macro_text) {
  lines_ = BuildTheScript(macro_text);
  selected_ = -1;
  Indent();
}

const ScriptLine* ScriptList::SelectedLine() const {
  return selected_ >= 0 ? &lines_[static_cast<size_t>(selected_)] : nullptr;
}

void ScriptList::Indent() { SetIndents(lines_); }

void ScriptList::Add(InsertMode mode, int current, ScriptLine line) {
  if (current < 0 || current > size()) current = 0;
  int at = 0;
  switch (mode) {
    case InsertMode::Append: at = size(); break;
    case InsertMode::Before: at = current; break;
    case InsertMode::After: at = lines_.empty() ? 0 : current + 1; break;
  }
  if (at > size()) at = size();
  lines_.insert(lines_.begin() + at, std::move(line));
  selected_ = at;
  Indent();
}

void ScriptList::Edit(int index, Params params) {
  if (index < 0 || index >= size()) return;
  ScriptLine& line = lines_[static_cast<size_t>(index)];
  if (!(line.params == params)) line = LineFromDialog(std::move(params));
  selected_ = index;
  Indent();
}

void ScriptList::Copy() {
  if (selected_ < 0) return;
  const ScriptLine copy = lines_[static_cast<size_t>(selected_)];
  lines_.insert(lines_.begin() + selected_, copy);
  selected_ += 1;
  Indent();
}

void ScriptList::Delete() {
  if (selected_ < 0) return;
  lines_.erase(lines_.begin() + selected_);
  if (lines_.empty()) selected_ = -1;
  else if (selected_ >= size()) selected_ = size() - 1;
  Indent();
}

void ScriptList::MoveUp() {
  if (selected_ <= 0) return;
  std::swap(lines_[static_cast<size_t>(selected_)], lines_[static_cast<size_t>(selected_ - 1)]);
  --selected_;
  Indent();
}

void ScriptList::MoveDown() {
  if (selected_ < 0 || selected_ + 1 >= size()) return;
  std::swap(lines_[static_cast<size_t>(selected_)], lines_[static_cast<size_t>(selected_ + 1)]);
  ++selected_;
  Indent();
}

ScriptButtons ScriptList::Buttons() const {
  ScriptButtons b;
  if (selected_ < 0) return b;
  b.copy = b.edit = b.remove = true;
  b.up = selected_ > 0;
  b.down = selected_ + 1 < size();
  return b;
}

std::string ScriptList::Write() const { return WriteScript(lines_); }

}  // namespace qlx::editor
