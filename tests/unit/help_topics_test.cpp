// The help pages: every keyword the program opens has its page in help/,
// every dialog with a Help button has a page, and keywords become the
// right paths.
#include "help/help_topics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>
#include <string>

#include "fakes/resource_script.h"

namespace qlx::help {
namespace {

namespace fs = std::filesystem;
using test::SourceDir;

fs::path HelpDir() { return SourceDir() / "help"; }

TEST(HelpTopics, EveryTopicHasItsPageFile) {
  for (const Topic& t : Topics())
    EXPECT_TRUE(fs::is_regular_file(HelpDir() / std::string(t.page)))
        << "\"" << t.keyword << "\" names " << t.page << ", which is not in help/";
}

TEST(HelpTopics, KeywordsAndPagesAreUnique) {
  std::set<std::string> keywords, pages;
  for (const Topic& t : Topics()) {
    EXPECT_TRUE(keywords.insert(std::string(t.keyword)).second) << "keyword twice: " << t.keyword;
    EXPECT_TRUE(pages.insert(std::string(t.page)).second) << "page twice: " << t.page;
  }
}

TEST(HelpTopics, EveryPageInTheFolderIsReachableFromContents) {
  const std::string contents = test::ReadText(HelpDir() / std::string(PageOf(kContents)));
  std::set<std::string> topic_pages;
  for (const Topic& t : Topics()) topic_pages.insert(std::string(t.page));
  for (const fs::path& page : test::FilesIn(HelpDir(), ".htm")) {
    const std::string name = page.filename().string();
    EXPECT_TRUE(topic_pages.count(name)) << name << " is in help/ but no keyword opens it";
    if (name != PageOf(kContents)) {
      EXPECT_NE(contents.find("href=\"" + name + "\""), std::string::npos) << "Contents does not link " << name;
    }
  }
}

// Every page is a whole page of its own: a title, the shared stylesheet, a
// way back to Contents, and links only to pages that exist.
TEST(HelpTopics, PagesAreCompleteAndTheirLinksResolve) {
  static const std::regex link(R"re(href="([^"#:]+)(#[^"]*)?")re");
  for (const fs::path& page : test::FilesIn(HelpDir(), ".htm")) {
    const std::string html = test::ReadText(page);
    const std::string name = page.filename().string();
    EXPECT_NE(html.find("<title>"), std::string::npos) << name;
    EXPECT_NE(html.find("<h1>"), std::string::npos) << name;
    EXPECT_NE(html.find("href=\"help.css\""), std::string::npos) << name;
    if (name != PageOf(kContents)) {
      EXPECT_NE(html.find("href=\"" + std::string(PageOf(kContents)) + "\""), std::string::npos) << name;
    }
    for (std::sregex_iterator it(html.begin(), html.end(), link), end; it != end; ++it)
      EXPECT_TRUE(fs::is_regular_file(HelpDir() / (*it)[1].str())) << name << " links " << (*it)[1];
  }
}

TEST(HelpTopics, EveryDialogKeywordIsATopic) {
  for (const DialogTopic& d : DialogTopics()) {
    bool found = false;
    for (const Topic& t : Topics()) found = found || t.keyword == d.keyword;
    EXPECT_TRUE(found) << "dialog " << d.template_id << " opens \"" << d.keyword << "\", which has no page";
  }
}

// A Help button the table does not know would open nothing.
TEST(HelpTopics, EveryDialogWithAHelpButtonHasAPage) {
  const std::map<std::string, int> ids = test::ResourceIds();
  int with_help = 0;
  for (const test::DialogTemplate& d : test::DialogTemplates()) {
    bool has_help = false;
    for (size_t i = 0; i < d.captions.size(); ++i) {
      if (!IsHelpCaption(d.captions[i])) continue;
      has_help = true;
      // The dialogs find their Help buttons by this id.
      EXPECT_EQ(d.ids[i], "IDHELP") << d.name << " of " << d.file;
    }
    if (!has_help) continue;
    ++with_help;
    const auto id = ids.find(d.name);
    ASSERT_NE(id, ids.end()) << d.name << " of " << d.file << " has no identifier in res/";
    EXPECT_TRUE(TopicOfDialog(id->second).has_value()) << d.name << " of " << d.file << " has a Help button but no page";
  }
  EXPECT_GE(with_help, 30) << "the resource scripts were not read";
}

// The dialog classes that choose their own keyword pass it as a literal or
// keep it in a constant named so: each must be a topic, or its Help button
// opens Contents.
TEST(HelpTopics, EveryKeywordTheDialogClassesPassIsATopic) {
  static const std::regex literal(R"re("([^"]*)")re");
  struct Site {
    const char* text;
    bool call;  // the arguments of a call, else a definition up to its ';'
  };
  const Site sites[] = {{"CommandDialog(ctx,", true},
                        {"TokenTextEditor(ctx,", true},
                        {"OpenHelp(", true},
                        {"HelpKeyword[] =", false}};
  int literals = 0;
  for (const auto& e : fs::recursive_directory_iterator(SourceDir() / "src")) {
    const std::string ext = e.path().extension().string();
    if (!e.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
    const std::string text = test::ReadText(e.path());
    for (const Site& site : sites) {
      const std::string start = site.text;
      for (size_t at = text.find(start); at != std::string::npos; at = text.find(start, at + 1)) {
        const size_t from = at + start.size();
        size_t pos = from;
        if (site.call) {
          // Up to the parenthesis that closes the call.
          for (int open = 1; pos < text.size() && open > 0; ++pos) {
            if (text[pos] == '(') ++open;
            if (text[pos] == ')') --open;
          }
        } else {
          pos = std::min(text.find(';', from), text.size());
        }
        const std::string args = text.substr(from, pos - from);
        for (std::sregex_iterator l(args.begin(), args.end(), literal), lend; l != lend; ++l) {
          ++literals;
          const std::string keyword = (*l)[1];
          bool found = false;
          for (const Topic& t : Topics()) found = found || t.keyword == keyword;
          EXPECT_TRUE(found) << e.path().filename() << " opens help at \"" << keyword << "\", which has no page";
        }
      }
    }
  }
  EXPECT_GE(literals, 20) << "the dialog classes were not read";
}

TEST(HelpTopics, PageOfAKeyword) {
  struct Case {
    const char* keyword;
    const char* page;
  } cases[] = {
      {"Scripting Editor", "scripting-editor.htm"},
      {"scripting editor", "scripting-editor.htm"},  // the keyword's letters, any case
      {"Mouse Commands", "mouse-commands.htm"},
      {"Contents", "contents.htm"},
      {"", "contents.htm"},  // unknown keywords open Contents
      {"No Such Dialog", "contents.htm"},
      {"Mouse Commands ", "contents.htm"},
  };
  for (const Case& c : cases) EXPECT_EQ(PageOf(c.keyword), c.page) << "\"" << c.keyword << "\"";
}

TEST(HelpTopics, PagePathIsInTheHelpFolderBesideTheProgram) {
  EXPECT_EQ(PagePath("C:\\Programs\\Quillon 98", "Sort Order"), "C:\\Programs\\Quillon 98\\Help\\sort-order.htm");
  EXPECT_EQ(PagePath("C:\\Q\\", "Sort Order"), "C:\\Q\\Help\\sort-order.htm");
  EXPECT_EQ(PagePath("", "Sort Order"), "Help\\sort-order.htm");
}

TEST(HelpTopics, UnknownTemplatesHaveNoPage) {
  EXPECT_FALSE(TopicOfDialog(-1).has_value());
  EXPECT_FALSE(TopicOfDialog(0).has_value());
}

TEST(HelpTopics, HelpCaptions) {
  struct Case {
    const char* caption;
    bool help;
  } cases[] = {{"&Help", true}, {"Help", true}, {"&help", true}, {"He&lp", true},
               {"&Helper", false}, {"&Ok", false}, {"", false}, {"&Help ", false}};
  for (const Case& c : cases) EXPECT_EQ(IsHelpCaption(c.caption), c.help) << "\"" << c.caption << "\"";
}

TEST(HelpTopics, MissingPageMessageNamesThePage) {
  EXPECT_EQ(MissingPageMessage("C:\\Q\\Help\\x.htm"), "The help page C:\\Q\\Help\\x.htm could not be opened.");
}

}  // namespace
}  // namespace qlx::help
