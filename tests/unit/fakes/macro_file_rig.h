#pragma once
// Macro tables in plain memory and a macro file in a fresh temporary
// folder, with message boxes that record what they show and answer
// questions from a script.
#include <gtest/gtest.h>
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/ui.h"
#include "store/macro_file.h"
#include "editor/popup_menu.h"

namespace qlx::fake {

// Records of every kind, as the tests write them into files and tables.
inline MacroRecord HotKeyMacro(const std::string& nick, uint16_t code, int16_t scope = kScopeGlobal,
                               const std::string& scope_text = "", bool active = true) {
  MacroRecord r;
  r.SetNickname(nick);
  r.SetCode(code);
  r.SetScope(scope);
  r.SetScopeText(scope_text);
  r.SetActive(active);
  r.SetText("text of " + nick);
  return r;
}
inline MacroRecord SnapwordMacro(const std::string& nick, const std::string& word, int16_t scope = kScopeGlobal) {
  MacroRecord r = HotKeyMacro(nick, kSnapwordCode, scope);
  r.SetSnapword(word);
  return r;
}
inline MacroRecord TimedMacro(const std::string& nick) { return HotKeyMacro(nick, kTimedCode); }
inline MacroRecord PopupMacro(const std::string& nick, uint16_t code, const std::vector<int>& menu) {
  MacroRecord r = HotKeyMacro(nick, code, kScopePopupMenu);
  r.SetText("");
  r.SetSnapword("N11");
  SetMenuEntries(r, menu);
  return r;
}
inline MacroRecord SystemMacroRecord(int digit) {
  return qlx::SystemMacroRecord(kSystemMacros[static_cast<size_t>(digit - 1)]);
}
inline std::vector<MacroRecord> WithSystemMacros(std::vector<MacroRecord> records) {
  for (int d = 1; d <= 4; ++d) records.push_back(SystemMacroRecord(d));
  return records;
}

// An activation block and the name tables, filled from records.
struct TablesRig {
  std::vector<uint8_t> mem = std::vector<uint8_t>(ab::kSize, 0);
  ActivationBlock block{mem.data()};
  std::unique_ptr<MacroNameTables> names = std::make_unique<MacroNameTables>();
  MacroTables tables{block, *names};

  explicit TablesRig(const std::vector<MacroRecord>& records = {}) { Fill(records); }
  void Fill(const std::vector<MacroRecord>& records) {
    block.SetMacroCount(static_cast<int32_t>(records.size()));
    for (size_t i = 0; i < records.size(); ++i) FillFromRecord(static_cast<int>(i) + 1, records[i], tables);
  }
};

class ScriptedBoxes : public IMessageBoxes {
 public:
  void Show(const std::string& caption, const std::string& text) override { shown.emplace_back(caption, text); }
  bool AskYesNo(const std::string& caption, const std::string& text) override {
    asked.emplace_back(caption, text);
    if (answers.empty()) return false;
    const bool a = answers.front();
    answers.pop_front();
    return a;
  }
  std::vector<std::pair<std::string, std::string>> shown;
  std::vector<std::pair<std::string, std::string>> asked;
  std::deque<bool> answers;
};

class FixedClock : public IClock {
 public:
  double Now() const override { return 45351.625; }
  uint32_t TickCount() const override { return 0; }
};

inline std::string RecordsBytes(const std::vector<MacroRecord>& records) {
  std::string out;
  for (const MacroRecord& r : records) out.append(reinterpret_cast<const char*>(r.data()), MacroRecord::kSize);
  return out;
}

inline std::string ReadBytes(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& p, const std::string& bytes) {
  std::ofstream f(p, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A macro file in a temporary folder of its own, loaded into tables.
class MacroFileRig {
 public:
  explicit MacroFileRig(const std::string& tag) {
    dir = std::filesystem::temp_directory_path() /
          ("qlx_" + tag + "_" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
           std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    path = dir / "QUILX.QLX";
    file = std::make_unique<MacroFile>(path.string(), tables.tables, boxes, clock);
  }
  ~MacroFileRig() { std::filesystem::remove_all(dir); }
  MacroFileRig(const MacroFileRig&) = delete;
  MacroFileRig& operator=(const MacroFileRig&) = delete;

  // Writes the records as the whole file and loads it.
  void Write(const std::vector<MacroRecord>& records) {
    WriteBytes(path, RecordsBytes(records));
    file->Load();
  }
  std::vector<MacroRecord> Records() const {
    std::vector<MacroRecord> out;
    EXPECT_TRUE(file->ReadAllRecords(out));
    return out;
  }
  ActivationBlock& block() { return tables.block; }

  std::filesystem::path dir;
  std::filesystem::path path;
  TablesRig tables;
  ScriptedBoxes boxes;
  FixedClock clock;
  std::unique_ptr<MacroFile> file;
};

}  // namespace qlx::fake
