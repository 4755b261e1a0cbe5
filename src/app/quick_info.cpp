#include "app/quick_info.h"

#include "store/hotkey_table.h"
#include "engine/date_time.h"
#include "store/macro_tables.h"

namespace qlx {
namespace {

constexpr char kMainIconName[] = "MAIN";
constexpr char kMenuIconName[] = "MENU";

std::string TwoDigits(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

std::string ScopeText(const MacroRecord& r) {
  switch (r.Scope()) {
    case kScopeGlobal: return "GLOBAL";
    case kScopePopupMenu: return "Popup Menu";
    case kScopeSystem: return "SYSTEM";
    case kScopeWindow:
    case kScopeProgram: {
      const std::string kind = r.Scope() == kScopeWindow ? "Window" : "Program";
      return r.ScopeText() + " \"" + kind + "\"" + (r.TopMostOnly() ? " (Top Most Only)" : " (If Running)");
    }
    default: return std::string();
  }
}

}  // namespace

std::string ModifiedDateText(double days) {
  const CivilMoment m = SplitMoment(days);
  const int hour12 = m.hour % 12 == 0 ? 12 : m.hour % 12;
  return std::to_string(m.month) + "/" + std::to_string(m.day) + "/" + std::to_string(m.year) + " " +
         std::to_string(hour12) + ":" + TwoDigits(m.minute) + ":" + TwoDigits(m.second) +
         (m.hour < 12 ? " AM" : " PM");
}

QuickInfoView MakeQuickInfo(const MacroRecord& record, const std::string& schedule, const std::string& program_dir,
                            const std::function<bool(const std::string&)>& file_exists) {
  QuickInfoView v;
  v.last_modified = "Last Modified On " + ModifiedDateText(record.LastModified());

  const std::string icon = record.Icon();
  if (icon == kMenuIconName) {
    v.icon = QuickInfoView::Icon::Menu;
  } else if (!icon.empty() && icon != kMainIconName) {
    const std::string path = program_dir + "\\Icons\\" + icon;
    if (file_exists(path)) {
      v.icon = QuickInfoView::Icon::File;
      v.icon_file = path;
    }
  }

  const uint16_t code = record.Code();
  if (code == kTimedCode) {
    v.activation_label = "Timed Macro:";
    v.activation = schedule;
  } else if (code == kSnapwordCode) {
    v.activation_label = "Snapword:";
    v.activation = record.Snapword();
  } else {
    v.activation_label = "Hot Key:";
    v.activation = std::string(HotKeyName(code));
  }

  const char* fixed = SystemMacroNickname(SystemMacroDigit(record.Scope(), record.ScopeText()));
  v.nickname = fixed ? fixed : record.Nickname();
  v.scope = ScopeText(record);
  v.active = record.Active() ? "Yes" : "No";
  v.text_visible = record.Scope() != kScopePopupMenu && record.Scope() != kScopeSystem;
  if (v.text_visible) {
    v.text_label = "Macro Text:";
    v.text = record.Text();
  }
  return v;
}

}  // namespace qlx
