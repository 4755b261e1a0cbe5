#include "app/win/sort_order_dialog.h"

#include "app/sort_order.h"
#include "platform/win32/dialog.h"
#include "resource.h"

namespace qlx {

bool TSortOrder::ShowModal(HWND owner) { return RunModal(IDD_SORT_ORDER, owner) == IDOK; }

bool TSortOrder::OnCommand(int id, int code, HWND) {
  if (id >= IDC_SO_LIST_1 && id < IDC_SO_LIST_1 + 3) {
    if (code == LBN_SELCHANGE) ListClick(id - IDC_SO_LIST_1);
    return true;
  }
  if (id >= IDC_SO_UP_1 && id < IDC_SO_UP_1 + 3) {
    MoveButtonClick(id - IDC_SO_UP_1, -1);
    return true;
  }
  if (id >= IDC_SO_DOWN_1 && id < IDC_SO_DOWN_1 + 3) {
    MoveButtonClick(id - IDC_SO_DOWN_1, +1);
    return true;
  }
  return false;
}

void TSortOrder::FormShow() {
  digits_ = {settings_.primary_sort, settings_.activation_sort, settings_.scope_sort};
  for (int list = 0; list < 3; ++list) ShowList(list, -1);
}

void TSortOrder::ShowList(int list, int selected) {
  const std::string& digits = digits_[static_cast<size_t>(list)];
  const std::vector<std::string> items = list == 0   ? SortItemsInOrder(digits, kPrimarySortNames)
                                         : list == 1 ? SortItemsInOrder(digits, kActivationSortNames)
                                                     : SortItemsInOrder(digits, kScopeSortNames);
  HWND box = dlg::Item(hwnd(), IDC_SO_LIST_1 + list);
  dlg::list::Clear(box);
  for (const std::string& item : items) dlg::list::Add(box, item);
  if (selected >= 0) dlg::list::Select(box, selected);
  ListClick(list);
}

void TSortOrder::ListClick(int list) {
  HWND box = dlg::Item(hwnd(), IDC_SO_LIST_1 + list);
  const int count = static_cast<int>(::SendMessageA(box, LB_GETCOUNT, 0, 0));
  const SortMoveButtons b = SortMoveButtonStates(dlg::list::Selected(box), count);
  dlg::Enable(hwnd(), IDC_SO_UP_1 + list, b.up);
  dlg::Enable(hwnd(), IDC_SO_DOWN_1 + list, b.down);
}

void TSortOrder::MoveButtonClick(int list, int delta) {
  const int selected = dlg::list::Selected(dlg::Item(hwnd(), IDC_SO_LIST_1 + list));
  if (!MoveSortItem(digits_[static_cast<size_t>(list)], selected, delta)) return;
  ShowList(list, selected + delta);
  // A button that has just been disabled would leave the focus nowhere.
  ::SetFocus(dlg::Item(hwnd(), IDC_SO_LIST_1 + list));
}

bool TSortOrder::OkButtonClick() {
  settings_.primary_sort = digits_[0];
  settings_.activation_sort = digits_[1];
  settings_.scope_sort = digits_[2];
  RefreshFontStyleFlags(settings_);
  WriteSettings(profile_, settings_);
  return true;
}

}  // namespace qlx
