// Arbitrary text given to build: it refuses with line numbers inside the
// text and builds nothing, or it builds a file whose dump builds the same
// file again and dumps to the same text.
// Coverage floor: 600 edges (the seeds alone reach about 750).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "store/macro_record.h"
#include "store/shared_blocks.h"
#include "tools/macro_text.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qlx;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  int lines = 0;
  for (size_t i = 0; i < size; ++i) lines += data[i] == '\n';
  if (size && data[size - 1] != '\n') ++lines;

  const BuildResult built = BuildMacroFile(text);
  if (!built.ok()) {
    Check(built.bytes.empty());
    int previous = 1;
    for (const TextError& e : built.errors) {
      Check(e.line >= previous && e.line <= lines);
      Check(!e.message.empty());
      previous = e.line;
    }
    return 0;
  }
  Check(built.macros >= 0 && built.macros <= kMaxMacros);
  Check(built.bytes.size() / mr::kSize == static_cast<size_t>(built.macros));

  const std::string dumped = DumpMacroFile(built.bytes);
  for (char c : dumped) Check(c == '\n' || (c >= 0x20 && c < 0x7F));
  const BuildResult again = BuildMacroFile(dumped);
  Check(again.ok());
  Check(again.bytes == built.bytes);
  Check(DumpMacroFile(again.bytes) == dumped);
  return 0;
}
