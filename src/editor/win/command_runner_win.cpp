// Which dialog serves which command: the script editor's command
// procedures (values) and the direct editor's dialog buttons (tokens).
#include <variant>

#include "editor/script_text.h"
#include "editor/win/command_dialogs_win.h"
#include "editor/win/text_editors_win.h"
#include "platform/win32/dialog.h"
#include "resource.h"

namespace qlx {
namespace {

using namespace editor;

// The record of the line being edited, when it is of the expected group.
template <typename P>
const P* Current(const Params* current) {
  return current ? std::get_if<P>(current) : nullptr;
}

template <typename Dialog>
std::optional<Params> RunFor(Dialog& d, int template_id, HWND owner) {
  if (!d.Run(template_id, owner) || !d.result) return std::nullopt;
  return Params(*d.result);
}

std::optional<Params> RunText(EditorContext& ctx, HWND owner, const Params* current) {
  const TextRun* run = Current<TextRun>(current);
  TModText editor(ctx, run ? run->text : std::string());
  if (!editor.Execute(owner)) return std::nullopt;
  return Params(TextRun{editor.result()});
}

std::optional<Params> RunDateTime(EditorContext& ctx, HWND owner, int command, const Params* current,
                                  bool token_mode) {
  const DateTimeParams* p = Current<DateTimeParams>(current);
  dlg::UseCommonControls(ICC_UPDOWN_CLASS);  // the days' spin buttons
  TDateOrTime d(ctx, p ? DateTimeFormFor(*p) : TDateOrTime::LastUsed(ctx.settings, command == cmd::kDate),
                token_mode);
  return RunFor(d, IDD_DATE_OR_TIME, owner);
}

std::optional<Params> RunMouse(EditorContext& ctx, HWND owner, int command, const Params* current) {
  MouseForm form;
  if (const MouseParams* p = Current<MouseParams>(current)) form = MouseFormFor(*p);
  else form.action = MouseActionForCommand(command);
  TDoMouse d(ctx, form);
  return RunFor(d, IDD_DO_MOUSE, owner);
}

std::optional<Params> RunRepeat(EditorContext& ctx, HWND owner, int command, const Params* current) {
  RepeatForm form;
  if (const RepeatParams* p = Current<RepeatParams>(current)) form = RepeatFormFor(*p);
  else form.kind = command == cmd::kRepeatEnd        ? repeat::kEnd
           : command == cmd::kRepeatCounter ? repeat::kCounter
           : command == cmd::kRepeatPromptStart ? repeat::kPromptStart
                                                : repeat::kStart;
  TDoRepeat d(ctx, form);
  return RunFor(d, IDD_DO_REPEAT, owner);
}

std::optional<Params> RunSpeed(EditorContext& ctx, HWND owner, int command, const Params* current) {
  SpeedForm form;
  if (const SpeedParams* p = Current<SpeedParams>(current)) form = SpeedFormFor(*p);
  else form.kind = command == cmd::kMouseSpeed      ? speed::kMouse
                   : command == cmd::kPlaybackSpeed ? speed::kPlayback
                                                    : speed::kKeystroke;
  TDoSpeed d(ctx, form);
  return RunFor(d, IDD_DO_SPEED, owner);
}

std::optional<Params> RunActive(EditorContext& ctx, HWND owner, int command, const Params* current) {
  ActiveForm form;
  if (const ProgramParams* p = Current<ProgramParams>(current)) form = ActiveFormFor(*p);
  else form.kind = command == cmd::kActivateWindow     ? program::kActivate
                   : command == cmd::kLaunchProgram    ? program::kLaunch
                   : command == cmd::kLaunchAndActivate ? program::kLaunchAndActivate
                                                        : program::kActivateOrLaunch;
  TDoActive d(ctx, form);
  return RunFor(d, IDD_DO_ACTIVE, owner);
}

std::optional<Params> RunSound(EditorContext& ctx, HWND owner, int command, const Params* current) {
  SoundForm form;
  if (const SoundParams* p = Current<SoundParams>(current)) form = SoundFormFor(*p);
  else form.kind = command == cmd::kSoundWaveFile ? sound::kWave : sound::kBeep;
  TDoSound d(ctx, form);
  return RunFor(d, IDD_DO_SOUND, owner);
}

std::optional<Params> RunString(EditorContext& ctx, HWND owner, int command, const Params* current) {
  const StringParams* p = Current<StringParams>(current);
  const std::string text = p ? p->text : std::string();
  switch (command) {
    case cmd::kLoadMacroFile: {
      TDoSwap d(ctx, text);
      return RunFor(d, IDD_DO_SWAP, owner);
    }
    case cmd::kLoadTextFile: {
      TDoTextInsert d(ctx, text);
      return RunFor(d, IDD_DO_TEXT_INSERT, owner);
    }
    case cmd::kWebSite:
    case cmd::kWebFtp: {
      const bool ftp = command == cmd::kWebFtp;
      TDoWebStuff d(ctx, ftp, p ? text : WebPrefill(ftp));
      return RunFor(d, IDD_DO_WEB_STUFF, owner);
    }
    default: {
      TDoRemark d(ctx, text);
      return RunFor(d, IDD_DO_REMARK, owner);
    }
  }
}

std::optional<Params> RunSize(EditorContext& ctx, HWND owner, int command, const Params* current) {
  SizeForm form;
  if (const SizePositionParams* p = Current<SizePositionParams>(current)) form = SizeFormFor(*p);
  else form.kind = command == cmd::kRepositionWindow ? sizepos::kReposition : sizepos::kResize;
  TDoSizeIt d(ctx, form);
  return RunFor(d, IDD_DO_SIZE_IT, owner);
}

std::optional<Params> RunWindow(EditorContext& ctx, HWND owner, int command, const Params* current) {
  SystemForm form;
  if (const WindowParams* p = Current<WindowParams>(current)) {
    form = SystemFormFor(*p);
  } else {
    static constexpr int kByCommand[] = {window::kMaximize, window::kMinimize, window::kRestore,
                                         window::kClose,    window::kHide,     window::kShow};
    form.kind = command == cmd::kShutDownProgram ? window::kShutDown
                                                 : kByCommand[command - cmd::kMaximizeWindow];
  }
  TDoSystemCommand d(ctx, form);
  return RunFor(d, IDD_DO_SYSTEM_COMMAND, owner);
}

std::optional<Params> RunClipboard(EditorContext& ctx, HWND owner, int command, const Params* current) {
  const ClipboardParams* p = Current<ClipboardParams>(current);
  ClipboardForm form;
  form.kind = command == cmd::kClipboardStartCopy ? clip::kStartCopy
              : command == cmd::kClipboardEndCopy ? clip::kEndCopy
              : command == cmd::kClipboardFileCopy ? clip::kFileCopy
              : command == cmd::kClipboardPaste    ? clip::kPaste
                                                   : clip::kCopy;
  // Adding one of the four without a file needs no dialog.
  if (!p && form.kind != clip::kFileCopy) return Params(ClipboardParams{form.kind, {}});
  if (p) form = ClipboardForm{p->kind, p->path};
  TDoClipboard d(ctx, form);
  return RunFor(d, IDD_DO_CLIPBOARD, owner);
}

std::optional<Params> RunFiles(EditorContext& ctx, HWND owner, int command, const Params* current) {
  FilesForm form;
  if (const FileParams* p = Current<FileParams>(current)) form = FilesFormFor(*p);
  else form.kind = command == cmd::kCopyFile     ? file::kCopy
                   : command == cmd::kRenameFile ? file::kRename
                   : command == cmd::kDeleteFile ? file::kDelete
                                                 : file::kChangeDirectory;
  TDoDOSFiles d(ctx, form);
  return RunFor(d, IDD_DO_DOS_FILES, owner);
}

std::string TokenOfRun(const std::optional<Params>& p) { return p ? TokenOf(*p) : std::string(); }

}  // namespace

std::optional<Params> RunCommandDialog(EditorContext& ctx, HWND owner, int command, const Params* current) {
  const ScriptCommand* c = CommandByNumber(command);
  if (!c) return std::nullopt;
  switch (c->group) {
    case Group::Text: return RunText(ctx, owner, current);
    case Group::DateTime: return RunDateTime(ctx, owner, command, current, false);
    case Group::Delay: {
      const DelayParams* p = Current<DelayParams>(current);
      TDoDelay2 d(ctx, p ? DelayFormFor(*p) : DelayForm{});
      return RunFor(d, IDD_DO_DELAY2, owner);
    }
    case Group::Pause: {
      const PauseParams* p = Current<PauseParams>(current);
      TDoPausePos d(ctx, p ? PauseFormFor(*p) : PauseForm{});
      return RunFor(d, IDD_DO_PAUSE_POS, owner);
    }
    case Group::Repeat: return RunRepeat(ctx, owner, command, current);
    case Group::Speed: return RunSpeed(ctx, owner, command, current);
    case Group::Program: return RunActive(ctx, owner, command, current);
    case Group::Sound: return RunSound(ctx, owner, command, current);
    case Group::SingleString: return RunString(ctx, owner, command, current);
    case Group::SizePosition: return RunSize(ctx, owner, command, current);
    case Group::Window: return RunWindow(ctx, owner, command, current);
    case Group::Mouse: return RunMouse(ctx, owner, command, current);
    case Group::Clipboard: return RunClipboard(ctx, owner, command, current);
    case Group::ModifierKey: {
      const ModifierParams* p = Current<ModifierParams>(current);
      TDoKeyUpDown d(ctx, p ? p->code : KeyDownCodeForCommand(command));
      return RunFor(d, IDD_DO_KEY_UP_DOWN, owner);
    }
    case Group::File: return RunFiles(ctx, owner, command, current);
  }
  return std::nullopt;
}

std::string RunActionDialog(EditorContext& ctx, HWND owner, int action_id) {
  switch (action_id) {
    case IDC_ACTION_DATE: return TokenOfRun(RunDateTime(ctx, owner, cmd::kDate, nullptr, true));
    case IDC_ACTION_TIME: return TokenOfRun(RunDateTime(ctx, owner, cmd::kTime, nullptr, true));
    case IDC_ACTION_SYMBOLS: {
      TDoSpecial::RegisterGridClass();
      TDoSpecial d(ctx);
      return d.Run(IDD_DO_SPECIAL, owner) ? d.result : std::string();
    }
    case IDC_ACTION_DELAY: return TokenOfRun(RunCommandDialog(ctx, owner, cmd::kDelay, nullptr));
    case IDC_ACTION_PAUSE: return TokenOfRun(RunCommandDialog(ctx, owner, cmd::kPause, nullptr));
    case IDC_ACTION_REPEAT: return TokenOfRun(RunCommandDialog(ctx, owner, cmd::kRepeatStart, nullptr));
    case IDC_ACTION_SPEED: return TokenOfRun(RunCommandDialog(ctx, owner, cmd::kKeystrokeSpeed, nullptr));
    case IDC_ACTION_ACTIVATE: return TokenOfRun(RunCommandDialog(ctx, owner, cmd::kActivateOrLaunch, nullptr));
    case IDC_ACTION_SOUND: return TokenOfRun(RunCommandDialog(ctx, owner, cmd::kSoundBeep, nullptr));
    case IDC_ACTION_SWAP: return TokenOfRun(RunCommandDialog(ctx, owner, cmd::kLoadMacroFile, nullptr));
    case IDC_ACTION_LOAD_TEXT: return TokenOfRun(RunCommandDialog(ctx, owner, cmd::kLoadTextFile, nullptr));
    case IDC_ACTION_SIZE_POS: return TokenOfRun(RunCommandDialog(ctx, owner, cmd::kResizeWindow, nullptr));
    case IDC_ACTION_SYSTEM: return TokenOfRun(RunCommandDialog(ctx, owner, cmd::kMaximizeWindow, nullptr));
    case IDC_ACTION_MOUSE: return TokenOfRun(RunCommandDialog(ctx, owner, cmd::kMouseMove, nullptr));
    case IDC_ACTION_CLIPBOARD: {
      TDoClipboard d(ctx, ClipboardForm{});
      return TokenOfRun(RunFor(d, IDD_DO_CLIPBOARD, owner));
    }
    case IDC_ACTION_REMARK: return TokenOfRun(RunCommandDialog(ctx, owner, cmd::kRemark, nullptr));
    case IDC_ACTION_KEY_UP_DOWN: {
      TDoKeyUpDown d(ctx, 0);
      return TokenOfRun(RunFor(d, IDD_DO_KEY_UP_DOWN, owner));
    }
    case IDC_ACTION_WEB_SITE: return TokenOfRun(RunCommandDialog(ctx, owner, cmd::kWebSite, nullptr));
    case IDC_ACTION_FTP: return TokenOfRun(RunCommandDialog(ctx, owner, cmd::kWebFtp, nullptr));
    case IDC_ACTION_FILES: return TokenOfRun(RunCommandDialog(ctx, owner, cmd::kChangeDirectory, nullptr));
    default: return {};
  }
}

bool RunSchedulerAlarmDialog(EditorContext& ctx, HWND owner) {
  const Settings& s = ctx.settings;
  TDoSound d(ctx, SoundForm{s.use_wave_file ? sound::kWave : sound::kBeep, s.wave_file, s.wave_file_wait},
             true);
  return d.Run(IDD_DO_SOUND, owner);
}

std::optional<int> RunSchedulerFrequencyDialog(EditorContext& ctx, HWND owner, int seconds) {
  TDoDelay d(ctx, DelayPromptMode::SchedulerFrequency, std::to_string(seconds));
  if (!d.Run(IDD_DO_DELAY, owner) || !d.result) return std::nullopt;
  return d.result->seconds;
}

}  // namespace qlx
