#pragma once
// The command dialogs, one class each. Every dialog opens on a form (its
// fixed defaults, the chosen command's preset, or a line's values), and
// leaves its record in `result` when its OK succeeds.
#include <optional>
#include <string>
#include <vector>

#include "editor/win/command_dialog.h"

namespace qlx {

class TDoMouse : public CommandDialog {
 public:
  TDoMouse(EditorContext& ctx, editor::MouseForm form) : CommandDialog(ctx, "Mouse Commands"), form_(std::move(form)) {}
  std::optional<editor::MouseParams> result;

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  bool OnCommand(int id, int code, HWND control) override;
  void ActionClick();
  editor::MouseForm form_;
};

class TDoDelay2 : public CommandDialog {
 public:
  TDoDelay2(EditorContext& ctx, editor::DelayForm form) : CommandDialog(ctx, "Delays"), form_(std::move(form)) {}
  std::optional<editor::DelayParams> result;

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  editor::DelayForm form_;
};

class TDoPausePos : public CommandDialog {
 public:
  TDoPausePos(EditorContext& ctx, editor::PauseForm form) : CommandDialog(ctx, "Macro Pause"), form_(std::move(form)) {}
  std::optional<editor::PauseParams> result;

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  bool OnCommand(int id, int code, HWND control) override;
  void KindClick();
  editor::PauseForm form_;
};

class TDoRepeat : public CommandDialog {
 public:
  TDoRepeat(EditorContext& ctx, editor::RepeatForm form) : CommandDialog(ctx, "Repeat Options"), form_(std::move(form)) {}
  std::optional<editor::RepeatParams> result;

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  bool OnCommand(int id, int code, HWND control) override;
  void KindClick();
  editor::RepeatForm form_;
};

class TDoSpeed : public CommandDialog {
 public:
  TDoSpeed(EditorContext& ctx, editor::SpeedForm form) : CommandDialog(ctx, "Keyboard and Mouse Speed"), form_(std::move(form)) {}
  std::optional<editor::SpeedParams> result;

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  bool OnCommand(int id, int code, HWND control) override;
  void KindClick();
  editor::SpeedForm form_;
};

class TDoActive : public CommandDialog {
 public:
  TDoActive(EditorContext& ctx, editor::ActiveForm form) : CommandDialog(ctx, "Activating Windows"), form_(std::move(form)) {}
  std::optional<editor::ProgramParams> result;

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  bool OnCommand(int id, int code, HWND control) override;
  void KindClick();
  void BrowseClick();
  editor::ActiveForm form_;
};

// Also the scheduler's alarm choice ("Scheduler Alarm"): "&Beep" reads
// "None", there is no help, and the choice goes into the settings.
class TDoSound : public CommandDialog {
 public:
  TDoSound(EditorContext& ctx, editor::SoundForm form, bool alarm = false)
      : CommandDialog(ctx, "Set Sound"), form_(std::move(form)), alarm_(alarm) {}
  std::optional<editor::SoundParams> result;

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  bool OnCommand(int id, int code, HWND control) override;
  void BrowseClick();
  void TestClick();
  editor::SoundForm form_;
  bool alarm_;
};

class TDoSwap : public CommandDialog {
 public:
  TDoSwap(EditorContext& ctx, std::string path) : CommandDialog(ctx, "Swap Macro File"), path_(std::move(path)) {}
  std::optional<editor::StringParams> result;

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  bool OnCommand(int id, int code, HWND control) override;
  std::string path_;
};

class TDoTextInsert : public CommandDialog {
 public:
  TDoTextInsert(EditorContext& ctx, std::string path) : CommandDialog(ctx, "Insert Text File"), path_(std::move(path)) {}
  std::optional<editor::StringParams> result;

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  bool OnCommand(int id, int code, HWND control) override;
  void EditTextFileClick();
  std::string path_;
};

class TDoSizeIt : public CommandDialog {
 public:
  TDoSizeIt(EditorContext& ctx, editor::SizeForm form) : CommandDialog(ctx, "Size or Position"), form_(std::move(form)) {}
  std::optional<editor::SizePositionParams> result;

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  bool OnCommand(int id, int code, HWND control) override;
  void WindowClick();
  void KindClick();
  editor::SizeForm form_;
};

class TDoSystemCommand : public CommandDialog {
 public:
  TDoSystemCommand(EditorContext& ctx, editor::SystemForm form) : CommandDialog(ctx, "System Commands"), form_(std::move(form)) {}
  std::optional<editor::WindowParams> result;

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  bool OnCommand(int id, int code, HWND control) override;
  void WindowClick();
  editor::SystemForm form_;
};

class TDoRemark : public CommandDialog {
 public:
  TDoRemark(EditorContext& ctx, std::string text) : CommandDialog(ctx, "Remarks"), text_(std::move(text)) {}
  std::optional<editor::StringParams> result;

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  std::string text_;
};

class TDoClipboard : public CommandDialog {
 public:
  TDoClipboard(EditorContext& ctx, editor::ClipboardForm form) : CommandDialog(ctx, "Clipboard Options"), form_(std::move(form)) {}
  std::optional<editor::ClipboardParams> result;

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  bool OnCommand(int id, int code, HWND control) override;
  void KindClick();
  editor::ClipboardForm form_;
};

class TDoKeyUpDown : public CommandDialog {
 public:
  TDoKeyUpDown(EditorContext& ctx, int code) : CommandDialog(ctx, "Keys Up Or Down"), code_(code) {}
  std::optional<editor::ModifierParams> result;

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  int code_;
};

class TDoWebStuff : public CommandDialog {
 public:
  TDoWebStuff(EditorContext& ctx, bool ftp, std::string address)
      : CommandDialog(ctx, ftp ? "Web FTP" : "Web Site URL"), ftp_(ftp), address_(std::move(address)) {}
  std::optional<editor::StringParams> result;

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  bool ftp_;
  std::string address_;
};

class TDoDOSFiles : public CommandDialog {
 public:
  TDoDOSFiles(EditorContext& ctx, editor::FilesForm form) : CommandDialog(ctx, "File Commands"), form_(std::move(form)) {}
  std::optional<editor::FileParams> result;

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  bool OnCommand(int id, int code, HWND control) override;
  void KindClick();
  editor::FilesForm form_;
};

// In token mode the dialog starts on the format and zeros choice last used
// (kept in the settings) and stores the choice back on OK.
class TDateOrTime : public CommandDialog {
 public:
  TDateOrTime(EditorContext& ctx, editor::DateTimeForm form, bool token_mode)
      : CommandDialog(ctx, form.is_date ? "Date Format" : "Time Format"),
        form_(std::move(form)), token_mode_(token_mode) {}
  std::optional<editor::DateTimeParams> result;
  // The token-mode form: the last choice, "&future", 0 days.
  static editor::DateTimeForm LastUsed(const Settings& s, bool is_date);

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void TheFormatDrawItem(const DRAWITEMSTRUCT& item);
  editor::DateTimeForm form_;
  bool token_mode_;
};

class TDoSpecWind : public CommandDialog {
 public:
  TDoSpecWind(EditorContext& ctx, editor::SpecWindForm form)
      : CommandDialog(ctx, form.program ? "Set Program Name" : "Set Window Title"), form_(std::move(form)) {}
  // The name chosen and the window-match flag.
  std::optional<editor::SpecWindCheck> result;

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  bool OnCommand(int id, int code, HWND control) override;
  void ProgListDblClick();
  editor::SpecWindForm form_;
};

// A character 128..255 from a grid, or an Alt keypad sequence.
class TDoSpecial : public CommandDialog {
 public:
  explicit TDoSpecial(EditorContext& ctx) : CommandDialog(ctx, "Insert Symbol") {}
  std::string result;  // one character, or an "<ALT:"/"<ALT4:" token
  static void RegisterGridClass();

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  bool OnCommand(int id, int code, HWND control) override;
  void AltKeypadClick();
};

// "Set Delay" for a delay token, the Alt keypad sequence, or the
// scheduler's frequency.
class TDoDelay : public CommandDialog {
 public:
  TDoDelay(EditorContext& ctx, editor::DelayPromptMode mode, std::string value = {})
      : CommandDialog(ctx, mode == editor::DelayPromptMode::Keypad ? "Alt Keypad Sequence"
                           : mode == editor::DelayPromptMode::SchedulerFrequency ? "Scheduler Frequency"
                                                                                  : "Set Delay"),
        mode_(mode), value_(std::move(value)) {}
  std::optional<editor::DelayPromptCheck> result;

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  editor::DelayPromptMode mode_;
  std::string value_;
};

// ---- Which dialog serves which command.

// Script mode: adding a line of `command` (`current` null: the dialog
// starts on that command) or editing one (`current` its record). The
// record when the user accepts.
std::optional<editor::Params> RunCommandDialog(EditorContext& ctx, HWND owner, int command,
                                               const editor::Params* current);
// Token mode: the direct editor's dialog buttons and "&Actions" items
// (IDC_ACTION_*). Empty when the user cancels.
std::string RunActionDialog(EditorContext& ctx, HWND owner, int action_id);
// The scheduler's settings: its alarm sound and its check frequency.
bool RunSchedulerAlarmDialog(EditorContext& ctx, HWND owner);
std::optional<int> RunSchedulerFrequencyDialog(EditorContext& ctx, HWND owner, int seconds);

}  // namespace qlx
