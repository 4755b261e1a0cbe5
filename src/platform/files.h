#pragma once
// File-system services the store needs beyond C stdio.
#include <string>

namespace qlx {

// Replaces `target` by `source` in one step: afterwards the target is either
// the old or the new file, never a mix. False when the replace failed.
bool ReplaceFileAtomically(const std::string& source, const std::string& target);

bool FileExists(const std::string& path);

}  // namespace qlx
