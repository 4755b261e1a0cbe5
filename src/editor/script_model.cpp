#include "editor/script_model.h"

#include "editor/text_util.h"

namespace qlx::editor {

const std::array<ScriptCommand, cmd::kCount> kScriptCommands = {{
    {1, "Text", Group::Text},
    {2, "Date", Group::DateTime},
    {3, "Time", Group::DateTime},
    {4, "Delay", Group::Delay},
    {5, "Pause", Group::Pause},
    {6, "Repeat Start", Group::Repeat},
    {7, "Repeat End", Group::Repeat},
    {8, "Keystroke Speed", Group::Speed},
    {9, "Mouse Speed", Group::Speed},
    {10, "Activate Window", Group::Program},
    {11, "Launch Program", Group::Program},
    {12, "Sound Beep", Group::Sound},
    {13, "Sound Wave File", Group::Sound},
    {14, "Load New Macro File", Group::SingleString},
    {15, "Load Text File", Group::SingleString},
    {16, "Resize Window", Group::SizePosition},
    {17, "Reposition Window", Group::SizePosition},
    {18, "Maximize Window", Group::Window},
    {19, "Minimize Window", Group::Window},
    {20, "Restore Window", Group::Window},
    {21, "Close Window", Group::Window},
    {22, "Hide Window", Group::Window},
    {23, "Show Window", Group::Window},
    {24, "Mouse Move", Group::Mouse},
    {25, "Left Mouse Button", Group::Mouse},
    {26, "Right Mouse Button", Group::Mouse},
    {27, "Middle Mouse Button", Group::Mouse},
    {28, "Mouse Wheel", Group::Mouse},
    {29, "Remark", Group::SingleString},
    {30, "Clipboard Copy", Group::Clipboard},
    {31, "Clipboard Paste", Group::Clipboard},
    {32, "Repeat Counter", Group::Repeat},
    {33, "Activate or Launch", Group::Program},
    {34, "Launch and Activate", Group::Program},
    {35, "Clipboard Start Copy", Group::Clipboard},
    {36, "Clipboard End Copy", Group::Clipboard},
    {37, "Clipboard File Copy", Group::Clipboard},
    {38, "Shut Down Program", Group::Window},
    {39, "Control Key", Group::ModifierKey},
    {40, "Alt Key", Group::ModifierKey},
    {41, "Shift Key", Group::ModifierKey},
    {42, "Win Key", Group::ModifierKey},
    {43, "Web Site", Group::SingleString},
    {44, "Web FTP", Group::SingleString},
    {45, "Repeat Prompt Start", Group::Repeat},
    {46, "Change Directory/Folder", Group::File},
    {47, "Delete File", Group::File},
    {48, "Copy File", Group::File},
    {49, "Rename File", Group::File},
    {50, "Macro Playback Speed", Group::Speed},
}};

const ScriptCommand* CommandByNumber(int number) {
  if (number < 1 || number > cmd::kCount) return nullptr;
  return &kScriptCommands[static_cast<size_t>(number - 1)];
}

const ScriptCommand* CommandOfLine(std::string_view line_text) {
  const std::string_view l = Trim(line_text);
  for (const ScriptCommand& c : kScriptCommands)
    if (l.substr(0, c.name.size()) == c.name) return &c;
  return nullptr;
}

namespace {

int ProgramCommand(int kind) {
  switch (kind) {
    case program::kLaunch: return cmd::kLaunchProgram;
    case program::kLaunchAndActivate: return cmd::kLaunchAndActivate;
    case program::kActivateOrLaunch: return cmd::kActivateOrLaunch;
    default: return cmd::kActivateWindow;
  }
}

int WindowCommand(int kind) {
  switch (kind) {
    case window::kMinimize: return cmd::kMinimizeWindow;
    case window::kRestore: return cmd::kRestoreWindow;
    case window::kClose: return cmd::kCloseWindow;
    case window::kHide: return cmd::kHideWindow;
    case window::kShow: return cmd::kShowWindow;
    case window::kShutDown: return cmd::kShutDownProgram;
    default: return cmd::kMaximizeWindow;
  }
}

int MouseCommand(int action) {
  if (action >= mouse_action::kLeftClick && action <= mouse_action::kLeftUp) return cmd::kLeftButton;
  if (action >= mouse_action::kRightClick && action <= mouse_action::kRightUp) return cmd::kRightButton;
  if (action >= mouse_action::kMiddleClick && action <= mouse_action::kMiddleUp)
    return cmd::kMiddleButton;
  if (action == mouse_action::kWheelForward || action == mouse_action::kWheelBackward)
    return cmd::kMouseWheel;
  return cmd::kMouseMove;
}

int ClipboardCommand(int kind) {
  switch (kind) {
    case clip::kStartCopy: return cmd::kClipboardStartCopy;
    case clip::kEndCopy: return cmd::kClipboardEndCopy;
    case clip::kFileCopy: return cmd::kClipboardFileCopy;
    case clip::kPaste: return cmd::kClipboardPaste;
    default: return cmd::kClipboardCopy;
  }
}

int RepeatCommand(int kind) {
  switch (kind) {
    case repeat::kPromptStart: return cmd::kRepeatPromptStart;
    case repeat::kEnd: return cmd::kRepeatEnd;
    case repeat::kCounter: return cmd::kRepeatCounter;
    default: return cmd::kRepeatStart;
  }
}

int FileCommand(int kind) {
  switch (kind) {
    case file::kCopy: return cmd::kCopyFile;
    case file::kRename: return cmd::kRenameFile;
    case file::kDelete: return cmd::kDeleteFile;
    default: return cmd::kChangeDirectory;
  }
}

}  // namespace

int CommandOfParams(const Params& p) {
  struct Visitor {
    int operator()(const TextRun&) const { return cmd::kText; }
    int operator()(const DateTimeParams& d) const { return d.is_date ? cmd::kDate : cmd::kTime; }
    int operator()(const DelayParams&) const { return cmd::kDelay; }
    int operator()(const PauseParams&) const { return cmd::kPause; }
    int operator()(const RepeatParams& r) const { return RepeatCommand(r.kind); }
    int operator()(const SpeedParams& s) const {
      return s.kind == speed::kMouse      ? cmd::kMouseSpeed
             : s.kind == speed::kPlayback ? cmd::kPlaybackSpeed
                                          : cmd::kKeystrokeSpeed;
    }
    int operator()(const ProgramParams& p) const { return ProgramCommand(p.kind); }
    int operator()(const SoundParams& s) const {
      return s.kind == sound::kWave ? cmd::kSoundWaveFile : cmd::kSoundBeep;
    }
    int operator()(const StringParams& s) const { return s.command; }
    int operator()(const SizePositionParams& s) const {
      return s.kind == sizepos::kReposition ? cmd::kRepositionWindow : cmd::kResizeWindow;
    }
    int operator()(const WindowParams& w) const { return WindowCommand(w.kind); }
    int operator()(const MouseParams& m) const { return MouseCommand(m.action); }
    int operator()(const ClipboardParams& c) const { return ClipboardCommand(c.kind); }
    int operator()(const ModifierParams& m) const {
      return m.code >= 1 && m.code <= 8 ? cmd::kControlKey + (m.code - 1) / 2 : cmd::kControlKey;
    }
    int operator()(const FileParams& f) const { return FileCommand(f.kind); }
  };
  return std::visit(Visitor{}, p);
}

}  // namespace qlx::editor
