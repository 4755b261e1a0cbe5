// Arbitrary bytes as a macro file: the dump is plain ASCII, and building it
// gives the same bytes back; a file of more than 500 records is refused at
// the line of record 501.
// Coverage floor: 400 edges (the seeds alone reach about 510).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

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
  const std::span<const uint8_t> file(data, size);
  const std::string text = DumpMacroFile(file);
  for (char c : text) Check(c == '\n' || (c >= 0x20 && c < 0x7F));
  const BuildResult built = BuildMacroFile(text);
  if (size / mr::kSize > static_cast<size_t>(kMaxMacros)) {
    Check(!built.ok() && built.errors.size() == 1);
    return 0;
  }
  Check(built.ok());
  Check(built.bytes.size() == size);
  Check(std::vector<uint8_t>(data, data + size) == built.bytes);
  return 0;
}
