#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/file_switch.h"

namespace qlx {
namespace {

// Records every step with the name it was given.
class RecordingSwitch : public IFileSwitchHost, public FeatureHooks {
 public:
  std::string CurrentFile() const override { return current; }
  void SetCurrentFile(const std::string& name) override {
    current = name;
    log.push_back("SetCurrentName " + name);
  }
  void LoadMacroFile(const std::string& name) override { log.push_back("Load " + name); }
  void SetHotKeys() override { log.push_back("SetHotKeys"); }
  void DoCaption(const std::string& name) override { log.push_back("DoCaption " + name); }
  void FillList() override { log.push_back("FillList"); }
  void SetButtons() override { log.push_back("SetButtons"); }
  void DoLastFiles(const std::string& previous, const std::string& opened) override {
    log.push_back("DoLastFiles " + previous + " " + opened);
  }
  void ClearMenuTaskIcon() override { log.push_back("ClearMenuTaskIcon"); }
  void DoMenuTaskIcon() override { log.push_back("DoMenuTaskIcon"); }
  void ReadSyncRecord(const std::string& name) override { log.push_back("ReadSyncRecord " + name); }
  void CheckAndSetTime() override { log.push_back("CheckAndSetTime"); }
  void CheckForScreenSaver(bool only_if_timed) override {
    log.push_back(only_if_timed ? "CheckForScreenSaver" : "CheckForScreenSaver(any)");
  }
  void GetSwapFile() override { log.push_back("GetSwapFile"); }

  std::string current = "OLD.QLX";
  std::vector<std::string> log;
};

std::vector<std::string> Switch(SwitchEntry entry, SwitchOptions options) {
  RecordingSwitch s;
  SwitchMacroFile(entry, "NEW.QLX", options, s, s);
  EXPECT_EQ(s.current, "NEW.QLX");
  return s.log;
}

TEST(FileSwitch, EveryWayOfOpeningAFileRunsItsStepsInOrder) {
  const SwitchOptions plain;
  EXPECT_EQ(Switch(SwitchEntry::Open, plain),
            (std::vector<std::string>{"ClearMenuTaskIcon", "SetCurrentName NEW.QLX", "Load NEW.QLX", "SetHotKeys",
                                      "DoCaption NEW.QLX", "FillList", "SetButtons", "CheckAndSetTime",
                                      "DoMenuTaskIcon", "GetSwapFile", "DoLastFiles OLD.QLX NEW.QLX"}));
  EXPECT_EQ(Switch(SwitchEntry::New, plain),
            (std::vector<std::string>{"ClearMenuTaskIcon", "SetCurrentName NEW.QLX", "Load NEW.QLX", "SetHotKeys",
                                      "DoCaption NEW.QLX", "FillList", "SetButtons", "CheckAndSetTime",
                                      "GetSwapFile", "DoLastFiles OLD.QLX NEW.QLX"}));
  EXPECT_EQ(Switch(SwitchEntry::RecentFile, plain),
            (std::vector<std::string>{"ClearMenuTaskIcon", "Load NEW.QLX", "SetHotKeys", "DoCaption NEW.QLX",
                                      "FillList", "SetButtons", "CheckAndSetTime", "DoMenuTaskIcon", "GetSwapFile",
                                      "DoLastFiles OLD.QLX NEW.QLX", "SetCurrentName NEW.QLX"}));
  EXPECT_EQ(Switch(SwitchEntry::CommandLine, plain),
            (std::vector<std::string>{"SetCurrentName NEW.QLX", "Load NEW.QLX", "SetHotKeys", "DoCaption NEW.QLX",
                                      "FillList", "SetButtons", "CheckAndSetTime"}));
  EXPECT_EQ(Switch(SwitchEntry::SwapToken, plain),
            (std::vector<std::string>{"SetCurrentName NEW.QLX", "ClearMenuTaskIcon", "Load NEW.QLX", "SetHotKeys",
                                      "DoCaption NEW.QLX", "FillList", "SetButtons", "CheckAndSetTime",
                                      "DoMenuTaskIcon", "DoLastFiles OLD.QLX NEW.QLX", "GetSwapFile"}));
}

TEST(FileSwitch, NetworkModeAndTheScreenSaverOptionAddTheirSteps) {
  const SwitchOptions both{true, true};
  struct Case {
    SwitchEntry entry;
    bool screen_saver;
  };
  for (const Case& c : {Case{SwitchEntry::Open, true}, Case{SwitchEntry::New, false}, Case{SwitchEntry::RecentFile, true},
                        Case{SwitchEntry::CommandLine, false}, Case{SwitchEntry::SwapToken, true}}) {
    SCOPED_TRACE(static_cast<int>(c.entry));
    const std::vector<std::string> with = Switch(c.entry, both);
    const std::vector<std::string> without = Switch(c.entry, SwitchOptions{});
    // The sync record of the new file is read before it is loaded.
    auto sync = std::find(with.begin(), with.end(), "ReadSyncRecord NEW.QLX");
    auto load = std::find(with.begin(), with.end(), "Load NEW.QLX");
    ASSERT_NE(sync, with.end());
    EXPECT_LT(sync, load);
    // The screen saver is checked right after the hot keys, where it is.
    auto saver = std::find(with.begin(), with.end(), "CheckForScreenSaver");
    EXPECT_EQ(saver != with.end(), c.screen_saver);
    if (c.screen_saver) {
      EXPECT_EQ(*(saver - 1), "SetHotKeys");
    }
    EXPECT_EQ(with.size(), without.size() + 1 + (c.screen_saver ? 1 : 0));
  }
}

}  // namespace
}  // namespace qlx
