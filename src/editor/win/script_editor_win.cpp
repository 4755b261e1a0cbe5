#include "editor/win/script_editor_win.h"

#include <algorithm>

#include "editor/script_text.h"
#include "editor/win/command_dialogs_win.h"
#include "platform/win32/dialog.h"
#include "resource.h"
#include "store/macro_file.h"

namespace qlx {
namespace {

using namespace editor;

// The buttons in the order the layout places them.
constexpr int kButtonIds[] = {IDC_ADD_BUTTON, IDC_INSERT_BEFORE, IDC_INSERT_AFTER, IDC_WIZARD,
                              IDC_DO_UP,      IDC_DO_DOWN,       IDC_DO_EDIT,      IDC_DO_COPY,
                              IDC_DO_DELETE,  IDOK,              IDCANCEL,         IDHELP};

void Place(HWND dialog, int id, const Box& b) { dlg::PlaceControl(dialog, id, b.left, b.top, b.width, b.height); }

}  // namespace

TDoScripting::TDoScripting(EditorContext& ctx, EditRequest request)
    : ctx_(ctx), fields_(ctx, request, kScriptEditorCaption) {
  if (request.existing) script_.Load(request.record.Text());
}

bool TDoScripting::Open(HWND owner) { return OpenOwnModal(IDD_DO_SCRIPTING, owner); }

bool TDoScripting::Run() {
  RunOwnModal();
  return accepted_;
}

void TDoScripting::FormShow() {
  const Settings& s = ctx_.settings;
  const int width = std::max(static_cast<int>(s.script_width), kScriptEditorMinWidth);
  const int height = std::max(static_cast<int>(s.script_height), kScriptEditorMinHeight);
  ::SetWindowPos(hwnd(), nullptr, s.script_left, s.script_top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

  HWND options = dlg::Item(hwnd(), IDC_OPTION_BOX);
  for (const ScriptCommand& c : kScriptCommands) dlg::list::AddWithData(options, std::string(c.name), c.number);
  fields_.FormShow(hwnd());
  dlg::Enable(hwnd(), IDC_WIZARD, ctx_.command_wizard != nullptr);
  FillScript();
  FormResize();
}

void TDoScripting::FormResize() {
  RECT client, window;
  ::GetClientRect(hwnd(), &client);
  ::GetWindowRect(hwnd(), &window);
  const ScriptEditorLayout l = LayoutScriptEditor(client.right, client.bottom, window.right - window.left);
  Place(hwnd(), IDC_NICKNAME_LABEL, l.nickname_label);
  Place(hwnd(), IDC_NICKNAME, l.nickname);
  Place(hwnd(), IDC_GLOBAL, l.global);
  Place(hwnd(), IDC_SPECIFIC, l.specific);
  Place(hwnd(), IDC_PROG_EXE, l.prog_exe);
  Place(hwnd(), IDC_CHOOSE_WIN_PROG, l.choose);
  Place(hwnd(), IDC_HOT_KEY_LABEL, l.hot_key_label);
  Place(hwnd(), IDC_TIMER_LABEL, l.timer_label);
  Place(hwnd(), IDC_SET_SCHEDULE, l.schedule);
  Place(hwnd(), IDC_SNAPWORD_NAME, l.snapword);
  Place(hwnd(), IDC_ICON_LABEL, l.icon_label);
  Place(hwnd(), IDC_MY_SPEED, l.icon);
  Place(hwnd(), IDC_COMMANDS_LABEL, l.commands_label);
  Place(hwnd(), IDC_OPTION_BOX, l.option_box);
  Place(hwnd(), IDC_SCRIPT_LABEL, l.script_label);
  Place(hwnd(), IDC_SCRIPT, l.script);
  for (size_t i = 0; i < l.buttons.size(); ++i) Place(hwnd(), kButtonIds[i], l.buttons[i]);
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void TDoScripting::FormClose(bool accepted) {
  RECT r;
  ::GetWindowRect(hwnd(), &r);
  Settings& s = ctx_.settings;
  s.script_left = r.left;
  s.script_top = r.top;
  s.script_width = r.right - r.left;
  s.script_height = r.bottom - r.top;
  accepted_ = accepted;
  End(accepted ? IDOK : IDCANCEL);
}

void TDoScripting::FillScript() {
  HWND list = dlg::Item(hwnd(), IDC_SCRIPT);
  const int top = dlg::list::Top(list);
  dlg::list::SetRedraw(list, false);
  dlg::list::Clear(list);
  HDC dc = ::GetDC(list);
  HGDIOBJ old = ::SelectObject(dc, dlg::GetFont(list));
  int widest = 0;
  for (const ScriptLine& line : script_.lines()) {
    dlg::list::Add(list, line.text);
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, line.text.c_str(), static_cast<int>(line.text.size()), &extent);
    widest = std::max(widest, static_cast<int>(extent.cx));
  }
  ::SelectObject(dc, old);
  ::ReleaseDC(list, dc);
  dlg::list::SetHorizontalExtent(list, widest + 8);
  dlg::list::SetTop(list, top);
  dlg::list::Select(list, script_.selected());
  dlg::list::SetRedraw(list, true);
  ::InvalidateRect(list, nullptr, TRUE);
  UpdateButtons();
}

void TDoScripting::UpdateButtons() {
  const ScriptButtons b = script_.Buttons();
  dlg::Enable(hwnd(), IDC_DO_UP, b.up);
  dlg::Enable(hwnd(), IDC_DO_DOWN, b.down);
  dlg::Enable(hwnd(), IDC_DO_COPY, b.copy);
  dlg::Enable(hwnd(), IDC_DO_EDIT, b.edit);
  dlg::Enable(hwnd(), IDC_DO_DELETE, b.remove);
}

void TDoScripting::ScriptSelChange() {
  script_.Select(dlg::list::Selected(dlg::Item(hwnd(), IDC_SCRIPT)));
  UpdateButtons();
}

bool TDoScripting::AddCommand(int command, InsertMode mode, HWND dialog_owner) {
  const int current = script_.CurrentIndex();
  const std::optional<Params> params = RunCommandDialog(ctx_, dialog_owner ? dialog_owner : hwnd(), command, nullptr);
  if (!params) return false;
  script_.Add(mode, current, LineFromDialog(*params));
  FillScript();
  return true;
}

void TDoScripting::AddButtonClick(InsertMode mode) {
  HWND options = dlg::Item(hwnd(), IDC_OPTION_BOX);
  const int chosen = dlg::list::Selected(options);
  if (chosen < 0) {
    dlg::ShowMessage(hwnd(), kErrorCaption, kNoCommandSelected);
    return;
  }
  AddCommand(static_cast<int>(dlg::list::Data(options, chosen)), mode);
}

void TDoScripting::DoEditClick() {
  const ScriptLine* line = script_.SelectedLine();
  if (!line) {
    dlg::ShowMessage(hwnd(), kErrorCaption, kNoItemSelected);
    return;
  }
  const ScriptCommand* command = CommandOfLine(line->text);
  if (!command) return;
  const int index = script_.selected();
  std::optional<Params> params = RunCommandDialog(ctx_, hwnd(), command->number, &line->params);
  if (!params) return;
  script_.Edit(index, std::move(*params));
  FillScript();
}

void TDoScripting::DoCopyClick() {
  if (!script_.SelectedLine()) {
    dlg::ShowMessage(hwnd(), kErrorCaption, kNoScriptLineSelected);
    return;
  }
  script_.Copy();
  FillScript();
}

void TDoScripting::DoDeleteClick() {
  if (!script_.SelectedLine()) {
    dlg::ShowMessage(hwnd(), kErrorCaption, kNoScriptLineSelected);
    return;
  }
  script_.Delete();
  FillScript();
}

void TDoScripting::DoUpClick() {
  script_.MoveUp();
  FillScript();
}

void TDoScripting::DoDownClick() {
  script_.MoveDown();
  FillScript();
}

void TDoScripting::WizardClick() {
  if (ctx_.command_wizard) ctx_.command_wizard(hwnd(), *this);
}

void TDoScripting::OnHelp() { dlg::OpenHelp(hwnd(), ctx_.program_dir, "Scripting Editor"); }

bool TDoScripting::OkButtonClick() {
  if (!fields_.CheckSnapword()) return false;
  fields_.Accept(script_.Write());
  FormClose(true);
  return false;  // FormClose ended the editor
}

bool TDoScripting::PreviewMessage(MSG& msg) {
  if (!hwnd() || msg.message != WM_SYSKEYDOWN) return false;
  if (msg.hwnd != hwnd() && !::IsChild(hwnd(), msg.hwnd)) return false;
  switch (msg.wParam) {
    case 'Z':
      if (dlg::IsEnabled(hwnd(), IDC_WIZARD)) WizardClick();
      return true;
    case 'M':
      dlg::Focus(hwnd(), IDC_OPTION_BOX);
      return true;
    case 'S':
      dlg::Focus(hwnd(), IDC_SCRIPT);
      return true;
    default:
      return false;
  }
}

INT_PTR TDoScripting::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      FormResize();
      return TRUE;
    case WM_GETMINMAXINFO: {
      MINMAXINFO& m = dlg::MinMaxInfoOf(lp);
      m.ptMinTrackSize.x = kScriptEditorMinWidth;
      m.ptMinTrackSize.y = kScriptEditorMinHeight;
      return TRUE;
    }
    case WM_CONTEXTMENU:
      return fields_.ContextMenu(dlg::WindowOf(wp)) ? TRUE : FALSE;
    default:
      return FALSE;
  }
}

bool TDoScripting::OnCommand(int id, int code, HWND) {
  switch (id) {
    case IDC_ADD_BUTTON: AddButtonClick(InsertMode::Append); return true;
    case IDC_INSERT_BEFORE: AddButtonClick(InsertMode::Before); return true;
    case IDC_INSERT_AFTER: AddButtonClick(InsertMode::After); return true;
    case IDC_DO_EDIT: DoEditClick(); return true;
    case IDC_DO_COPY: DoCopyClick(); return true;
    case IDC_DO_DELETE: DoDeleteClick(); return true;
    case IDC_DO_UP: DoUpClick(); return true;
    case IDC_DO_DOWN: DoDownClick(); return true;
    case IDC_WIZARD: WizardClick(); return true;
    case IDC_OPTION_BOX:
      if (code == LBN_DBLCLK) AddButtonClick(InsertMode::Append);
      return true;
    case IDC_SCRIPT:
      if (code == LBN_SELCHANGE) ScriptSelChange();
      if (code == LBN_DBLCLK) DoEditClick();
      return true;
    case IDOK:
    case IDCANCEL:
    case IDHELP:
      return false;  // the base's
    default:
      return fields_.Command(id, code);
  }
}

}  // namespace qlx
