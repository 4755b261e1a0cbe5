// A removal is one replacement of the macro file: a process that dies at
// any moment of it leaves either the old file or the new one, never popup
// menus renumbered for a macro that is still there. Each removal runs in a
// child process that the file-size limit stops partway through its writes,
// either killing it outright (as a crash would) or failing the write.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

#include "app/macro_removal.h"
#include "fakes/macro_file_rig.h"

namespace qlx {
namespace {

using fake::HotKeyMacro;
using fake::MacroFileRig;
using fake::PopupMacro;
using fake::RecordsBytes;

enum class Fate { Completed, Killed, WriteFailed };

// Removes macro n of the file in a child process whose writes stop after
// `limit` bytes of any file.
Fate RemoveInChild(MacroFile& file, int n, rlim_t limit, bool crash) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    rlimit no_core{0, 0};
    ::setrlimit(RLIMIT_CORE, &no_core);
    rlimit size{limit, limit};
    ::setrlimit(RLIMIT_FSIZE, &size);
    std::signal(SIGXFSZ, crash ? SIG_DFL : SIG_IGN);
    try {
      std::vector<MacroRecord> records;
      if (!file.ReadAllRecords(records)) ::_exit(2);
      if (!file.ReplaceAllRecords(RecordsWithoutMacro(std::move(records), n))) ::_exit(2);
    } catch (const StoreIoError&) {
      ::_exit(3);
    }
    ::_exit(0);
  }
  int status = 0;
  EXPECT_EQ(::waitpid(pid, &status, 0), pid);
  if (WIFSIGNALED(status)) {
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    return Fate::Killed;
  }
  EXPECT_TRUE(WIFEXITED(status));
  const int code = WEXITSTATUS(status);
  EXPECT_TRUE(code == 0 || code == 3) << code;
  return code == 0 ? Fate::Completed : Fate::WriteFailed;
}

// Forty macros, a third of them popup menus that list the macros after them.
std::vector<MacroRecord> StartingFile() {
  std::vector<MacroRecord> records;
  for (int n = 1; n <= 40; ++n) {
    if (n % 3 == 0) {
      std::vector<int> menu;
      for (int k = n + 1; k <= 40; k += 2) menu.push_back(k);
      records.push_back(PopupMacro("menu " + std::to_string(n), static_cast<uint16_t>(n), menu));
    } else {
      records.push_back(HotKeyMacro("macro " + std::to_string(n), static_cast<uint16_t>(n)));
    }
  }
  return records;
}

TEST(RemovalFaults, AHundredInterruptedRemovalsLeaveTheOldOrTheNewFileWhole) {
  MacroFileRig rig("removal_faults");
  std::vector<MacroRecord> records = StartingFile();
  fake::WriteBytes(rig.path, RecordsBytes(records));

  int killed = 0, failed = 0, completed = 0;
  for (int i = 0; i < 100; ++i) {
    SCOPED_TRACE("removal " + std::to_string(i));
    if (records.size() < 8) {
      records = StartingFile();
      fake::WriteBytes(rig.path, RecordsBytes(records));
    }
    const int n = 1 + (i * 7) % static_cast<int>(records.size());
    const std::string old_file = RecordsBytes(records);
    const std::vector<MacroRecord> expected_records = RecordsWithoutMacro(records, n);
    const std::string new_file = RecordsBytes(expected_records);

    // Limits spread over the whole write, and a few beyond it.
    const rlim_t limit = static_cast<rlim_t>(new_file.size()) * static_cast<rlim_t>(i % 25) / 20;
    const Fate fate = RemoveInChild(*rig.file, n, limit, i % 2 == 0);
    const std::string on_disk = fake::ReadBytes(rig.path);

    if (limit >= new_file.size()) {
      EXPECT_EQ(fate, Fate::Completed);
      ASSERT_TRUE(on_disk == new_file) << "the new file is not whole";
      records = expected_records;
      ++completed;
    } else {
      EXPECT_NE(fate, Fate::Completed);
      ASSERT_TRUE(on_disk == old_file) << "the old file was changed";
      (fate == Fate::Killed ? killed : failed)++;
    }
    // Whatever happened, the file loads.
    const LoadResult loaded = rig.file->Load();
    EXPECT_TRUE(loaded.opened);
    EXPECT_FALSE(loaded.partial_tail);
    // Load appended the system macros; the next round starts from what the
    // test knows the file holds.
    fake::WriteBytes(rig.path, RecordsBytes(records));
  }
  EXPECT_GT(killed, 30);
  EXPECT_GT(failed, 30);
  EXPECT_GT(completed, 10);
}

}  // namespace
}  // namespace qlx
