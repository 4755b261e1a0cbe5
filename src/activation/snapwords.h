#pragma once
// Snapwords: the buffer of characters the hook library reports, the match
// against the Snapwords of the macro file (TestIt), the busy refusals, the
// scope order and the start with the Backspaces that erase the typed word.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "activation/dispatch.h"
#include "engine/engine_state.h"
#include "store/settings.h"
#include "store/shared_blocks.h"

namespace qlx {

inline constexpr size_t kSnapwordMax = 10;
inline constexpr size_t kPrefixKeysMax = 2;
inline constexpr size_t kSnapwordBufferMax = 20;
inline constexpr size_t kSnapwordMatchesMax = 50;

// wParam of MSG_SNAPWORD_CHAR.
inline constexpr uint32_t kSnapwordClear = 1;
inline constexpr uint32_t kSnapwordCapsLock = 2;
inline constexpr uint32_t kSnapwordPlain = 0;

inline constexpr char kPrefixKeysInvalidText[] =
    "The Prefix Keys has invalid characters in it.  Valid characters are A - Z, a - z, 0 - 9 and ' ! @ # $ % ^ & "
    "_ = < > ? . ; , * - / +";
inline constexpr char kSnapwordNameInvalidText[] =
    "The Snapword name has invalid characters in it.  Valid characters are A - Z, a - z, 0 - 9 and ' ! @ # $ % ^ "
    "& _ = < > ? . ; , * - / +";
inline constexpr char kSnapwordWaitInvalidText[] =
    "Invalid wait after Backspaces specified.  It must be 0 to 5000 milliseconds.  Please correct.";
inline constexpr char kSnapwordNameMissingText[] = "No Snapword name was entered.";
// The add-macro and capture-complete dialogs' wording.
inline constexpr char kSnapwordNameNotEnteredText[] = "No Snapword name entered.";

// A-Z, a-z, 0-9 and ! # $ % & * + , - . / ; < = > ? @ ^ _
bool IsWordChar(uint8_t c);

struct SnapwordOptions {
  bool solitary = false;
  bool case_sensitive = true;
  bool use_suffix = false;
  std::string prefix;
  int32_t wait_ms = kSnapwordWaitDefaultMs;  // 0: until the target has taken the Backspaces
};
SnapwordOptions SnapwordOptionsOf(const Settings& s);
void StoreSnapwordOptions(const SnapwordOptions& o, Settings& s);

// The Snapword Options dialog's check of the prefix field: the message, or
// nothing when every character is a word character.
std::optional<std::string> PrefixKeysError(std::string_view prefix);
// The dialog's wait field: milliseconds 0 to 5000, blanks around allowed;
// nothing for anything else.
std::optional<int32_t> SnapwordWaitOf(std::string_view field);
// The editors' check of a Snapword name; `short_wording` for the add-macro
// and capture-complete dialogs.
std::optional<std::string> SnapwordNameError(std::string_view name, bool short_wording);

// Busy state that refuses a Snapword, as the dispatch keeps it.
struct SnapwordBusy {
  bool popup_shown = false;
  bool capture_active = false;
  bool pause_in_progress = false;
};

// What TestIt decided.
struct SnapwordMatch {
  int macro = 0;       // started macro, 0 none
  int backspaces = 0;  // Backspaces that erase what was typed
  std::optional<std::string> refusal;  // a busy refusal shown instead
};

// The buffer and the matching, with no side effects of their own.
class SnapwordMatcher {
 public:
  SnapwordMatcher(const ActivationBlock& block, const MacroNameTables& names) : block_(block), names_(names) {}

  const std::string& buffer() const { return buffer_; }
  void Clear() { buffer_.clear(); }

  // A character message with its wParam. Returns true when TestIt must run
  // now (the caller runs Test and acts on the result).
  bool Take(uint32_t w, uint8_t c, const SnapwordOptions& options, bool& caps_lock_was_on);

  // TestIt, steps 1 to 8. `foreground_title` and `foreground_program` are
  // asked only when a window or program match needs them.
  template <typename Title, typename Program>
  SnapwordMatch Test(const SnapwordOptions& options, const SnapwordBusy& busy, Title foreground_title,
                     Program foreground_program) const {
    SnapwordMatch result;
    const Candidates c = Collect(options);
    if (c.count == 0) return result;
    if (busy.popup_shown) result.refusal = kPopupBusyText;
    else if (busy.capture_active) result.refusal = kCaptureBusyText;
    else if (busy.pause_in_progress) result.refusal = kPauseBusyText;
    if (result.refusal) return result;
    // Window, then program, then global: a window or program Snapword
    // whose window is not in front leaves the global one its word.
    int chosen = 0;
    if (c.has_window) chosen = FirstInScope(c, kScopeWindow, foreground_title());
    if (chosen == 0 && c.has_program) chosen = FirstInScope(c, kScopeProgram, foreground_program());
    if (chosen == 0) chosen = FirstGlobal(c);
    if (chosen != 0) {
      result.macro = chosen;
      result.backspaces = BackspacesFor(chosen, options);
    }
    return result;
  }

 private:
  struct Candidates {
    int macros[kSnapwordMatchesMax] = {};
    int count = 0;
    bool has_window = false;
    bool has_program = false;
  };
  Candidates Collect(const SnapwordOptions& options) const;
  int FirstInScope(const Candidates& c, int16_t scope, const std::string& text) const;
  int FirstGlobal(const Candidates& c) const;
  int BackspacesFor(int macro, const SnapwordOptions& options) const;

  ActivationBlock block_;
  const MacroNameTables& names_;
  std::string buffer_;
};

// MSG_SNAPWORD_CHAR end to end: buffer, TestIt, the busy message and the
// start of the chosen macro.
class SnapwordDispatch {
 public:
  SnapwordDispatch(ActivationBlock block, const Settings& settings, EngineState& engine,
                   const DispatchState& dispatch, IDesktop& desktop, IProcesses& processes, IInput& input,
                   IMessagePump& pump, IClock& clock, IDispatchHost& host)
      : matcher_(block, settings.names),
        block_(block),
        settings_(settings),
        engine_(engine),
        dispatch_(dispatch),
        desktop_(desktop),
        processes_(processes),
        input_(input),
        pump_(pump),
        clock_(clock),
        host_(host) {}

  void OnSnapwordChar(uint32_t w, uint32_t lparam);
  const std::string& buffer() const { return matcher_.buffer(); }

  // Backspaces, the wait for them to land, the playback and the
  // end-of-playback key.
  void StartSnapwordMacro(int macro, int backspaces);

 private:
  SnapwordMatcher matcher_;
  ActivationBlock block_;
  const Settings& settings_;
  EngineState& engine_;
  const DispatchState& dispatch_;
  IDesktop& desktop_;
  IProcesses& processes_;
  IInput& input_;
  IMessagePump& pump_;
  IClock& clock_;
  IDispatchHost& host_;
  MacroRecord record_;
};

}  // namespace qlx
