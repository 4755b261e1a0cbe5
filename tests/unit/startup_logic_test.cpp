#include <gtest/gtest.h>

#include "app/startup_logic.h"

namespace qlx {
namespace {

TEST(StartParams, WholeMatchesPrefixesAndSyncMinutesBounds) {
  EXPECT_EQ(ClassifyStartParam("/hide").kind, StartParamKind::Hide);
  EXPECT_EQ(ClassifyStartParam("/HIDEX").kind, StartParamKind::Ignored);
  EXPECT_EQ(ClassifyStartParam("/b").kind, StartParamKind::Browse);
  EXPECT_EQ(ClassifyStartParam("/Ba").kind, StartParamKind::BrowseAll);
  EXPECT_EQ(ClassifyStartParam("/S").kind, StartParamKind::AutoSync);
  EXPECT_EQ(ClassifyStartParam("/N").kind, StartParamKind::Network);
  EXPECT_EQ(ClassifyStartParam("/NX").kind, StartParamKind::Ignored);
  EXPECT_EQ(ClassifyStartParam("HIDE").kind, StartParamKind::Ignored);

  // The whole parameter is upper-cased, so the path of /f arrives upper-cased.
  StartParam f = ClassifyStartParam("/fc:\\macros\\work.qlx");
  EXPECT_EQ(f.kind, StartParamKind::OpenFile);
  EXPECT_EQ(f.path, "C:\\MACROS\\WORK.QLX");

  StartParam sm = ClassifyStartParam("/SM98");
  EXPECT_EQ(sm.kind, StartParamKind::SyncMinutes);
  EXPECT_EQ(sm.minutes, 98);
  EXPECT_EQ(ClassifyStartParam("/sm1").minutes, 1);
  for (const char* bad : {"/SM0", "/SM99", "/SMX", "/SM", "/SM-5", "/SM9x", "/SM99999999999"}) {
    EXPECT_EQ(ClassifyStartParam(bad).kind, StartParamKind::Ignored) << bad;
  }
}

TEST(StartupShowState, OnlyShowDefaultConsultsStartupInfoAndMinimisedFormsFold) {
  EXPECT_EQ(FoldStartupShowState(1, 2), 1);
  EXPECT_EQ(FoldStartupShowState(kShowMaximized, std::nullopt), kShowMaximized);
  EXPECT_EQ(FoldStartupShowState(kShowDefault, std::nullopt), kShowDefault);
  EXPECT_EQ(FoldStartupShowState(kShowDefault, kShowMinimized), kMinimize);
  EXPECT_EQ(FoldStartupShowState(kShowDefault, kShowMinNoActive), kMinimize);
  EXPECT_EQ(FoldStartupShowState(kShowDefault, kMinimize), kMinimize);
  EXPECT_EQ(FoldStartupShowState(kShowDefault, kShowMaximized), kShowMaximized);
}

TEST(OsFamilyAndCaption, FamiliesAndCaptionForms) {
  EXPECT_TRUE(ClassifyOs(kPlatformWin9x, 4).tray_capable);
  EXPECT_FALSE(ClassifyOs(kPlatformWin9x, 4).nt4_or_later);
  EXPECT_TRUE(ClassifyOs(kPlatformNt, 10).nt4_or_later);
  EXPECT_FALSE(ClassifyOs(kPlatformNt, 3).tray_capable);
  EXPECT_FALSE(ClassifyOs(0, 5).tray_capable);

  EXPECT_EQ(MainCaption("QUILX", "", BrowseMode::None), "Quillon 98 (QUILX)");
  EXPECT_EQ(MainCaption("WORK", "3/30/98  3:04 PM", BrowseMode::BrowseAll),
            "Quillon 98 (WORK)     3/30/98  3:04 PM    (Browse All Mode)");
  EXPECT_EQ(MainCaption("A", "", BrowseMode::Browse), "Quillon 98 (A)    (Browse Mode)");

  EXPECT_EQ(DirectoryOf("C:\\Program Files\\Quillon\\QUILX.EXE"), "C:\\Program Files\\Quillon");
  EXPECT_EQ(DirectoryOf("QUILX.EXE"), "");
}

}  // namespace
}  // namespace qlx
