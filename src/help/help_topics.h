#pragma once
// The help pages shipped in the Help folder beside the program: one page per
// help keyword, and which keyword each dialog template opens. Help buttons
// and Help > Contents only turn a keyword into a file path here.
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qlx::help {

inline constexpr char kFolder[] = "Help";
inline constexpr char kContents[] = "Contents";

struct Topic {
  std::string_view keyword;
  std::string_view page;  // file name inside the Help folder
};

// Every keyword with its page, Contents first.
std::span<const Topic> Topics();

// The page of a keyword; the Contents page for a keyword without one.
std::string_view PageOf(std::string_view keyword);

// program_dir + "\Help\" + the keyword's page.
std::string PagePath(std::string_view program_dir, std::string_view keyword);

// The message when the browser could not be given a page.
std::string MissingPageMessage(std::string_view path);

// Who answers a dialog's Help button: the common dialog plumbing, or the
// dialog class itself because its keyword depends on how it was opened.
enum class Handler { Common, Dialog };

struct DialogTopic {
  int template_id;
  std::string_view keyword;  // also what F1 opens
  Handler handler;
};

std::span<const DialogTopic> DialogTopics();

// The entry of a dialog template, or nothing for a template without a page.
std::optional<DialogTopic> TopicOfDialog(int template_id);

// True for the caption of a Help button ("&Help", "Help").
bool IsHelpCaption(std::string_view caption);

}  // namespace qlx::help
