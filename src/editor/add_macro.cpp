#include "editor/add_macro.h"

#include "capture/capture_complete.h"
#include "capture/capture_options.h"
#include "editor/script_model.h"
#include "editor/text_util.h"

namespace qlx::editor {
namespace {

constexpr int kHotKeyHeight = 419;
constexpr int kSnapwordHeight = 160;
constexpr int kTimedHeight = 129;

AddVerdict Refuse(std::string text, bool focus_snapword = false) {
  return {AddVerdict::Kind::Refuse, std::move(text), focus_snapword};
}

// A hot key must be chosen and, when Windows may keep it, confirmed.
AddVerdict CheckHotKey(std::optional<int> code) {
  if (!code || *code < 0 || *code >= kHotKeyCodes) return Refuse(kNoHotKeySelectedText);
  if (IsReservedHotKey(*code)) return {AddVerdict::Kind::AskReserved, ReservedHotKeyQuestion(HotKeyName(*code)), false};
  return {};
}

}  // namespace

bool TypeOffered(MacroType type, const AddFeatures& features) {
  switch (type) {
    case MacroType::Timed: return features.timed;
    case MacroType::PopupMenu: return features.popup;
    case MacroType::HotKey:
    case MacroType::Snapword: break;
  }
  return true;
}

AddTypeView ViewOfType(MacroType type, const AddFeatures& features) {
  AddTypeView v;
  switch (type) {
    case MacroType::HotKey:
      v.hot_key_controls = true;
      v.enter_enabled = v.script_enabled = true;
      v.capture_enabled = features.capture;
      v.client_height = kHotKeyHeight;
      break;
    case MacroType::PopupMenu:
      v.hot_key_controls = true;
      v.enter_enabled = features.popup;
      v.enter_caption = kBuildMenuText;
      v.client_height = kHotKeyHeight;
      break;
    case MacroType::Snapword:
      v.snapword_controls = true;
      v.enter_enabled = v.script_enabled = true;
      v.capture_enabled = features.capture;
      v.client_height = kSnapwordHeight;
      break;
    case MacroType::Timed:
      v.enter_enabled = v.script_enabled = features.timed;
      v.client_height = kTimedHeight;
      break;
  }
  return v;
}

AddMacroLayout LayoutAddMacro() {
  constexpr int kMargin = 8, kGap = 8, kButtonHeight = 26, kFieldHeight = 22, kLabelHeight = 16;
  constexpr int kWidth = kAddMacroClientWidth - 2 * kMargin;
  AddMacroLayout l;
  l.type_group = {kMargin, 4, kWidth, 48};
  const int radio_width = (kWidth - 16) / 4;
  l.hot_key = {kMargin + 8, 24, radio_width, 20};
  l.snapword = {kMargin + 8 + radio_width, 24, radio_width, 20};
  l.timed = {kMargin + 8 + 2 * radio_width, 24, radio_width, 20};
  l.popup = {kMargin + 8 + 3 * radio_width, 24, radio_width, 20};
  const int button_width = (kWidth - 3 * kGap) / 4;
  const int buttons_top = 62;
  l.enter = {kMargin, buttons_top, button_width, kButtonHeight};
  l.capture = {kMargin + (button_width + kGap), buttons_top, button_width, kButtonHeight};
  l.script = {kMargin + 2 * (button_width + kGap), buttons_top, button_width, kButtonHeight};
  l.abort = {kMargin + 3 * (button_width + kGap), buttons_top, button_width, kButtonHeight};
  const int below = buttons_top + kButtonHeight + 10;
  l.entry_label = {kMargin, below, kWidth, kLabelHeight};
  l.entry = {kMargin, below + kLabelHeight + 2, 200, kFieldHeight};
  l.list_label = {kMargin, l.entry.top + kFieldHeight + 8, kWidth, kLabelHeight};
  l.list = {kMargin, l.list_label.top + kLabelHeight + 2, kWidth, 0};
  l.list.height = kHotKeyHeight - kMargin - l.list.top;
  l.snapword_label = {kMargin, below, kWidth, kLabelHeight};
  l.snapword_field = {kMargin, below + kLabelHeight + 2, 120, kFieldHeight};
  return l;
}

HotKeyUse HotKeyUseTable(const ActivationBlock& block) {
  HotKeyUse use;
  const int count = block.ClampedCount();
  for (int m = 1; m <= count; ++m) {
    const uint16_t code = block.Code(m);
    const int16_t scope = block.Scope(m);
    if (code >= kHotKeyCodes) continue;
    if (scope == kScopeGlobal || scope == kScopePopupMenu || scope == kScopeSystem) use.set(code);
  }
  return use;
}

bool MacrosExist(const ActivationBlock& block) {
  const int count = block.ClampedCount();
  for (int m = 1; m <= count; ++m)
    if (block.Scope(m) != kScopeSystem) return true;
  return false;
}

HotKeyRowColumns SplitHotKeyRow(std::string_view row) {
  const size_t open = row.rfind("  (");
  if (open == std::string_view::npos) return {std::string(row), std::string()};
  std::string_view usage = row.substr(open + 3);
  if (!usage.empty() && usage.back() == ')') usage.remove_suffix(1);
  return {std::string(row.substr(0, open)), std::string(usage)};
}

AddVerdict CheckAddAction(MacroType type, AddAction action, std::optional<int> code, std::string_view snapword,
                          const HotKeyUse& in_use, bool macros_exist) {
  switch (type) {
    case MacroType::PopupMenu:
      if (action != AddAction::EnterDirectly) return {};  // the other buttons are disabled
      if (!macros_exist) return Refuse(kNoMacrosForMenu);
      if (!code || *code < 0 || *code >= kHotKeyCodes) return Refuse(kNoHotKeySelectedText);
      if (in_use.test(static_cast<size_t>(*code))) return Refuse(kMenuKeyInUse);
      return CheckHotKey(code);
    case MacroType::HotKey:
      return CheckHotKey(code);
    case MacroType::Snapword:
      if (Trim(snapword).empty()) return Refuse(kNoSnapwordEntered, true);
      return {};
    case MacroType::Timed:
      break;
  }
  return {};
}

void PrepareAddedMacro(MacroRecord& record, MacroType type, int code, std::string_view snapword,
                       const CivilDate& today) {
  switch (type) {
    case MacroType::HotKey:
    case MacroType::PopupMenu:
      record.SetCode(static_cast<uint16_t>(code));
      record.SetSnapword("");
      break;
    case MacroType::Snapword:
      record.SetCode(kSnapwordCode);
      record.SetSnapword(Trim(snapword).substr(0, mr::kSnapwordCapacity));
      break;
    case MacroType::Timed:
      if (record.Code() != kTimedCode) SetNewTimedMacroSchedule(record, today);
      record.SetCode(kTimedCode);
      record.SetSnapword("");
      break;
  }
}

bool GlobalNotAllowed(MacroType type, int code, const HotKeyUse& in_use) {
  return type == MacroType::HotKey && code >= 0 && code < kHotKeyCodes && in_use.test(static_cast<size_t>(code));
}

std::string CaptureTitle(MacroType type, int code, std::string_view snapword) {
  if (type == MacroType::Snapword) return "Snapword: " + std::string(Trim(snapword));
  return std::string(HotKeyName(code));
}

const std::array<WizardTask, 16> kWizardTasks = {{
    {"&Enter Text, Symbols, Keystrokes", "Text"},
    {"Mouse Clic&ks, Movements, Wheel", "Mouse Move"},
    {"&Activate / Launch Programs", "Activate or Launch"},
    {"Launch a &Web Site", "Web Site"},
    {"Insert &Date (current, past or future)", "Date"},
    {"Insert &Time", "Time"},
    {"Macro &Pause", "Pause"},
    {"E&nter a Comment or Remark", "Remark"},
    {"&Set Keyboard or Mouse Speed", "Keystroke Speed"},
    {"&Insert a Delay", "Delay"},
    {"Set a Window Si&ze or Position", "Resize Window"},
    {"&Maximize, Minimize, etc Windows", "Minimize Window"},
    {"&Clipboard Functions (copy, paste)", "Clipboard File Copy"},
    {"Pla&y a Sound", "Sound Wave File"},
    {"Delete, Copy, Rename &Files, etc", "Change Directory/Folder"},
    {"Repeat &Loop", "Repeat Start"},
}};

int WizardCommand(const WizardTask& task) {
  for (const ScriptCommand& c : kScriptCommands)
    if (c.name == task.command) return c.number;
  return 0;
}

}  // namespace qlx::editor
