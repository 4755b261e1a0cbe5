// Arbitrary macro text through the script editor's reader and writer. Opening
// a macro and saving it unchanged must not change what it plays:
//  - write(read(text)) is the text itself (so it plays alike), and reading
//    that again gives the same lines;
//  - every line's text names the line's own command;
//  - a line rebuilt from its values alone (as an edit writes it) plays as
//    the token it was read from, against the fake desktop at speed 0, and
//    the rebuilt token reads back to itself.
// Coverage floor: 900 edges (the seeds alone reach about 1050).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../unit/fakes/playback_trace.h"
#include "editor/script_text.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qlx::editor;
  if (size > kMacroTextLimit) return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);
  // A macro record's text ends at its first zero byte.
  if (text.find('\0') != std::string::npos) return 0;

  const std::vector<ScriptLine> lines = BuildTheScript(text);
  const std::string written = WriteScript(lines);
  Check(written == text);
  Check(BuildTheScript(written) == lines);

  const qlx::fake::TraceOptions untimed{false};
  for (const ScriptLine& line : lines) {
    const ScriptCommand* c = CommandOfLine(line.text);
    Check(c != nullptr && c->number == CommandOfParams(line.params));
    if (line.source.empty()) continue;  // a text run: written as it is
    const std::string rebuilt = TokenOf(line.params);
    // The speed token changes only how long things take.
    const std::string prefix = "<SPEED:00000>";
    if (c->number != cmd::kPlaybackSpeed)
      Check(qlx::fake::PlaybackTrace(prefix + rebuilt, untimed) ==
            qlx::fake::PlaybackTrace(prefix + line.source, untimed));
    const std::vector<ScriptLine> again = BuildTheScript(rebuilt);
    Check(again.size() == 1 && TokenOf(again[0].params) == rebuilt);
  }
  return 0;
}
