#pragma once
// Pushes what the system holds in its cache for an open stdio file to the
// disk; false when the system does not confirm it.
#include <cstdio>

namespace qlx {

bool SyncToDisk(std::FILE* f);

}  // namespace qlx
