#pragma once
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/profile.h"

namespace qlx::fake {

// A profile in memory that behaves like the system's: a read fills a buffer
// of the given size, so at most size - 1 characters come back.
class FakeProfile : public IProfile {
 public:
  struct ReadCall {
    std::string section, key, default_value;
    size_t size;
    bool operator==(const ReadCall& o) const {
      return std::tie(section, key, default_value, size) ==
             std::tie(o.section, o.key, o.default_value, o.size);
    }
  };
  using WriteCall = std::tuple<std::string, std::string, std::string>;

  std::string Read(const std::string& section, const std::string& key,
                   const std::string& default_value, size_t buffer_size) override {
    reads.push_back({section, key, default_value, buffer_size});
    auto it = values.find({section, key});
    std::string v = it == values.end() ? default_value : it->second;
    if (buffer_size == 0) return std::string();
    if (v.size() > buffer_size - 1) v.resize(buffer_size - 1);
    return v;
  }
  void Write(const std::string& section, const std::string& key, const std::string& value) override {
    writes.emplace_back(section, key, value);
    values[{section, key}] = value;
  }
  void Set(const std::string& section, const std::string& key, const std::string& value) {
    values[{section, key}] = value;
  }

  std::map<std::pair<std::string, std::string>, std::string> values;
  std::vector<ReadCall> reads;
  std::vector<WriteCall> writes;
};

}  // namespace qlx::fake
