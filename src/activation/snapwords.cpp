#include "activation/snapwords.h"

#include <algorithm>

#include "activation/hook_contract.h"
#include "engine/waits.h"
#include "engine/window_commands.h"

namespace qlx {
namespace {

constexpr uint8_t kVkBack = 0x08;
constexpr size_t kMaxTitle = 255;
constexpr char kOtherWordChars[] = "!#$%&*+,-./;<=>?@^_";

bool IsAsciiAlnum(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

}  // namespace

bool IsWordChar(uint8_t c) {
  if (IsAsciiAlnum(c)) return true;
  for (const char* p = kOtherWordChars; *p; ++p)
    if (static_cast<uint8_t>(*p) == c) return true;
  return false;
}

SnapwordOptions SnapwordOptionsOf(const Settings& s) {
  SnapwordOptions o;
  o.solitary = s.snap_solitary_usage;
  o.case_sensitive = s.snap_case_sensitive;
  o.use_suffix = s.snap_use_suffix;
  o.prefix = s.prefix_keys.substr(0, kPrefixKeysMax);
  o.wait_ms = std::clamp(s.snap_wait_ms, 0, kSnapwordWaitMaxMs);
  return o;
}

void StoreSnapwordOptions(const SnapwordOptions& o, Settings& s) {
  s.snap_solitary_usage = o.solitary;
  s.snap_case_sensitive = o.case_sensitive;
  s.snap_use_suffix = o.use_suffix;
  s.prefix_keys = o.prefix.substr(0, kPrefixKeysMax);
  s.snap_wait_ms = std::clamp(o.wait_ms, 0, kSnapwordWaitMaxMs);
}

std::optional<std::string> PrefixKeysError(std::string_view prefix) {
  for (char c : prefix)
    if (!IsWordChar(static_cast<uint8_t>(c))) return std::string(kPrefixKeysInvalidText);
  return std::nullopt;
}

std::optional<int32_t> SnapwordWaitOf(std::string_view field) {
  while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
  while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
  if (field.empty() || field.size() > 4) return std::nullopt;
  int32_t v = 0;
  for (char c : field) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  if (v > kSnapwordWaitMaxMs) return std::nullopt;
  return v;
}

std::optional<std::string> SnapwordNameError(std::string_view name, bool short_wording) {
  if (name.empty()) return std::string(short_wording ? kSnapwordNameNotEnteredText : kSnapwordNameMissingText);
  for (char c : name)
    if (!IsWordChar(static_cast<uint8_t>(c))) return std::string(kSnapwordNameInvalidText);
  return std::nullopt;
}

bool SnapwordMatcher::Take(uint32_t w, uint8_t c, const SnapwordOptions& options, bool& caps_lock_was_on) {
  if (w == kSnapwordClear) {
    buffer_.clear();
    return false;
  }
  caps_lock_was_on = w == kSnapwordCapsLock;
  if (IsWordChar(c)) {
    if (buffer_.size() < kSnapwordBufferMax) buffer_.push_back(static_cast<char>(c));
    const size_t keep = options.prefix.size() + kSnapwordMax;
    if (buffer_.size() > keep) buffer_.erase(0, buffer_.size() - keep);
    return !options.use_suffix;
  }
  // The caller tests before the buffer goes: a suffix ends the word.
  return options.use_suffix && (c == ' ' || c == '\r');
}

SnapwordMatcher::Candidates SnapwordMatcher::Collect(const SnapwordOptions& options) const {
  Candidates c;
  const std::string prefix = options.use_suffix ? std::string() : options.prefix;
  if (!prefix.empty() && buffer_.find(prefix) == std::string::npos) return c;
  const std::string typed = options.case_sensitive ? buffer_ : UpperAscii(buffer_);
  const bool whole = options.solitary || options.use_suffix;
  const int count = block_.ClampedCount();
  for (int n = 1; n <= count && c.count < static_cast<int>(kSnapwordMatchesMax); ++n) {
    if (block_.Code(n) != kSnapwordCode || !block_.Active(n)) continue;
    std::string pattern = prefix + names_.Snapword(n);
    if (!options.case_sensitive) pattern = UpperAscii(pattern);
    const bool match = whole ? typed == pattern : typed.find(pattern) != std::string::npos;
    if (!match) continue;
    c.macros[c.count++] = n;
    const int16_t scope = block_.Scope(n);
    c.has_window = c.has_window || scope == kScopeWindow;
    c.has_program = c.has_program || scope == kScopeProgram;
  }
  return c;
}

int SnapwordMatcher::FirstInScope(const Candidates& c, int16_t scope, const std::string& text) const {
  const std::string upper = UpperAscii(text);
  for (int i = 0; i < c.count; ++i) {
    const int n = c.macros[i];
    if (block_.Scope(n) != scope) continue;
    if (upper.find(UpperAscii(block_.ScopeText(n))) != std::string::npos) return n;
  }
  return 0;
}

int SnapwordMatcher::FirstGlobal(const Candidates& c) const {
  for (int i = 0; i < c.count; ++i)
    if (block_.Scope(c.macros[i]) == kScopeGlobal) return c.macros[i];
  return 0;
}

int SnapwordMatcher::BackspacesFor(int macro, const SnapwordOptions& options) const {
  const int word = static_cast<int>(names_.Snapword(macro).size());
  return options.use_suffix ? word + 1 : word + static_cast<int>(options.prefix.size());
}

void SnapwordDispatch::OnSnapwordChar(uint32_t w, uint32_t lparam) {
  if (block_.ClampedCount() == 0) return;
  const auto c = static_cast<uint8_t>(lparam & 0xFF);
  const SnapwordOptions options = SnapwordOptionsOf(settings_);
  const bool test = matcher_.Take(w, c, options, engine_.CapsLockWasOn);
  if (test) {
    const SnapwordBusy busy{dispatch_.PopupShown, block_.CaptureActive(), engine_.PauseInProgress};
    const SnapwordMatch m = matcher_.Test(
        options, busy,
        [this] {
          const WindowHandle fg = desktop_.Foreground();
          return fg ? desktop_.WindowTitle(fg, kMaxTitle) : std::string();
        },
        [this] {
          const WindowHandle fg = desktop_.Foreground();
          return fg ? processes_.ExeNameOf(desktop_.ProcessIdOf(fg)) : std::string();
        });
    if (m.refusal) {
      host_.DoAMessage(kWarningCaption, *m.refusal);
    } else if (m.macro != 0) {
      StartSnapwordMacro(m.macro, m.backspaces);
      matcher_.Clear();
      return;
    }
  }
  // Anything but a word character ends the word.
  if (w != kSnapwordClear && !IsWordChar(c)) matcher_.Clear();
}

void SnapwordDispatch::StartSnapwordMacro(int macro, int backspaces) {
  engine_.CurrentMacro = macro;
  if (!host_.ReadPlaybackRecord(macro, record_)) return;
  block_.SetPlaybackStarted(true);
  const uint16_t scan = input_.MapVirtualKey(kVkBack);
  for (int i = 0; i < backspaces; ++i) {
    input_.KeyEvent(kVkBack, scan, false, false);
    input_.KeyEvent(kVkBack, scan, true, false);
    pump_.ProcessPending();
  }
  const int32_t wait = SnapwordOptionsOf(settings_).wait_ms;
  if (wait == 0) {
    // The replacement must not overtake the Backspaces: the target's
    // thread has handled them once it answers after them.
    if (const WindowHandle front = desktop_.Foreground()) input_.LetWindowTakeInput(front);
  } else {
    const bool never = false;  // the settle time is not the playback's to cut short
    Waits(clock_, pump_, never).Milliseconds(static_cast<uint64_t>(wait));
  }
  engine_.AbortRequested = false;
  host_.PlayText(record_.Text());
  const uint16_t end_scan = input_.MapVirtualKey(kEndOfPlaybackKey);
  input_.KeyEvent(kEndOfPlaybackKey, end_scan, false, false);
  input_.KeyEvent(kEndOfPlaybackKey, end_scan, true, false);
}

}  // namespace qlx
