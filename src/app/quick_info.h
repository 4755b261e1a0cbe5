#pragma once
// What the Quick Info window shows for one macro record.
#include <functional>
#include <string>

#include "store/macro_record.h"

namespace qlx {

inline constexpr char kQuickInfoCaption[] = "Quick Info";

struct QuickInfoView {
  std::string last_modified;  // "Last Modified On " + date and time
  enum class Icon { Main, Menu, File } icon = Icon::Main;
  std::string icon_file;  // Icon::File: the path of the icon file
  std::string activation_label;  // "Timed Macro:", "Snapword:" or "Hot Key:"
  std::string activation;
  std::string nickname;
  std::string scope;
  std::string active;  // "Yes" or "No"
  std::string text_label;  // "Macro Text:", empty when the text is hidden
  bool text_visible = true;
  std::string text;
};

// "3/14/2024 2:05:09 PM" for a stored date value.
std::string ModifiedDateText(double days);

// `schedule` describes a timed macro's schedule; `program_dir` holds the
// Icons folder; `file_exists` tells whether an icon file is there.
QuickInfoView MakeQuickInfo(const MacroRecord& record, const std::string& schedule, const std::string& program_dir,
                            const std::function<bool(const std::string&)>& file_exists);

}  // namespace qlx
