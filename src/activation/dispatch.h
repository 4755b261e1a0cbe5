#pragma once
// Hot-key dispatch: which macro a hot key starts, the checks that refuse a
// macro while the program is busy, and the hand-over to playback.
#include <cstdint>
#include <optional>
#include <string>

#include "engine/engine_state.h"
#include "store/macro_record.h"
#include "store/shared_blocks.h"

namespace qlx {

class WindowCommands;

inline constexpr char kWarningCaption[] = "Warning";
inline constexpr char kPopupBusyText[] =
    "A current Popup Menu macro is being displayed. Another macro cannot be executed until either a choice is "
    "made from the Popup Menu or it is cancelled.";
inline constexpr char kCaptureBusyText[] =
    "A macro is currently being recorded. Another macro cannot be executed until the recording is completed.";
inline constexpr char kPauseBusyText[] =
    "A current playback macro is in the middle of a PAUSE. Another macro cannot be executed until the PAUSE is "
    "either cancelled or resumed.";
inline constexpr char kActivateMePauseText[] =
    "A current playback macro is in the middle of a PAUSE. Quillon 98 cannot be invoked until the PAUSE is either "
    "cancelled or resumed.";
inline constexpr char kActivateMePopupText[] =
    "A Quillon 98 Popup Menu is currently being displayed. Quillon 98 cannot be invoked until this menu has been "
    "cleared.";
inline constexpr char kActivateMeCaptureText[] =
    "A macro is currently being recorded. Quillon 98 cannot be invoked until the recording is completed.";

// What dispatch asks of the main window and of features built elsewhere.
class IDispatchHost {
 public:
  virtual ~IDispatchHost() = default;
  virtual void DoAMessage(const std::string& caption, const std::string& text) = 0;
  // Reads record n of the current macro file into the playback record.
  virtual bool ReadPlaybackRecord(int n, MacroRecord& record) = 0;
  // Plays macro text as a triggered playback: per-playback state reset,
  // speed 1.0, DoMacro, Caps Lock handed back as the user had it.
  virtual void PlayText(const std::string& text) = 0;
  // Shows the chooser of a popup-menu macro; the chosen macro number or -1.
  virtual int ChooseFromPopupMenu(const MacroRecord& menu) = 0;
  virtual void ActivateMe() = 0;
  virtual void StartACapture() = 0;
  virtual void MenuTopWindow() = 0;
  virtual void ResumePause() = 0;
  // Network mode: reloads the file when another machine changed it and
  // answers true when the hot key must be sent again.
  virtual bool ReloadIfChangedElsewhere() = 0;
  virtual void ClearRememberedTrayIcon() = 0;
};

struct DispatchState {
  bool PopupShown = false;
};

class HotKeyDispatch {
 public:
  HotKeyDispatch(ActivationBlock block, EngineState& engine, DispatchState& state, IDesktop& desktop,
                 IProcesses& processes, IInput& input, WindowCommands& windows, IDispatchHost& host)
      : block_(block),
        engine_(engine),
        state_(state),
        desktop_(desktop),
        processes_(processes),
        input_(input),
        windows_(windows),
        host_(host) {}

  // MSG_HOTKEY: wParam and the window that had the focus.
  void OnHotKey(uint32_t wparam, WindowHandle focus);

  // Scope matching: the macro a code starts, or 0.
  int GetMacro(uint32_t code);

  // Plays engine.CurrentMacro (popup menus open their chooser first).
  void RunCurrentMacro();

  // The refusal ActivateMe shows, if any.
  std::optional<std::string> ActivateMeRefusal() const;

 private:
  void IntoProgram(const MacroRecord& record);
  void TapKey(uint8_t vk);
  // Number of the active scope-5 macro with this code (first one), or 0.
  int SystemMacroFor(uint32_t code) const;

  ActivationBlock block_;
  EngineState& engine_;
  DispatchState& state_;
  IDesktop& desktop_;
  IProcesses& processes_;
  IInput& input_;
  WindowCommands& windows_;
  IDispatchHost& host_;
  MacroRecord playback_record_;
};

}  // namespace qlx
