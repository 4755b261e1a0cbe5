#include "editor/win/popup_build_menu.h"

#include <commdlg.h>

#include "platform/win32/dialog.h"
#include "resource.h"
#include "store/macro_file.h"

namespace qlx {
namespace {

constexpr int kButtonIconPixels = 32;
constexpr int kModeRadios[3] = {IDC_MENU_FIRST_PART, IDC_MENU_ICONS, IDC_MENU_NICK_SCOPE};

int RadioOf(ChooserMode mode) {
  switch (mode) {
    case ChooserMode::FirstPart: return IDC_MENU_FIRST_PART;
    case ChooserMode::Icons: return IDC_MENU_ICONS;
    default: return IDC_MENU_NICK_SCOPE;
  }
}

ChooserMode ModeOf(int radio) {
  if (radio == IDC_MENU_FIRST_PART) return ChooserMode::FirstPart;
  if (radio == IDC_MENU_ICONS) return ChooserMode::Icons;
  return ChooserMode::NicknameAndScope;
}

// "Icons (*.ico)|*.ICO" as the open dialog wants it: pairs of zero-ended
// strings, ended by an empty one.
std::string DialogFilter(std::string_view filter) {
  std::string out(filter);
  for (char& c : out)
    if (c == '|') c = '\0';
  out.push_back('\0');
  out.push_back('\0');
  return out;
}

HICON LoadIconPicture(const std::string& file, int pixels) {
  if (file.empty())
    return static_cast<HICON>(
        ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MENU), IMAGE_ICON, pixels, pixels, 0));
  return static_cast<HICON>(::LoadImageA(nullptr, file.c_str(), IMAGE_ICON, pixels, pixels, LR_LOADFROMFILE));
}

}  // namespace

BuildMenuResult TDoBuildMenu::ShowModal(HWND owner) {
  result_ = {};
  RunModal(IDD_BUILD_MENU, owner);
  return result_;
}

void TDoBuildMenu::FormShow() {
  if (!title_.empty()) dlg::SetText(hwnd(), title_);
  dlg::SetEditLimit(hwnd(), IDC_MENU_NICKNAME, static_cast<int>(mr::kNicknameCapacity));
  HWND sizes = dlg::Item(hwnd(), IDC_MENU_ICON_SIZE);
  for (const char* name : kIconSizeNames) dlg::combo::Add(sizes, name);

  const std::string stored_icon = working_.Icon();
  opening_ = modify_ ? MenuFormFromRecord(working_, icons_.Exists(IconFile(program_dir_, stored_icon)))
                     : NewMenuForm();
  dlg::SetText(hwnd(), IDC_MENU_NICKNAME, opening_.nickname);
  dlg::SetChecked(hwnd(), IDC_MENU_IN_TRAY, opening_.options.in_tray);
  dlg::CheckRadio(hwnd(), kModeRadios[0], kModeRadios[2], RadioOf(opening_.options.mode));
  dlg::combo::Select(sizes, opening_.options.size_index);
  ShowIcon(opening_.icon);

  builder_.Load(block_, modify_ ? PopupMenuView(working_).Entries() : std::vector<int>{});
  FillLists();
  dlg::Focus(hwnd(), IDC_MENU_NICKNAME);
}

void TDoBuildMenu::ShowIcon(const std::string& icon_name) {
  icon_name_ = icon_name;
  const std::string file = icon_name == kMenuIconName ? std::string() : IconFile(program_dir_, icon_name);
  picture_.reset(LoadIconPicture(file, kButtonIconPixels));
  ::SendMessageA(dlg::Item(hwnd(), IDC_MENU_ICON), BM_SETIMAGE, IMAGE_ICON,
                 reinterpret_cast<LPARAM>(picture_.get()));
}

void TDoBuildMenu::FillLists() {
  const PopupMenuBuilder::Selection keep = CurrentSelection();
  HWND menu = dlg::Item(hwnd(), IDC_MENU_LIST);
  HWND available = dlg::Item(hwnd(), IDC_AVAILABLE_LIST);
  for (auto [list, numbers] : {std::pair{menu, &builder_.menu()}, std::pair{available, &builder_.available()}}) {
    const int top = dlg::list::Top(list);
    dlg::list::Clear(list);
    for (int n : *numbers) dlg::list::SetData(list, dlg::list::Add(list, MacroListName(n, block_, names_)), n);
    dlg::list::SetTop(list, top);
  }
  dlg::list::Select(menu, keep.menu);
  dlg::list::Select(available, keep.available);
  SetButtons();
}

PopupMenuBuilder::Selection TDoBuildMenu::CurrentSelection() const {
  return {dlg::list::Selected(dlg::Item(hwnd(), IDC_AVAILABLE_LIST)), dlg::list::Selected(dlg::Item(hwnd(), IDC_MENU_LIST))};
}

void TDoBuildMenu::SetButtons() {
  const PopupMenuBuilder::Buttons b = builder_.Enabled(CurrentSelection());
  dlg::Enable(hwnd(), IDC_MENU_ADD, b.add);
  dlg::Enable(hwnd(), IDC_MENU_INSERT_BEFORE, b.insert_before);
  dlg::Enable(hwnd(), IDC_MENU_INSERT_AFTER, b.insert_after);
  dlg::Enable(hwnd(), IDC_MENU_REMOVE, b.remove);
  dlg::Enable(hwnd(), IDC_MENU_UP, b.up);
  dlg::Enable(hwnd(), IDC_MENU_DOWN, b.down);
}

void TDoBuildMenu::Act(std::optional<std::string> (PopupMenuBuilder::*action)(PopupMenuBuilder::Selection&)) {
  PopupMenuBuilder::Selection sel = CurrentSelection();
  if (const auto refusal = (builder_.*action)(sel)) {
    dlg::ShowMessage(hwnd(), kErrorCaption, *refusal);
    return;
  }
  HWND menu = dlg::Item(hwnd(), IDC_MENU_LIST);
  HWND available = dlg::Item(hwnd(), IDC_AVAILABLE_LIST);
  dlg::list::Select(menu, sel.menu);
  dlg::list::Select(available, sel.available);
  FillLists();
}

void TDoBuildMenu::IconButtonClick() {
  const std::string folder = IconFolder(program_dir_);
  const std::string filter = DialogFilter(kIconFilter);
  char file[MAX_PATH] = {};
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = hwnd();
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrInitialDir = folder.c_str();
  ofn.lpstrTitle = kIconDialogTitle;
  ofn.lpstrDefExt = kIconExtension;
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!::GetOpenFileNameA(&ofn)) return;
  const IconChoice choice = ChooseIconFile(file, folder, icons_);
  for (const std::string& m : choice.messages) dlg::ShowMessage(hwnd(), kErrorCaption, m);
  if (!choice.icon) return;
  ShowIcon(*choice.icon);
  icon_changed_ = true;
}

bool TDoBuildMenu::OkButtonClick() {
  MenuForm form;
  form.nickname = dlg::GetText(hwnd(), IDC_MENU_NICKNAME);
  form.options.in_tray = dlg::IsChecked(hwnd(), IDC_MENU_IN_TRAY);
  form.options.mode = ModeOf(dlg::CheckedRadio(hwnd(), kModeRadios[0], kModeRadios[2], IDC_MENU_NICK_SCOPE));
  const int size = dlg::combo::Selected(dlg::Item(hwnd(), IDC_MENU_ICON_SIZE));
  form.options.size_index = size >= 0 ? size : 0;
  form.icon = icon_name_;
  result_.tray_icons_changed = SaveMenuForm(form, builder_.menu(), !modify_, opening_, icon_changed_, working_);
  result_.saved = true;
  return true;
}

bool TDoBuildMenu::OnCommand(int id, int code, HWND) {
  switch (id) {
    case IDC_AVAILABLE_LIST:
      if (code == LBN_DBLCLK) Act(&PopupMenuBuilder::Add);
      else if (code == LBN_SELCHANGE) SetButtons();
      return true;
    case IDC_MENU_LIST:
      if (code == LBN_SELCHANGE) SetButtons();
      return true;
    case IDC_MENU_ADD: Act(&PopupMenuBuilder::Add); return true;
    case IDC_MENU_INSERT_BEFORE: Act(&PopupMenuBuilder::InsertBefore); return true;
    case IDC_MENU_INSERT_AFTER: Act(&PopupMenuBuilder::InsertAfter); return true;
    case IDC_MENU_REMOVE: Act(&PopupMenuBuilder::Remove); return true;
    case IDC_MENU_UP: Act(&PopupMenuBuilder::Up); return true;
    case IDC_MENU_DOWN: Act(&PopupMenuBuilder::Down); return true;
    case IDC_MENU_ICON: IconButtonClick(); return true;
    default: return false;
  }
}

}  // namespace qlx
