#pragma once
// What the three playback dialogs decide without a window: their fixed
// texts, sizes and places, the pause dialog's caption and the repeat
// prompt's check of the number typed. The dialog classes in engine/win/
// only move these values into their controls.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/engine_state.h"

namespace qlx {

// A control's place in its dialog's client area, in pixels.
struct Box {
  int left = 0, top = 0, width = 0, height = 0;
  friend bool operator==(const Box&, const Box&) = default;
};

// A window's top-left corner on the screen.
struct ScreenPlace {
  int left = 0, top = 0;
  friend bool operator==(const ScreenPlace&, const ScreenPlace&) = default;
};

// The font of every label and button of the three dialogs.
inline constexpr char kDialogFontName[] = "Arial";
inline constexpr int kDialogFontPoints = 9;

// ---- the pause dialog, TPauseMacro ------------------------------------------

inline constexpr char kPauseCaption[] = "Pause";
inline constexpr char kPauseHeading[] = "Quillon Pause";
inline constexpr char kResumeButtonText[] = "&Resume";
inline constexpr char kAbortButtonText[] = "&Abort";

inline constexpr int kPauseWidth = 224;
inline constexpr int kPauseHeight = 94;  // without a message
// About 30 characters of the message fit on one line of 19 pixels.
inline constexpr int kPauseLineChars = 30;
inline constexpr int kPauseLineHeight = 19;
inline constexpr int kPauseMessageWidth = 201;
inline constexpr int kPauseButtonWidth = 89;
inline constexpr int kPauseButtonHeight = 21;
// The buttons' top is this far above the form's bottom edge.
inline constexpr int kPauseButtonRise = 52;

// Height of the message label: 0 without a message, else one 19-pixel line
// per started 30 characters, plus one.
int PauseMessageHeight(size_t message_length);

// "<PAUSE>": the middle of the screen.
ScreenPlace CentredPausePlace(const ScreenSize& screen);
// "<PAUSE:": the place asked for, moved up and left as far as needed to
// keep the whole dialog on the screen.
ScreenPlace PausePlaceOnScreen(int top, int left, size_t message_length,
                               const ScreenSize& screen);

struct PauseLayout {
  int form_width = 0;
  int form_height = 0;
  bool message_visible = false;
  Box heading;  // "Quillon Pause"
  Box title;    // MacroTitleLabel
  Box message;  // MessageLabel
  Box resume;   // ResumeButton
  Box abort;    // AbortButton
};
// Lines of the macro's name that the form makes room for: a long nickname
// wraps instead of being cut.
inline constexpr int kPauseTitleMaxLines = 3;
inline constexpr int kPauseTitleLineHeight = 16;
// The form and its controls for a message of that length and a macro name
// that wraps to `title_lines` lines (1 to 3); `client_width` is what the
// form's frame leaves of its 224 pixels. Each title line past the first
// moves the message and the buttons down and makes the form taller.
PauseLayout LayoutPause(size_t message_length, int client_width, int title_lines = 1);

// "Pause (Ctrl+F1)" for a macro started by a hot key, else "Pause".
std::string PauseCaption(uint16_t activation_code);

// ---- the repeat prompt, TRepeatPrompt ----------------------------------------

inline constexpr char kRepeatCaption[] = "Macro Repeat";
inline constexpr char kTimesToRepeatText[] = "Times To Repeat";
inline constexpr char kOkButtonText[] = "&Ok";
inline constexpr char kRepeatErrorCaption[] = "Error";
inline constexpr char kInvalidNumericText[] = "Invalid numeric value entered.  Please Correct";
inline constexpr int kRepeatClientWidth = 167;
inline constexpr int kRepeatClientHeight = 56;
inline constexpr int kRepeatMaxChars = 4;
// The label is wide enough never to wrap; four digits need little room.
inline constexpr Box kRepeatLabelBox{2, 9, 112, 16};
inline constexpr Box kRepeatEditBox{118, 6, 44, 21};
inline constexpr Box kRepeatOkBox{46, 31, 75, 23};

// The count typed, trimmed of spaces: a whole number from 0 to 65535, or
// the refusal to show.
struct RepeatCountCheck {
  std::optional<uint16_t> count;
  std::string_view refusal;  // empty when the count is accepted
};
RepeatCountCheck CheckRepeatCount(std::string_view text);

// ---- the on-top message, TOnTopMessage -----------------------------------------

inline constexpr int kMessageClientWidth = 235;
inline constexpr int kMessageClientHeight = 130;
inline constexpr Box kMessageLabelBox{3, 3, 229, 97};
inline constexpr Box kMessageOkBox{80, 103, 75, 23};

// A window of that outer size in the middle of the screen.
ScreenPlace CentredPlace(const ScreenSize& screen, int width, int height);

}  // namespace qlx
