#include "editor/popup_menu.h"

#include <algorithm>
#include <cstring>

#include "store/hotkey_table.h"

namespace qlx {
namespace {

std::string UpperCopy(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string FolderOf(std::string_view path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
}

std::string FilePart(std::string_view path) {
  const size_t slash = path.find_last_of("\\/");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string out(folder);
  if (!out.empty() && out.back() != '\\' && out.back() != '/') out += '\\';
  return out + std::string(name);
}

}  // namespace

int IconPixels(int size_index) { return size_index >= 0 && size_index < 5 ? kIconSizes[size_index] : kIconSizes[0]; }

MenuOptions ParseMenuOptions(std::string_view text) {
  MenuOptions o;
  o.in_tray = !text.empty() && text[0] == 'Y';
  const char mode = text.size() > 1 ? text[1] : ' ';
  o.mode = mode == '1' ? ChooserMode::FirstPart : mode == '2' ? ChooserMode::Icons : ChooserMode::NicknameAndScope;
  const char size = text.size() > 2 ? text[2] : '0';
  o.size_index = size >= '0' && size <= '4' ? size - '0' : 0;
  return o;
}

std::string MenuOptionsText(const MenuOptions& o) {
  std::string s(pm::kOptionsLength, ' ');
  s[0] = o.in_tray ? 'Y' : 'N';
  s[1] = static_cast<char>('0' + static_cast<int>(o.mode));
  s[2] = static_cast<char>('0' + (o.size_index >= 0 && o.size_index < 5 ? o.size_index : 0));
  return s;
}

size_t PopupMenuView::Count() const {
  const size_t n = GetU16(record_.data() + pm::kCount);
  return std::min(n, pm::kMaxEntries);
}

int PopupMenuView::Entry(size_t i) const {
  return i < Count() ? GetU16(record_.data() + pm::kEntries + pm::kEntrySize * i) : 0;
}

std::vector<int> PopupMenuView::Entries() const {
  std::vector<int> out;
  const size_t n = Count();
  out.reserve(n);
  for (size_t i = 0; i < n; ++i) out.push_back(Entry(i));
  return out;
}

void SetMenuEntries(MacroRecord& record, const std::vector<int>& entries) {
  uint8_t* text = record.data() + mr::kText;
  std::memset(text, 0, mr::kTextBytes);
  const size_t n = std::min(entries.size(), pm::kMaxEntries);
  PutU16(record.data() + pm::kCount, static_cast<uint16_t>(n));
  for (size_t i = 0; i < n; ++i)
    PutU16(record.data() + pm::kEntries + pm::kEntrySize * i, static_cast<uint16_t>(entries[i]));
}

void SetMenuOptions(MacroRecord& record, const MenuOptions& options) { record.SetSnapword(MenuOptionsText(options)); }

// ---- builder

void PopupMenuBuilder::Load(const ActivationBlock& block, const std::vector<int>& stored_menu) {
  menu_.clear();
  available_.clear();
  const int count = block.ClampedCount();
  for (int n = 1; n <= count; ++n) {
    if (block.Scope(n) == kScopeSystem) continue;
    const bool listed = std::find(stored_menu.begin(), stored_menu.end(), n) != stored_menu.end();
    (listed ? menu_ : available_).push_back(n);
  }
}

std::optional<std::string> PopupMenuBuilder::MoveIntoMenu(Selection& sel, int at) {
  const int macro = available_[static_cast<size_t>(sel.available)];
  available_.erase(available_.begin() + sel.available);
  menu_.insert(menu_.begin() + at, macro);
  sel.menu = at;
  // The next available macro is ready for the next press.
  if (sel.available >= static_cast<int>(available_.size())) sel.available = static_cast<int>(available_.size()) - 1;
  return std::nullopt;
}

std::optional<std::string> PopupMenuBuilder::Add(Selection& sel) {
  if (!ValidAvailable(sel.available)) return std::string(kNoMacroSelectedText);
  return MoveIntoMenu(sel, static_cast<int>(menu_.size()));
}

std::optional<std::string> PopupMenuBuilder::InsertBefore(Selection& sel) {
  if (!ValidAvailable(sel.available)) return std::string(kNoMacroSelectedText);
  return MoveIntoMenu(sel, ValidMenu(sel.menu) ? sel.menu : 0);
}

std::optional<std::string> PopupMenuBuilder::InsertAfter(Selection& sel) {
  if (!ValidAvailable(sel.available)) return std::string(kNoMacroSelectedText);
  return MoveIntoMenu(sel, ValidMenu(sel.menu) ? sel.menu + 1 : static_cast<int>(menu_.size()));
}

std::optional<std::string> PopupMenuBuilder::Remove(Selection& sel) {
  if (!ValidMenu(sel.menu)) return std::string(kNoMacroSelectedText);
  const int macro = menu_[static_cast<size_t>(sel.menu)];
  menu_.erase(menu_.begin() + sel.menu);
  const auto at = std::find_if(available_.begin(), available_.end(), [macro](int m) { return m > macro; });
  sel.available = static_cast<int>(at - available_.begin());
  available_.insert(at, macro);
  if (sel.menu >= static_cast<int>(menu_.size())) sel.menu = static_cast<int>(menu_.size()) - 1;
  return std::nullopt;
}

std::optional<std::string> PopupMenuBuilder::Up(Selection& sel) {
  if (!ValidMenu(sel.menu)) return std::string(kNoMacroSelectedText);
  if (sel.menu == 0) return std::nullopt;
  std::swap(menu_[static_cast<size_t>(sel.menu)], menu_[static_cast<size_t>(sel.menu - 1)]);
  --sel.menu;
  return std::nullopt;
}

std::optional<std::string> PopupMenuBuilder::Down(Selection& sel) {
  if (!ValidMenu(sel.menu)) return std::string(kNoMacroSelectedText);
  if (sel.menu + 1 >= static_cast<int>(menu_.size())) return std::nullopt;
  std::swap(menu_[static_cast<size_t>(sel.menu)], menu_[static_cast<size_t>(sel.menu + 1)]);
  ++sel.menu;
  return std::nullopt;
}

PopupMenuBuilder::Buttons PopupMenuBuilder::Enabled(const Selection& sel) const {
  Buttons b;
  b.add = b.insert_before = b.insert_after = ValidAvailable(sel.available);
  b.remove = ValidMenu(sel.menu);
  b.up = b.remove && sel.menu > 0;
  b.down = b.remove && sel.menu + 1 < static_cast<int>(menu_.size());
  return b;
}

std::string ShownMacroName(std::string_view nickname, uint16_t code, std::string_view snapword) {
  while (!nickname.empty() && nickname.front() == ' ') nickname.remove_prefix(1);
  while (!nickname.empty() && nickname.back() == ' ') nickname.remove_suffix(1);
  if (!nickname.empty()) return std::string(nickname);
  if (code == kTimedCode) return "Timed Macro";
  if (code == kSnapwordCode) return std::string(snapword);
  return std::string(HotKeyName(code));
}

std::string MacroListName(int n, const ActivationBlock& block, const MacroNameTables& names) {
  return ShownMacroName(names.Nickname(n), block.Code(n), names.Snapword(n));
}

MenuForm NewMenuForm() { return MenuForm{}; }

MenuForm MenuFormFromRecord(const MacroRecord& record, bool icon_exists) {
  MenuForm f;
  f.nickname = record.Nickname();
  f.options = PopupMenuView(record).Options();
  const std::string icon = record.Icon();
  f.icon = icon != kMenuIconName && !icon.empty() && icon_exists ? icon : std::string(kMenuIconName);
  return f;
}

bool SaveMenuForm(const MenuForm& form, const std::vector<int>& menu, bool is_new, const MenuForm& at_opening,
                  bool icon_changed, MacroRecord& working) {
  bool tray_changed = icon_changed;
  if (is_new) {
    working.SetActive(true);
    if (form.options.in_tray) tray_changed = true;
  }
  working.SetNickname(form.nickname);
  working.SetIcon(form.icon);
  working.SetScope(kScopePopupMenu);
  SetMenuOptions(working, form.options);
  SetMenuEntries(working, menu);
  if (form.nickname != at_opening.nickname || form.options.in_tray != at_opening.options.in_tray)
    tray_changed = true;
  return tray_changed;
}

// ---- icon files

std::string IconFolder(std::string_view program_dir) { return JoinPath(program_dir, "Icons"); }

std::string IconFile(std::string_view program_dir, std::string_view icon_name) {
  return JoinPath(IconFolder(program_dir), icon_name);
}

IconChoice ChooseIconFile(const std::string& picked, const std::string& icon_folder, IIconFolder& files) {
  IconChoice out;
  if (picked.size() < 4 || UpperCopy(std::string_view(picked).substr(picked.size() - 4)) != ".ICO") {
    out.messages.emplace_back(kInvalidIconTypeText);
    return out;
  }
  const std::string name = FilePart(picked);
  const std::string in_folder = JoinPath(icon_folder, name);
  if (UpperCopy(FolderOf(picked)) != UpperCopy(FolderOf(in_folder))) {
    if (!files.CopyNew(picked, in_folder)) out.messages.emplace_back(kIconNameTakenText);
  }
  if (!files.Exists(in_folder)) {
    out.messages.emplace_back(kIconNotOpenedText);
    return out;
  }
  std::string short_name = files.ShortName(in_folder);
  if (short_name.empty()) short_name = name;
  if (short_name.size() > mr::kIconCapacity) short_name.resize(mr::kIconCapacity);
  out.icon = short_name;
  out.path = in_folder;
  return out;
}

}  // namespace qlx
