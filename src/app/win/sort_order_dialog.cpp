#include "app/win/sort_order_dialog.h"

#include "app/sort_order.h"
#include "platform/win32/dialog.h"
#include "resource.h"

namespace qlx {

bool TSortOrder::ShowModal(HWND owner) {
  saved_ = false;
  dlg::RunModal(IDD_SORT_ORDER, *this, owner);
  return saved_;
}

INT_PTR TSortOrder::HandleMessage(UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG:
      FormShow();
      return TRUE;
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      if (id >= IDC_SO_LIST_1 && id < IDC_SO_LIST_1 + 3) {
        if (HIWORD(wp) == LBN_SELCHANGE) ListClick(id - IDC_SO_LIST_1);
        return TRUE;
      }
      if (id >= IDC_SO_UP_1 && id < IDC_SO_UP_1 + 3) {
        MoveButtonClick(id - IDC_SO_UP_1, -1);
        return TRUE;
      }
      if (id >= IDC_SO_DOWN_1 && id < IDC_SO_DOWN_1 + 3) {
        MoveButtonClick(id - IDC_SO_DOWN_1, +1);
        return TRUE;
      }
      if (id == IDOK) {
        OkButtonClick();
        return TRUE;
      }
      if (id == IDCANCEL) {
        ::EndDialog(hwnd_, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

void TSortOrder::FormShow() {
  digits_ = {settings_.primary_sort, settings_.activation_sort, settings_.scope_sort};
  for (int list = 0; list < 3; ++list) ShowList(list, -1);
  dlg::CentreOnScreen(hwnd_);
}

void TSortOrder::ShowList(int list, int selected) {
  const std::string& digits = digits_[static_cast<size_t>(list)];
  const std::vector<std::string> items = list == 0   ? SortItemsInOrder(digits, kPrimarySortNames)
                                         : list == 1 ? SortItemsInOrder(digits, kActivationSortNames)
                                                     : SortItemsInOrder(digits, kScopeSortNames);
  HWND box = dlg::Item(hwnd_, IDC_SO_LIST_1 + list);
  dlg::list::Clear(box);
  for (const std::string& item : items) dlg::list::Add(box, item);
  if (selected >= 0) dlg::list::Select(box, selected);
  ListClick(list);
}

void TSortOrder::ListClick(int list) {
  HWND box = dlg::Item(hwnd_, IDC_SO_LIST_1 + list);
  const int count = static_cast<int>(::SendMessageA(box, LB_GETCOUNT, 0, 0));
  const SortMoveButtons b = SortMoveButtonStates(dlg::list::Selected(box), count);
  dlg::Enable(hwnd_, IDC_SO_UP_1 + list, b.up);
  dlg::Enable(hwnd_, IDC_SO_DOWN_1 + list, b.down);
}

void TSortOrder::MoveButtonClick(int list, int delta) {
  const int selected = dlg::list::Selected(dlg::Item(hwnd_, IDC_SO_LIST_1 + list));
  if (!MoveSortItem(digits_[static_cast<size_t>(list)], selected, delta)) return;
  ShowList(list, selected + delta);
  // A button that has just been disabled would leave the focus nowhere.
  ::SetFocus(dlg::Item(hwnd_, IDC_SO_LIST_1 + list));
}

void TSortOrder::OkButtonClick() {
  settings_.primary_sort = digits_[0];
  settings_.activation_sort = digits_[1];
  settings_.scope_sort = digits_[2];
  RefreshFontStyleFlags(settings_);
  WriteSettings(profile_, settings_);
  saved_ = true;
  ::EndDialog(hwnd_, IDOK);
}

}  // namespace qlx
