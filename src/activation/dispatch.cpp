#include "activation/dispatch.h"

#include "activation/hook_contract.h"
#include "engine/window_commands.h"

namespace qlx {
namespace {

constexpr uint8_t kVkCapital = 0x14;
constexpr size_t kMaxTitle = 255;

}  // namespace

int HotKeyDispatch::SystemMacroFor(uint32_t code) const {
  const int count = block_.ClampedCount();
  for (int n = 1; n <= count; ++n)
    if (block_.Active(n) && block_.Scope(n) == kScopeSystem && block_.Code(n) == code) return n;
  return 0;
}

void HotKeyDispatch::OnHotKey(uint32_t w, WindowHandle focus) {
  if (state_.PopupShown) {
    host_.DoAMessage(kWarningCaption, kPopupBusyText);
    return;
  }
  if (block_.CaptureActive()) {
    host_.DoAMessage(kWarningCaption, kCaptureBusyText);
    return;
  }
  if (w & kHotKeyMacroNumberBit) {
    // The program's own form for popup-menu tray icons: a macro number.
    const int n = static_cast<int>(w & ~(kHotKeyMacroNumberBit | kHotKeyBit12 | kHotKeyCapsLockBit));
    if (n < 1 || n > block_.ClampedCount()) return;
    engine_.CurrentMacro = n;
    RunCurrentMacro();
    return;
  }
  host_.ClearRememberedTrayIcon();

  const bool caps = (w & kHotKeyCapsLockBit) != 0;
  const uint32_t code = w & ~kHotKeyCapsLockBit;
  if (code >= static_cast<uint32_t>(kHotKeyCodes)) return;

  if (engine_.PauseInProgress) {
    const int resume = SystemMacroFor(code);
    const bool resumes = (resume != 0 && block_.ScopeText(resume) == "3") ||
                         (engine_.CurrentMacro > 0 && GetMacro(code) == engine_.CurrentMacro);
    if (resumes) {
      if (caps) TapKey(kVkCapital);
      host_.ResumePause();
    } else {
      host_.DoAMessage(kWarningCaption, kPauseBusyText);
    }
    return;
  }

  engine_.CurrentMacro = static_cast<int32_t>(code);
  if (caps) {
    if (!block_.PlaybackStarted()) engine_.CapsLockWasOn = true;
  } else if (!block_.PlaybackStarted()) {
    engine_.CapsLockWasOn = false;
  }
  engine_.TargetWindow = focus;

  if (host_.ReloadIfChangedElsewhere()) return;

  if (int sys = SystemMacroFor(code)) {
    const std::string digit = block_.ScopeText(sys);
    if (digit == "1") host_.ActivateMe();
    else if (digit == "2") host_.StartACapture();
    else if (digit == "4") host_.MenuTopWindow();
    return;
  }

  engine_.CurrentMacro = GetMacro(code);
  RunCurrentMacro();
}

int HotKeyDispatch::GetMacro(uint32_t code) {
  const int count = block_.ClampedCount();

  // Foreground pass: a window or program macro whose window is in front.
  if (WindowHandle fg = desktop_.Foreground()) {
    const std::string title = UpperAscii(desktop_.WindowTitle(fg, kMaxTitle));
    if (title.find("PAUSE (") == std::string::npos) {
      std::string program;
      bool program_known = false;
      for (int n = 1; n <= count; ++n) {
        if (!block_.Active(n) || block_.Code(n) != code) continue;
        const int16_t scope = block_.Scope(n);
        const std::string wanted = UpperAscii(block_.ScopeText(n));
        bool match = false;
        if (scope == kScopeWindow) {
          match = title.find(wanted) != std::string::npos;
        } else if (scope == kScopeProgram) {
          if (!program_known) {
            program = UpperAscii(processes_.ExeNameOf(desktop_.ProcessIdOf(fg)));
            program_known = true;
          }
          match = !program.empty() && program.find(wanted) != std::string::npos;
        }
        if (match) {
          engine_.TargetWindow = fg;
          return n;
        }
      }
    }
  }

  // Fallback pass: an "If Running" macro whose window exists wins at once,
  // else the last global, popup or system macro.
  const uint32_t plain = code & ~kHotKeyCapsLockBit;
  int candidate = 0;
  for (int n = 1; n <= count; ++n) {
    if (!block_.Active(n) || block_.Code(n) != plain) continue;
    const int16_t scope = block_.Scope(n);
    if (scope == kScopeGlobal || scope == kScopePopupMenu || scope == kScopeSystem) {
      candidate = n;
    } else if ((scope == kScopeWindow || scope == kScopeProgram) && !block_.TopMostOnly(n)) {
      if (windows_.ActivateIt(block_.ScopeText(n))) return n;
    }
  }
  return candidate;
}

void HotKeyDispatch::RunCurrentMacro() {
  int n = engine_.CurrentMacro;
  // A chosen popup-menu macro opens its own menu, so this may go round.
  while (n > 0 && n <= block_.ClampedCount()) {
    if (!host_.ReadPlaybackRecord(n, playback_record_)) return;
    if (playback_record_.Scope() != kScopePopupMenu) {
      block_.SetPlaybackStarted(true);
      try {
        IntoProgram(playback_record_);
      } catch (...) {
        // The hook library waits for the end key whatever ended the playback.
        TapKey(kEndOfPlaybackKey);
        throw;
      }
      TapKey(kEndOfPlaybackKey);
      return;
    }
    const WindowHandle target = engine_.TargetWindow;
    int chosen = -1;
    {
      FlagScope shown(state_.PopupShown);
      chosen = host_.ChooseFromPopupMenu(playback_record_);
    }
    if (chosen == -1) {
      // Nothing plays, but the hook library still waits for the end key
      // before it treats the next hot key as a fresh one.
      engine_.TargetWindow = target;
      TapKey(kEndOfPlaybackKey);
      return;
    }
    engine_.CurrentMacro = chosen;
    n = chosen;
  }
}

void HotKeyDispatch::IntoProgram(const MacroRecord& record) {
  engine_.AbortRequested = false;
  // The player turns Caps Lock off for the playback when CapsLockWasOn and
  // back on at its end.
  host_.PlayText(record.Text());
}

void HotKeyDispatch::TapKey(uint8_t vk) {
  const uint16_t scan = input_.MapVirtualKey(vk);
  input_.KeyEvent(vk, scan, false, false);
  input_.KeyEvent(vk, scan, true, false);
}

std::optional<std::string> HotKeyDispatch::ActivateMeRefusal() const {
  if (engine_.PauseInProgress) return std::string(kActivateMePauseText);
  if (state_.PopupShown) return std::string(kActivateMePopupText);
  if (block_.CaptureActive()) return std::string(kActivateMeCaptureText);
  return std::nullopt;
}

}  // namespace qlx
