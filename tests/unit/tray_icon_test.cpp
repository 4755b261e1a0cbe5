// TTaskIcon's rules: Active follows only a platform call that succeeded,
// changes reach an icon in the tray in place, tips are cut to 63
// characters, and notifications of other icons are ignored.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/tray_icon.h"

namespace qlx {
namespace {

class FakeTray : public ITrayShell {
 public:
  bool succeed = true;
  std::vector<std::string> calls;
  bool Add(const TrayIconData& i) override { return Log("add", i); }
  bool Modify(const TrayIconData& i) override { return Log("modify", i); }
  bool Delete(const TrayIconData& i) override { return Log("delete", i); }

 private:
  bool Log(const char* what, const TrayIconData& i) {
    calls.push_back(std::string(what) + " " + std::to_string(i.id) + " " + i.tip);
    return succeed;
  }
};

TEST(TaskIcon, ActiveFollowsOnlyASucceedingCall) {
  FakeTray tray;
  {
    TaskIconState icon(tray);
    icon.SetToolTip("Macro Is Recording");
    EXPECT_TRUE(tray.calls.empty()) << "an inactive icon is not in the tray";
    tray.succeed = false;
    icon.SetActive(true);
    EXPECT_FALSE(icon.Active());
    tray.succeed = true;
    icon.SetActive(true);
    EXPECT_TRUE(icon.Active());
    icon.SetActive(true);  // the current value: nothing
    tray.succeed = false;
    icon.SetActive(false);
    EXPECT_TRUE(icon.Active());
    tray.succeed = true;
  }  // going away takes the icon out
  EXPECT_EQ(tray.calls, (std::vector<std::string>{"add 0 Macro Is Recording", "add 0 Macro Is Recording",
                                                  "delete 0 Macro Is Recording", "delete 0 Macro Is Recording"}));
}

TEST(TaskIcon, ChangesWhileActiveModifyInPlaceAndTipsAreCut) {
  FakeTray tray;
  TaskIconState icon(tray);
  icon.SetActive(true);
  icon.SetToolTip(std::string(70, 't'));
  EXPECT_EQ(icon.data().tip.size(), kTrayTipMax);
  icon.SetIcon(42);
  icon.SetTaskIconId(7);
  ASSERT_EQ(tray.calls.size(), 5u);
  EXPECT_EQ(tray.calls[1].substr(0, 8), "modify 0");
  EXPECT_EQ(tray.calls[2].substr(0, 8), "modify 0");
  EXPECT_EQ(tray.calls[3].substr(0, 8), "delete 0");
  EXPECT_EQ(tray.calls[4].substr(0, 5), "add 7");
  EXPECT_EQ(icon.data().icon, 42u);
  icon.SetActive(false);
}

TEST(TaskIcon, NotificationsOfAnotherIconAreIgnored) {
  struct Case {
    uint32_t id, message;
    TrayEvent expected;
  };
  const Case cases[] = {{3, 514, TrayEvent::Click},       {3, 515, TrayEvent::DoubleClick},
                        {3, 517, TrayEvent::RightClick},  {3, 512, TrayEvent::None},
                        {4, 517, TrayEvent::None},        {4, 514, TrayEvent::None}};
  for (const Case& c : cases) EXPECT_EQ(DecodeTrayNotification(3, c.id, c.message), c.expected) << c.id << " " << c.message;
}

}  // namespace
}  // namespace qlx
