#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>

#include "activation/record_source.h"
#include "store/macro_file.h"

namespace qlx {
namespace {

namespace fs = std::filesystem;

class NoBoxes : public IMessageBoxes {
 public:
  void Show(const std::string&, const std::string&) override {}
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
};

class StillClock : public IClock {
 public:
  double Now() const override { return 36000.5; }
  uint32_t TickCount() const override { return 0; }
};

TEST(MacroFileRecordsTest, NumbersTheFileDoesNotHoldReadAsUnreadable) {
  const fs::path dir = fs::temp_directory_path() / ("qlx-records-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path file = dir / "MENU.QLX";
  MacroRecord first, second;
  first.SetNickname("first");
  second.SetNickname("second");
  {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(first.data()), MacroRecord::kSize);
    out.write(reinterpret_cast<const char*>(second.data()), MacroRecord::kSize);
  }
  std::array<uint8_t, ab::kSize> block{};
  MacroNameTables names;
  NoBoxes boxes;
  StillClock clock;
  MacroFile macros(file.string(), MacroTables{ActivationBlock(block.data()), names}, boxes, clock);
  MacroFileRecords records(macros);
  MacroRecord r;
  ASSERT_TRUE(records.ReadRecord(2, r));
  EXPECT_EQ(r.Nickname(), "second");
  for (int n : {0, -1, 3, 500, 65535}) EXPECT_FALSE(records.ReadRecord(n, r)) << n;
  EXPECT_EQ(r.Nickname(), "second") << "a failed read leaves the buffer alone";
  fs::remove_all(dir);
  EXPECT_FALSE(records.ReadRecord(1, r));  // the file is gone
}

}  // namespace
}  // namespace qlx
