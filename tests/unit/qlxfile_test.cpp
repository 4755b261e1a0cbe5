// The qlxfile command line on real files: what each command prints, its exit
// code, and that a refused build leaves the output file as it was.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "store/macro_record.h"
#include "tools/macro_text.h"
#include "tools/qlxfile.h"

namespace qlx {
namespace {

namespace fs = std::filesystem;

class QlxFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("qlx_qlxfile_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
            std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  int Run(std::vector<std::string> args) {
    out_.str("");
    err_.str("");
    return RunQlxFile(args, out_, err_);
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
  std::ostringstream out_, err_;
};

const char kTwoMacros[] =
    "macro 1\nnickname: One\nactivation: Ctrl+Alt+O\ntext: first\n\n"
    "macro 2\nnickname: Two\nactivation: Ctrl+Alt+T\nscope: window\nwindow: Notes\ntext: second\n";

TEST_F(QlxFile, BuildWritesTheFileAndDumpGivesItsTextBack) {
  Write("in.txt", kTwoMacros);
  ASSERT_EQ(Run({"build", Path("in.txt"), Path("OUT.QLX")}), kQlxFileOk) << err_.str();
  EXPECT_EQ(out_.str(), Path("OUT.QLX") + ": 2 macros written\n");
  const std::string file = Read("OUT.QLX");
  ASSERT_EQ(file.size(), 2 * mr::kSize);

  ASSERT_EQ(Run({"dump", Path("OUT.QLX")}), kQlxFileOk);
  EXPECT_EQ(err_.str(), "");
  const std::string text = out_.str();
  EXPECT_NE(text.find("nickname: Two\nactivation: Ctrl+Alt+T\nscope: window\nwindow: Notes\n"), std::string::npos)
      << text;
  Write("again.txt", text);
  ASSERT_EQ(Run({"build", Path("again.txt"), Path("AGAIN.QLX")}), kQlxFileOk);
  EXPECT_EQ(Read("AGAIN.QLX"), file);
  EXPECT_EQ(Files(), (std::vector<std::string>{"AGAIN.QLX", "OUT.QLX", "again.txt", "in.txt"}));
}

TEST_F(QlxFile, RefusedBuildNamesTheLinesAndLeavesTheOldFileAlone) {
  Write("OUT.QLX", "old contents");
  Write("bad.txt", "macro\nactivation: Ctrl+Alt+Nowhere\nnickname: x\nactive: sometimes\n");
  EXPECT_EQ(Run({"build", Path("bad.txt"), Path("OUT.QLX")}), kQlxFileRefused);
  EXPECT_EQ(out_.str(), "");
  EXPECT_EQ(err_.str(), Path("bad.txt") + ":2: unknown hot key \"Ctrl+Alt+Nowhere\": write a hot-key name such as "
                                          "Ctrl+Alt+A, \"snapword NAME\" or \"timed\"\n" +
                            Path("bad.txt") + ":4: active: write yes or no, not \"sometimes\"\n" +
                            "qlxfile: nothing written to " + Path("OUT.QLX") + "\n");
  EXPECT_EQ(Read("OUT.QLX"), "old contents");
  EXPECT_EQ(Files(), (std::vector<std::string>{"OUT.QLX", "bad.txt"}));
}

TEST_F(QlxFile, ManyFaultsShowTheFirstTwentyAndCountTheRest) {
  std::string text = "macro\nactivation: Ctrl+A\n";
  for (int i = 0; i < 25; ++i) text += "colour: red\n";
  Write("bad.txt", text);
  EXPECT_EQ(Run({"build", Path("bad.txt"), Path("OUT.QLX")}), kQlxFileRefused);
  const std::string err = err_.str();
  EXPECT_NE(err.find(":22: unknown field \"colour\"\n"), std::string::npos);
  EXPECT_EQ(err.find(":23:"), std::string::npos);
  EXPECT_NE(err.find(Path("bad.txt") + ": 5 more errors\n"), std::string::npos) << err;
  EXPECT_FALSE(fs::exists(Path("OUT.QLX")));
}

TEST_F(QlxFile, CheckExitsNonZeroOnlyForADamagedFile) {
  Write("in.txt", kTwoMacros);
  ASSERT_EQ(Run({"build", Path("in.txt"), Path("GOOD.QLX")}), kQlxFileOk);
  EXPECT_EQ(Run({"check", Path("GOOD.QLX")}), kQlxFileOk);
  EXPECT_EQ(out_.str(), Path("GOOD.QLX") +
                            ": note: missing system macros (Activate Quillon, Start / Stop Capture, Resume Pause, "
                            "Menu of Macros for Top Most Window): the program appends them when it loads the file\n" +
                            Path("GOOD.QLX") + ": 2 records, sound\n");

  std::string damaged = Read("GOOD.QLX");
  damaged[mr::kSize + mr::kSnapword] = 99;
  damaged += "tail";
  Write("BAD.QLX", damaged);
  EXPECT_EQ(Run({"check", Path("BAD.QLX")}), kQlxFileRefused);
  const std::string out = out_.str();
  EXPECT_NE(out.find(Path("BAD.QLX") + ": record 2: snapword length byte 99 is past its field"), std::string::npos)
      << out;
  EXPECT_NE(out.find(Path("BAD.QLX") + ": 4 bytes after the last whole record"), std::string::npos) << out;
  EXPECT_NE(out.find(Path("BAD.QLX") + ": 2 records, damaged\n"), std::string::npos) << out;
}

TEST_F(QlxFile, WrongCommandsAndMissingFilesFailWithTheirReason) {
  const std::vector<std::vector<std::string>> usage = {
      {}, {"dump"}, {"dump", "a", "b"}, {"build", "a"}, {"check"}, {"list", "a"}};
  for (const auto& args : usage) {
    EXPECT_EQ(Run(args), kQlxFileFailed);
    EXPECT_EQ(err_.str().rfind("usage: qlxfile dump FILE.QLX", 0), 0u) << err_.str();
  }
  for (const char* command : {"dump", "check"}) {
    EXPECT_EQ(Run({std::string(command), Path("missing.QLX")}), kQlxFileFailed);
    EXPECT_EQ(err_.str().rfind("qlxfile: cannot open " + Path("missing.QLX") + ": ", 0), 0u) << err_.str();
  }
  EXPECT_EQ(Run({"build", Path("missing.txt"), Path("OUT.QLX")}), kQlxFileFailed);
  Write("in.txt", kTwoMacros);
  EXPECT_EQ(Run({"build", Path("in.txt"), Path("no-such-folder/OUT.QLX")}), kQlxFileFailed);
  EXPECT_EQ(err_.str().rfind("qlxfile: cannot create " + Path("no-such-folder/OUT.QLX"), 0), 0u) << err_.str();
  EXPECT_EQ(Files(), std::vector<std::string>{"in.txt"});
}

}  // namespace
}  // namespace qlx
