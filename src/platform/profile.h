#pragma once
// The initialisation-file functions, as the program uses them: one named
// file, sections and keys, every value a string.
#include <cstddef>
#include <string>
#include <utility>

namespace qlx {

// The settings file. Without a directory the system keeps it in the
// Windows folder.
inline constexpr char kSettingsFileName[] = "QUILX.INI";

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

#ifdef _WIN32
// GetPrivateProfileStringA / WritePrivateProfileStringA on one file.
class Win32Profile : public IProfile {
 public:
  explicit Win32Profile(std::string file_name = kSettingsFileName) : file_(std::move(file_name)) {}
  std::string Read(const std::string& section, const std::string& key,
                   const std::string& default_value, size_t buffer_size) override;
  void Write(const std::string& section, const std::string& key,
             const std::string& value) override;

 private:
  std::string file_;
};
#endif

}  // namespace qlx
