#include "engine/playback_dialogs.h"

#include "store/hotkey_table.h"
#include "store/shared_blocks.h"

namespace qlx {

int PauseMessageHeight(size_t message_length) {
  if (message_length == 0) return 0;
  return static_cast<int>(message_length / kPauseLineChars) * kPauseLineHeight + kPauseLineHeight;
}

ScreenPlace CentredPausePlace(const ScreenSize& screen) {
  return {(screen.width - kPauseWidth) / 2, (screen.height - kPauseHeight) / 2};
}

ScreenPlace PausePlaceOnScreen(int top, int left, size_t message_length,
                               const ScreenSize& screen) {
  const int lowest_top = screen.height - PauseMessageHeight(message_length) - kPauseHeight;
  const int rightmost_left = screen.width - kPauseWidth;
  if (top > lowest_top) top = lowest_top;
  if (left > rightmost_left) left = rightmost_left;
  return {left, top};
}

PauseLayout LayoutPause(size_t message_length, int client_width, int title_lines) {
  // Heading and macro name stand above the message; the buttons follow
  // the form's bottom edge.
  constexpr int kHeadingTop = 3, kTitleTop = 20, kLabelHeight = kPauseTitleLineHeight, kMessageTop = 40;
  constexpr int kButtonInset = 14;
  const int lines = title_lines < 1 ? 1 : title_lines > kPauseTitleMaxLines ? kPauseTitleMaxLines : title_lines;
  const int title_extra = (lines - 1) * kPauseTitleLineHeight;
  const int extra = PauseMessageHeight(message_length);
  PauseLayout l;
  l.form_width = kPauseWidth;
  l.form_height = kPauseHeight + extra + title_extra;
  l.message_visible = extra > 0;
  l.heading = {0, kHeadingTop, client_width, kLabelHeight};
  l.title = {4, kTitleTop, client_width - 8, kLabelHeight * lines};
  l.message = {(client_width - kPauseMessageWidth) / 2, kMessageTop + title_extra, kPauseMessageWidth, extra};
  const int button_top = l.form_height - kPauseButtonRise;
  l.resume = {kButtonInset, button_top, kPauseButtonWidth, kPauseButtonHeight};
  l.abort = {client_width - kButtonInset - kPauseButtonWidth, button_top, kPauseButtonWidth,
             kPauseButtonHeight};
  return l;
}

std::string PauseCaption(uint16_t activation_code) {
  const std::string_view name = HotKeyName(activation_code);
  if (activation_code == kTimedCode || activation_code == kSnapwordCode || name.empty())
    return kPauseCaption;
  return std::string(kPauseCaption) + " (" + std::string(name) + ")";
}

RepeatCountCheck CheckRepeatCount(std::string_view text) {
  // Spaces and control characters around the number do not count.
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  const RepeatCountCheck refused{std::nullopt, kInvalidNumericText};
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return refused;
  uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return refused;
    value = value * 10 + static_cast<uint32_t>(c - '0');
    if (value > 0xFFFF) return refused;
  }
  // A negative count would become tens of thousands of passes.
  if (negative && value != 0) return refused;
  return {static_cast<uint16_t>(value), {}};
}

ScreenPlace CentredPlace(const ScreenSize& screen, int width, int height) {
  return {(screen.width - width) / 2, (screen.height - height) / 2};
}

}  // namespace qlx
