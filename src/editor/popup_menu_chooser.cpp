#include "editor/popup_menu_chooser.h"

#include <algorithm>

#include "activation/hook_contract.h"

namespace qlx {
namespace {

constexpr size_t kMaxLineText = 255;
constexpr int kLineHeight = 17;
constexpr int kListPadding = 8;
constexpr int kListWidth = 300;
constexpr int kMargin = 2;
constexpr int kHeadingHeight = 16;
constexpr int kBottomLine = 26;  // the window is the first list + 42 high
constexpr int kTwoListWidth = 604;
constexpr int kButtonsPerRow = 9;
constexpr int kIconBottomLine = 22;
constexpr int kCancelWidth = 60;
constexpr int kCancelHeight = 22;

int ListHeight(int lines) { return kLineHeight * lines + kListPadding; }

}  // namespace

std::string ChooserLabel(int position) {
  if (position >= 0 && position < 10) return std::string(1, static_cast<char>('0' + position));
  if (position >= 10 && position < kKeyPositions) return std::string(1, static_cast<char>('A' + position - 10));
  return {};
}

std::optional<int> ChooserKeyToEntry(char key, int entries) {
  if (key >= 'a' && key <= 'z') key = static_cast<char>(key - 'a' + 'A');
  int position;
  if (key >= '0' && key <= '9') position = key - '0';
  else if (key >= 'A' && key <= 'Z') position = 10 + key - 'A';
  else return std::nullopt;
  if (position >= entries) return std::nullopt;
  return position;
}

ChooserEntry MakeChooserEntry(int macro, int position, const MacroRecord& r, ChooserMode mode) {
  ChooserEntry e;
  e.macro = macro;
  e.label = ChooserLabel(position);
  e.icon = r.Icon();
  e.scope_code = r.Scope();
  // A popup menu's text area holds its menu, not text: it is shown by name.
  if (mode == ChooserMode::FirstPart && r.Scope() != kScopePopupMenu) {
    e.text = r.Text();
    if (e.text.size() > kMaxLineText) e.text.resize(kMaxLineText);
    return e;
  }
  e.text = ShownMacroName(r.Nickname(), r.Code(), r.Snapword());
  switch (r.Scope()) {
    case kScopeGlobal: e.scope = "GLOBAL"; break;
    case kScopePopupMenu: e.scope = "Popup Menu"; break;
    default: e.scope = r.ScopeText(); break;
  }
  return e;
}

std::vector<ChooserEntry> ChooserEntries(const MacroRecord& menu, IRecordSource& records) {
  const PopupMenuView view(menu);
  const ChooserMode mode = view.Options().mode;
  std::vector<ChooserEntry> out;
  const std::vector<int> numbers = view.Entries();
  out.reserve(numbers.size());
  MacroRecord r;
  for (size_t i = 0; i < numbers.size(); ++i) {
    const int n = numbers[i];
    if (records.ReadRecord(n, r)) {
      out.push_back(MakeChooserEntry(n, static_cast<int>(i), r, mode));
    } else {
      ChooserEntry e;
      e.macro = n;
      e.label = ChooserLabel(static_cast<int>(i));
      out.push_back(e);
    }
  }
  return out;
}

std::string FitToWidth(std::string text, int width, const std::function<int(std::string_view)>& measure) {
  while (!text.empty() && measure(text) > width) text.pop_back();
  return text;
}

ChooserLayout ComputeChooserLayout(ChooserMode mode, int entries, int icon_pixels) {
  ChooserLayout l;
  entries = std::max(entries, 0);
  if (mode == ChooserMode::Icons) {
    l.icon_mode = true;
    l.button_side = icon_pixels + 4;
    const int rows = std::max(1, (entries + kButtonsPerRow - 1) / kButtonsPerRow);
    l.client_height = rows * l.button_side + kIconBottomLine;
    if (entries > 8) l.client_width = kButtonsPerRow * l.button_side;
    else if (entries >= 4) l.client_width = entries * l.button_side;
    else l.client_width = 4 * l.button_side;
    for (int i = 0; i < entries; ++i)
      l.buttons.push_back({(i % kButtonsPerRow) * l.button_side, (i / kButtonsPerRow) * l.button_side,
                           l.button_side, l.button_side});
    l.cancel = {0, rows * l.button_side + 1, std::min(kCancelWidth, l.client_width), kIconBottomLine - 2};
    return l;
  }
  const int first_lines = std::min(entries, kLinesPerList);
  l.lists = entries > kLinesPerList ? 2 : 1;
  l.list[0] = {kMargin, kHeadingHeight, kListWidth, ListHeight(first_lines)};
  if (l.lists == 2) {
    // The second list shows at most as many lines as the first and
    // scrolls past them.
    const int second_lines = std::min(entries - kLinesPerList, kLinesPerList);
    l.list[1] = {kMargin + kListWidth, kHeadingHeight, kListWidth, ListHeight(second_lines)};
    l.client_width = kTwoListWidth;
  } else {
    l.client_width = kListWidth + 2 * kMargin;
  }
  l.client_height = l.list[0].height + kHeadingHeight + kBottomLine;
  const int bottom = kHeadingHeight + l.list[0].height + 2;
  l.cancel = {kMargin, bottom, kCancelWidth, kCancelHeight};
  l.hint = {kMargin + kCancelWidth + 6, bottom + 4, l.client_width - kCancelWidth - 2 * kMargin - 6, 16};
  return l;
}

ChooserPlace PlaceChooser(int click_x, int width, int height, int screen_width, int screen_height) {
  if (click_x < 0) return {(screen_width - width) / 2, (screen_height - height) / 2};
  int left = click_x;
  if (left + width > screen_width) left -= width;
  if (left < 0) left = 0;
  return {left, screen_height - height};
}

IconPicture ChooserIconPicture(std::string_view icon_name, int16_t scope, bool file_exists) {
  if (icon_name == kMainIconName) return IconPicture::Program;
  if (icon_name == kMenuIconName) return IconPicture::Menu;
  if (file_exists && !icon_name.empty()) return IconPicture::File;
  return scope == kScopePopupMenu ? IconPicture::Menu : IconPicture::Program;
}

std::vector<int> MenuTrayMacros(const ActivationBlock& block, const MacroNameTables& names) {
  std::vector<int> out;
  const int count = block.ClampedCount();
  for (int n = 1; n <= count && static_cast<int>(out.size()) < kMaxMenuTrayIcons; ++n) {
    if (block.Scope(n) != kScopePopupMenu) continue;
    if (ParseMenuOptions(names.Snapword(n)).in_tray) out.push_back(n);
  }
  return out;
}

IconPicture MenuTrayIconPicture(std::string_view icon_name, bool file_exists) {
  return icon_name != kMenuIconName && !icon_name.empty() && file_exists ? IconPicture::File : IconPicture::Menu;
}

MenuIconClick MenuIconRightClick(int macro, int click_x, const WindowBlock& window_block) {
  MenuIconClick c;
  c.wparam = static_cast<uint32_t>(macro) | kHotKeyMacroNumberBit;
  c.target_window = window_block.LastOutsideWindow();
  c.chooser_x = click_x;
  return c;
}

}  // namespace qlx
