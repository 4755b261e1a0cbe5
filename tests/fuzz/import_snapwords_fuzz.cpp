// Arbitrary bytes as an import file of the Snapwords format: reading must never
// read past a field, and every listed record must be one the macro file can
// take (a known scope and activation code, a terminated text of at most
// 5000 characters, length bytes within their fields).
// Coverage floor: 100 edges (the seeds alone reach about 125; an empty start stays at 9).
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "import_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qlx::fuzz::CheckImport(qlx::ImportFormat::Snapwords, data, size);
  return 0;
}
