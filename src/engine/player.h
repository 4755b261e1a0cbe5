#pragma once
// The playback engine: interprets macro text into key events, waits and
// window commands.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/engine_state.h"
#include "engine/macro_language.h"
#include "engine/playback_host.h"
#include "engine/waits.h"
#include "engine/window_commands.h"

namespace qlx {

// Modifiers a playback level pressed with <SHIFT>, <CTRL>, <ALT> or for a
// character, to be let go after the next key.
struct OneShots {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

// Stopped: a pause dialog was ended with Abort; the pause has already put
// Caps Lock and the windows back, and every enclosing level ends silently.
enum class PlaybackEnd : uint8_t { Done, Aborted, Stopped };

// How a top-level playback was started: a trigger that saw Caps Lock on
// turns it off for the playback and back on at the end.
enum class PlaybackEntry : uint8_t { Triggered, Scheduled };

class Player {
 public:
  Player(const EngineSeams& seams, IPlaybackHost& host, EngineState& state,
         WindowCommands& windows);

  // A top-level playback: fresh per-playback state, speed 1.0, and the
  // keyboard handed over clean (no modifier held by the user or left by
  // the playback).
  void StartPlayback(std::string_view text, PlaybackEntry entry);

  PlaybackEnd DoMacro(std::string_view text);
  void TypeChar(char c, OneShots& shots);
  void TypeAltCode(std::string_view digits);
  void ReleaseOneShots(OneShots& shots);
  void KeyDelay(double ms);
  void PauseFor(double seconds);
  void PauseForNoSpeed(double seconds);
  void PostVKey(uint8_t code, bool up);
  void PostAltVKey(uint8_t code, bool up) { PostVKey(code, up); }
  // Type the date or time text of a format through TypeChar.
  void InsertDate(int format, bool zeros, int offset_days, OneShots& shots);
  void InsertTime(int format, bool zeros, OneShots& shots);

  // Deeper nesting than any macro needs means a text file that plays
  // itself; such a level is skipped.
  static constexpr int kMaxNesting = 32;
  // Unassigned virtual key sent between the user's Alt or Win and its
  // release, so the release does not open a menu.
  static constexpr uint8_t kMenuMaskKey = 0xE8;

 private:
  enum class Step : uint8_t { Continue, EndLevel, Abort, Stop };

  Step Perform(const Token& token, std::string_view text, size_t& pos, OneShots& shots);
  Step PerformRepeat(const Token& token, std::string_view text, size_t& pos);
  Step PerformCounter(const Token& token);
  Step PerformWindowCommand(const Token& token);
  Step PerformWindowCommandOnly(const Token& token);
  // After an activation: the user's modifiers let go again and this
  // playback's held keys pressed again, as the keyboard state may have been
  // replaced meanwhile.
  void TakeBackKeyboard();
  // Mouse, clipboard, file, sound, web, date and time and pause commands.
  Step PerformExtendedCommand(const Token& token, OneShots& shots);
  void PerformMouse(const Token& token);
  Step PerformTextFile(std::string_view path);
  Step PerformPause(const Token& token);
  // Caps Lock and the windows as they were before a pause; the end of a
  // playback that showed a pause, and a pause ended with Abort.
  void RestoreAfterPause();
  static Step StepOf(PlaybackEnd end);
  void TypeUnmappable(uint8_t c);
  void EndStep(OneShots& shots);
  void ReportAbort();
  void ReleaseHeldKeys();
  void EndAfterError();
  void ReleaseUserModifiers();

  IInput& input_;
  IDesktop& desktop_;
  IMessagePump& pump_;
  IShell& shell_;
  IClipboard& clipboard_;
  IFileOperations& files_;
  ISound& sound_;
  IPlaybackHost& host_;
  EngineState& state_;
  WindowCommands& windows_;
  Waits waits_;

  int depth_ = 0;
  bool caps_toggled_ = false;   // this playback turned Caps Lock off at its start
  bool abort_reported_ = false;
  using KeySet = std::array<bool, 256>;
  KeySet held_{};  // keys this playback pressed and has not let go
  // Keys held, and Caps Lock turned off, by the playbacks this one
  // interrupted: theirs to let go.
  KeySet outer_held_{};
  bool outer_caps_toggled_ = false;
};

inline constexpr char kAbortCaption[] = "Macro Abort";
inline constexpr char kAbortText[] = "Quillon 98 macro has been aborted.";

}  // namespace qlx
