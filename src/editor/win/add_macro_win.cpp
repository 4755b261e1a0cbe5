#include "editor/win/add_macro_win.h"

#include "capture/capture_complete.h"
#include "editor/win/script_editor_win.h"
#include "editor/win/text_editors_win.h"
#include "platform/win32/dialog.h"
#include "resource.h"
#include "store/macro_file.h"

namespace qlx {
namespace {

using namespace editor;

constexpr char kWarningCaption[] = "Warning";
constexpr int kSnapwordChars = 10;

void Place(HWND dialog, int id, const Box& b) { dlg::PlaceControl(dialog, id, b.left, b.top, b.width, b.height); }

}  // namespace

// ---------------------------------------------------------------- TAddNewHotKey

TAddNewHotKey::TAddNewHotKey(EditorContext& ctx, const AddMacroHooks& hooks, ActivationBlock block,
                             HWND main_window, int new_macro, MacroRecord& record)
    : ctx_(ctx),
      hooks_(hooks),
      block_(block),
      picking_(block, main_window),
      new_macro_(new_macro),
      record_(record) {}

AddOutcome TAddNewHotKey::ShowModal(HWND owner) {
  outcome_ = {};
  RunModal(IDD_ADD_NEW_HOT_KEY, owner);
  picking_.Disarm();
  return outcome_;
}

INT_PTR TAddNewHotKey::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (const std::optional<int> code = picking_.PickOf(msg, wp)) {
    HotKeyPicked(*code);
    return TRUE;
  }
  switch (msg) {
    case WM_MEASUREITEM:
      dlg::MeasureItemOf(lp).itemHeight = kHotKeyRowHeight;
      return TRUE;
    case WM_DRAWITEM: {
      const DRAWITEMSTRUCT& item = dlg::DrawItemOf(lp);
      if (item.CtlID != IDC_KEY_LIST) return FALSE;
      KeyListDrawItem(item);
      return TRUE;
    }
    case WM_DESTROY:
      picking_.Disarm();
      return FALSE;
    default:
      return FALSE;
  }
}

bool TAddNewHotKey::OnCommand(int id, int code, HWND) {
  switch (id) {
    case IDC_USE_HOT_KEY:
    case IDC_USE_SNAPWORDS:
    case IDC_TIMED_MACRO:
    case IDC_USE_POPUP:
      if (code == BN_CLICKED) TypeClick();
      return true;
    case IDC_HOT_KEY_ENTRY:
      if (code == EN_SETFOCUS) picking_.Arm(hwnd());
      if (code == EN_KILLFOCUS) picking_.Disarm();
      return true;
    case IDC_KEY_LIST:
      if (code == LBN_SELCHANGE) KeyListClick();
      return true;
    case IDC_ENTER_KEY_BUTTON: ActionClick(AddAction::EnterDirectly); return true;
    case IDC_CAPTURE_KEY_BUTTON: ActionClick(AddAction::CaptureMacro); return true;
    case IDC_SCRIPT_BUTTON: ActionClick(AddAction::ScriptingEditor); return true;
    case IDC_ADD_ABORT_BUTTON: AbortButtonClick(); return true;
    default: return false;
  }
}

void TAddNewHotKey::FormShow() {
  FormResize();
  HWND list = dlg::Item(hwnd(), IDC_KEY_LIST);
  dlg::list::SetItemHeight(list, kHotKeyRowHeight);
  dlg::list::SetRedraw(list, false);
  for (int code = 0; code < kHotKeyCodes; ++code) dlg::list::Add(list, HotKeyUsageRow(code, MacrosWithCode(block_, code)));
  dlg::list::SetRedraw(list, true);
  dlg::SetEditLimit(hwnd(), IDC_ADD_SNAPWORD_NAME, kSnapwordChars);
  in_use_ = HotKeyUseTable(block_);
  macros_exist_ = MacrosExist(block_);

  const AddFeatures features = hooks_.Features();
  dlg::Enable(hwnd(), IDC_TIMED_MACRO, TypeOffered(MacroType::Timed, features));
  dlg::Enable(hwnd(), IDC_USE_POPUP, TypeOffered(MacroType::PopupMenu, features));
  dlg::CheckRadio(hwnd(), IDC_USE_HOT_KEY, IDC_USE_POPUP, IDC_USE_HOT_KEY);
  TypeClick();
}

void TAddNewHotKey::FormResize() {
  const AddMacroLayout l = LayoutAddMacro();
  Place(hwnd(), IDC_ADD_TYPE_GROUP, l.type_group);
  Place(hwnd(), IDC_USE_HOT_KEY, l.hot_key);
  Place(hwnd(), IDC_USE_SNAPWORDS, l.snapword);
  Place(hwnd(), IDC_TIMED_MACRO, l.timed);
  Place(hwnd(), IDC_USE_POPUP, l.popup);
  Place(hwnd(), IDC_ENTER_KEY_BUTTON, l.enter);
  Place(hwnd(), IDC_CAPTURE_KEY_BUTTON, l.capture);
  Place(hwnd(), IDC_SCRIPT_BUTTON, l.script);
  Place(hwnd(), IDC_ADD_ABORT_BUTTON, l.abort);
  Place(hwnd(), IDC_HOT_KEY_ENTRY_LABEL, l.entry_label);
  Place(hwnd(), IDC_HOT_KEY_ENTRY, l.entry);
  Place(hwnd(), IDC_KEY_LIST_LABEL, l.list_label);
  Place(hwnd(), IDC_KEY_LIST, l.list);
  Place(hwnd(), IDC_ADD_SNAPWORD_LABEL, l.snapword_label);
  Place(hwnd(), IDC_ADD_SNAPWORD_NAME, l.snapword_field);
}

MacroType TAddNewHotKey::Type() const {
  switch (dlg::CheckedRadio(hwnd(), IDC_USE_HOT_KEY, IDC_USE_POPUP, IDC_USE_HOT_KEY)) {
    case IDC_USE_SNAPWORDS: return MacroType::Snapword;
    case IDC_TIMED_MACRO: return MacroType::Timed;
    case IDC_USE_POPUP: return MacroType::PopupMenu;
    default: return MacroType::HotKey;
  }
}

void TAddNewHotKey::TypeClick() {
  const AddTypeView v = ViewOfType(Type(), hooks_.Features());
  for (int id : {IDC_HOT_KEY_ENTRY_LABEL, IDC_HOT_KEY_ENTRY, IDC_KEY_LIST_LABEL, IDC_KEY_LIST})
    dlg::Show(hwnd(), id, v.hot_key_controls);
  for (int id : {IDC_ADD_SNAPWORD_LABEL, IDC_ADD_SNAPWORD_NAME}) dlg::Show(hwnd(), id, v.snapword_controls);
  dlg::Enable(hwnd(), IDC_ENTER_KEY_BUTTON, v.enter_enabled);
  dlg::Enable(hwnd(), IDC_CAPTURE_KEY_BUTTON, v.capture_enabled);
  dlg::Enable(hwnd(), IDC_SCRIPT_BUTTON, v.script_enabled);
  dlg::SetText(hwnd(), IDC_ENTER_KEY_BUTTON, std::string(v.enter_caption));
  dlg::SetClientSize(hwnd(), kAddMacroClientWidth, v.client_height);
  if (v.hot_key_controls) dlg::Focus(hwnd(), IDC_HOT_KEY_ENTRY);
  else picking_.Disarm();
  if (v.snapword_controls) dlg::Focus(hwnd(), IDC_ADD_SNAPWORD_NAME);
}

std::optional<int> TAddNewHotKey::SelectedCode() const {
  const int line = dlg::list::Selected(dlg::Item(hwnd(), IDC_KEY_LIST));
  if (line < 0 || line >= kHotKeyCodes) return std::nullopt;
  return line;
}

void TAddNewHotKey::KeyListClick() {
  if (const std::optional<int> code = SelectedCode())
    dlg::SetText(hwnd(), IDC_HOT_KEY_ENTRY, std::string(HotKeyName(*code)));
}

void TAddNewHotKey::HotKeyPicked(int code) {
  HWND list = dlg::Item(hwnd(), IDC_KEY_LIST);
  dlg::list::Select(list, code);
  dlg::SetText(hwnd(), IDC_HOT_KEY_ENTRY, std::string(HotKeyName(code)));
}

void TAddNewHotKey::KeyListDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1)) return;
  HDC dc = item.hDC;
  const RECT& r = item.rcItem;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  ::FillRect(dc, &r, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  const HotKeyRowColumns columns =
      SplitHotKeyRow(dlg::list::Text(item.hwndItem, static_cast<int>(item.itemID)));
  RECT name = r;
  name.left += 2;
  ::DrawTextA(dc, columns.name.c_str(), static_cast<int>(columns.name.size()), &name,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  RECT usage = r;
  usage.left = r.left + UsageColumnLeft(r.right - r.left);
  ::DrawTextA(dc, columns.usage.c_str(), static_cast<int>(columns.usage.size()), &usage,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (item.itemState & ODS_FOCUS) ::DrawFocusRect(dc, &r);
}

void TAddNewHotKey::ActionClick(AddAction action) {
  const MacroType type = Type();
  const std::optional<int> code = SelectedCode();
  const std::string snapword = dlg::GetText(hwnd(), IDC_ADD_SNAPWORD_NAME);
  const AddVerdict verdict = CheckAddAction(type, action, code, snapword, in_use_, macros_exist_);
  switch (verdict.kind) {
    case AddVerdict::Kind::Refuse:
      dlg::ShowMessage(hwnd(), kErrorCaption, verdict.text);
      if (verdict.focus_snapword) dlg::Focus(hwnd(), IDC_ADD_SNAPWORD_NAME);
      return;
    case AddVerdict::Kind::AskReserved:
      if (!dlg::AskYesNo(hwnd(), kWarningCaption, verdict.text)) return;
      break;
    case AddVerdict::Kind::Accept:
      break;
  }
  const int key = code.value_or(0);
  PrepareAddedMacro(record_, type, key, snapword, CivilDateFromDays(ctx_.clock.Now()));
  picking_.Disarm();

  AddOutcome outcome;
  if (type == MacroType::PopupMenu) {
    if (hooks_.build_popup_menu) outcome = hooks_.build_popup_menu(hwnd(), record_, key);
  } else if (action == AddAction::CaptureMacro) {
    const bool key_in_use = type == MacroType::HotKey && in_use_.test(static_cast<size_t>(key));
    if (hooks_.capture_macro)
      outcome = hooks_.capture_macro(hwnd(), record_, {new_macro_, CaptureTitle(type, key, snapword), key_in_use});
  } else {
    EditRequest request{record_, /*existing*/ false, GlobalNotAllowed(type, key, in_use_)};
    if (action == AddAction::EnterDirectly) {
      TModHotKeys editor(ctx_, request);
      outcome.saved = editor.Execute(hwnd());
    } else {
      TDoScripting editor(ctx_, request);
      outcome.saved = editor.Execute(hwnd());
    }
  }
  Finish(outcome);
}

void TAddNewHotKey::AbortButtonClick() { Finish({}); }

void TAddNewHotKey::Finish(AddOutcome outcome) {
  outcome_ = outcome;
  picking_.Disarm();
  End(outcome.saved ? IDOK : IDCANCEL);
}

// ---------------------------------------------------------------- TDoWizard

void TDoWizard::ShowModal(HWND owner) { RunModal(IDD_DO_WIZARD, owner); }

bool TDoWizard::OnCommand(int id, int, HWND) {
  if (id >= IDC_WIZARD_TASK_FIRST && id <= IDC_WIZARD_TASK_LAST) {
    TaskClick(static_cast<size_t>(id - IDC_WIZARD_TASK_FIRST));
    return true;
  }
  if (id != IDC_WIZARD_EXIT) return false;
  FormClose();
  return true;
}

void TDoWizard::OnHelp() { dlg::OpenHelp(hwnd(), ctx_.program_dir, kWizardHelpKeyword); }

void TDoWizard::FormShow() {
  static_assert(IDC_WIZARD_TASK_LAST - IDC_WIZARD_TASK_FIRST + 1 == kWizardTasks.size());
  for (size_t i = 0; i < kWizardTasks.size(); ++i)
    dlg::SetText(hwnd(), IDC_WIZARD_TASK_FIRST + static_cast<int>(i), std::string(kWizardTasks[i].label));
}

void TDoWizard::TaskClick(size_t task) {
  if (task >= kWizardTasks.size()) return;
  if (!editor_.AddCommand(WizardCommand(kWizardTasks[task]), InsertMode::Append, hwnd())) return;
  if (!dlg::AskYesNo(hwnd(), kWizardAddedCaption, kWizardContinue)) End(IDOK);
}

}  // namespace qlx
