#pragma once
// The initialisation-file functions, as the program uses them: one named
// file, sections and keys, every value a string.
#include <cstddef>
#include <string>

namespace qlx {

class IProfile {
 public:
  virtual ~IProfile() = default;
  // Reads a value into a buffer of `buffer_size` characters including the
  // terminating zero, so at most buffer_size - 1 characters come back.
  virtual std::string Read(const std::string& section, const std::string& key,
                           const std::string& default_value, size_t buffer_size) = 0;
  virtual void Write(const std::string& section, const std::string& key,
                     const std::string& value) = 0;
};

}  // namespace qlx
