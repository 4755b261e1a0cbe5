#pragma once
// Running programs: who is running, and under which executable name.
#include <cstdint>
#include <string>
#include <vector>

namespace qlx {

struct ProcessInfo {
  uint32_t id = 0;
  std::string exe_name;  // file name without folder, as the system spells it
};

class IProcesses {
 public:
  virtual ~IProcesses() = default;
  // Every process whose name can be read, in the system's order.
  virtual std::vector<ProcessInfo> Running() = 0;
  // Executable file name of one process; empty when it cannot be read.
  virtual std::string ExeNameOf(uint32_t process_id) = 0;
};

}  // namespace qlx
