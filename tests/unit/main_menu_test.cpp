// The main menu as the resource script makes it: inside one popup no two
// items underline the same letter, or Alt+letter could not reach both.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/command_states.h"
#include "fakes/resource_script.h"

namespace qlx {
namespace {

std::vector<test::MenuPopup> MainMenu() {
  return test::MenuPopups(test::SourceDir() / "res" / "quilx.rc", "IDR_MAINMENU");
}

// The first clash in a list of captions, as "A / B", or "".
std::string Clash(const std::vector<std::string>& captions) {
  std::map<char, std::string> seen;
  for (const std::string& c : captions) {
    const char m = test::Mnemonic(c);
    if (!m) continue;
    if (seen.count(m)) return seen[m] + " / " + c;
    seen[m] = c;
  }
  return {};
}

TEST(MainMenu, ReadsEveryPopup) {
  std::map<std::string, size_t> sizes;
  for (const test::MenuPopup& p : MainMenu()) sizes[p.title] = p.items.size();
  for (const char* title : {"&File", "&Macro", "&Options", "&Scheduler", "&Help"})
    EXPECT_TRUE(sizes.count(title)) << title;
  EXPECT_GE(sizes["&Options"], 10u);
}

TEST(MainMenu, NoPopupUnderlinesOneLetterTwice) {
  for (const test::MenuPopup& p : MainMenu()) EXPECT_EQ(Clash(p.items), "") << "in " << p.title;
}

// The captions that follow the selected macro take the place of the
// script's own: they must not clash with the rest of their popup either.
TEST(MainMenu, CaptionsThatFollowTheMacroDoNotClash) {
  struct Case {
    const char* script_caption;
    const char* replacement;
  } cases[] = {
      {kActivateCaption, kDeactivateCaption},
      {kModifyDirectlyCaption, kModifyPopupCaption},
  };
  for (const Case& c : cases) {
    bool found = false;
    for (const test::MenuPopup& p : MainMenu()) {
      std::vector<std::string> changed = p.items;
      for (std::string& item : changed)
        if (item == c.script_caption) {
          item = c.replacement;
          found = true;
        }
      EXPECT_EQ(Clash(changed), "") << "in " << p.title << " with " << c.replacement;
    }
    EXPECT_TRUE(found) << c.script_caption << " is not in the menu";
  }
}

TEST(MainMenu, MnemonicReading) {
  EXPECT_EQ(test::Mnemonic("&File"), 'f');
  EXPECT_EQ(test::Mnemonic("Acti&vate Macro"), 'v');
  EXPECT_EQ(test::Mnemonic("Show &Date && Time"), 'd');
  EXPECT_EQ(test::Mnemonic("Fish && &Chips"), 'c');
  EXPECT_EQ(test::Mnemonic("Fish && Chips"), 0);
  EXPECT_EQ(test::Mnemonic("Plain"), 0);
}

}  // namespace
}  // namespace qlx
