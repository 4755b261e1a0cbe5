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

bool TDoScripting::Open(HWND owner) {
  owner_ = owner;
  return dlg::OpenOwnModal(IDD_DO_SCRIPTING, *this, owner);
}

bool TDoScripting::Run() {
  dlg::RunOwnModal(*this, owner_, done_);
  hwnd_ = nullptr;
  return accepted_;
}

void TDoScripting::FormShow() {
  const Settings& s = ctx_.settings;
  const int width = std::max(static_cast<int>(s.script_width), kScriptEditorMinWidth);
  const int height = std::max(static_cast<int>(s.script_height), kScriptEditorMinHeight);
  ::SetWindowPos(hwnd_, nullptr, s.script_left, s.script_top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  dlg::CentreOnScreen(hwnd_);

  HWND options = dlg::Item(hwnd_, IDC_OPTION_BOX);
  for (const ScriptCommand& c : kScriptCommands) dlg::list::AddWithData(options, std::string(c.name), c.number);
  fields_.FormShow(hwnd_);
  dlg::Enable(hwnd_, IDC_WIZARD, ctx_.command_wizard != nullptr);
  FillScript();
  FormResize();
}

void TDoScripting::FormResize() {
  RECT client, window;
  ::GetClientRect(hwnd_, &client);
  ::GetWindowRect(hwnd_, &window);
  const ScriptEditorLayout l = LayoutScriptEditor(client.right, client.bottom, window.right - window.left);
  Place(hwnd_, IDC_NICKNAME_LABEL, l.nickname_label);
  Place(hwnd_, IDC_NICKNAME, l.nickname);
  Place(hwnd_, IDC_GLOBAL, l.global);
  Place(hwnd_, IDC_SPECIFIC, l.specific);
  Place(hwnd_, IDC_PROG_EXE, l.prog_exe);
  Place(hwnd_, IDC_CHOOSE_WIN_PROG, l.choose);
  Place(hwnd_, IDC_HOT_KEY_LABEL, l.hot_key_label);
  Place(hwnd_, IDC_TIMER_LABEL, l.timer_label);
  Place(hwnd_, IDC_SET_SCHEDULE, l.schedule);
  Place(hwnd_, IDC_SNAPWORD_NAME, l.snapword);
  Place(hwnd_, IDC_ICON_LABEL, l.icon_label);
  Place(hwnd_, IDC_MY_SPEED, l.icon);
  Place(hwnd_, IDC_COMMANDS_LABEL, l.commands_label);
  Place(hwnd_, IDC_OPTION_BOX, l.option_box);
  Place(hwnd_, IDC_SCRIPT_LABEL, l.script_label);
  Place(hwnd_, IDC_SCRIPT, l.script);
  for (size_t i = 0; i < l.buttons.size(); ++i) Place(hwnd_, kButtonIds[i], l.buttons[i]);
  ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void TDoScripting::FormClose(bool accepted) {
  RECT r;
  ::GetWindowRect(hwnd_, &r);
  Settings& s = ctx_.settings;
  s.script_left = r.left;
  s.script_top = r.top;
  s.script_width = r.right - r.left;
  s.script_height = r.bottom - r.top;
  accepted_ = accepted;
  done_ = true;
}

void TDoScripting::FillScript() {
  HWND list = dlg::Item(hwnd_, IDC_SCRIPT);
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
  dlg::Enable(hwnd_, IDC_DO_UP, b.up);
  dlg::Enable(hwnd_, IDC_DO_DOWN, b.down);
  dlg::Enable(hwnd_, IDC_DO_COPY, b.copy);
  dlg::Enable(hwnd_, IDC_DO_EDIT, b.edit);
  dlg::Enable(hwnd_, IDC_DO_DELETE, b.remove);
}

void TDoScripting::ScriptSelChange() {
  script_.Select(dlg::list::Selected(dlg::Item(hwnd_, IDC_SCRIPT)));
  UpdateButtons();
}

bool TDoScripting::AddCommand(int command, InsertMode mode, HWND dialog_owner) {
  const int current = script_.CurrentIndex();
  const std::optional<Params> params = RunCommandDialog(ctx_, dialog_owner ? dialog_owner : hwnd_, command, nullptr);
  if (!params) return false;
  script_.Add(mode, current, LineFromDialog(*params));
  FillScript();
  return true;
}

void TDoScripting::AddButtonClick(InsertMode mode) {
  HWND options = dlg::Item(hwnd_, IDC_OPTION_BOX);
  const int chosen = dlg::list::Selected(options);
  if (chosen < 0) {
    dlg::ShowMessage(hwnd_, kErrorCaption, kNoCommandSelected);
    return;
  }
  AddCommand(static_cast<int>(dlg::list::Data(options, chosen)), mode);
}

void TDoScripting::DoEditClick() {
  const ScriptLine* line = script_.SelectedLine();
  if (!line) {
    dlg::ShowMessage(hwnd_, kErrorCaption, kNoItemSelected);
    return;
  }
  const ScriptCommand* command = CommandOfLine(line->text);
  if (!command) return;
  const int index = script_.selected();
  std::optional<Params> params = RunCommandDialog(ctx_, hwnd_, command->number, &line->params);
  if (!params) return;
  script_.Edit(index, std::move(*params));
  FillScript();
}

void TDoScripting::DoCopyClick() {
  if (!script_.SelectedLine()) {
    dlg::ShowMessage(hwnd_, kErrorCaption, kNoScriptLineSelected);
    return;
  }
  script_.Copy();
  FillScript();
}

void TDoScripting::DoDeleteClick() {
  if (!script_.SelectedLine()) {
    dlg::ShowMessage(hwnd_, kErrorCaption, kNoScriptLineSelected);
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
  if (ctx_.command_wizard) ctx_.command_wizard(hwnd_, *this);
}

void TDoScripting::HelpButtonClick() { dlg::OpenHelp(hwnd_, ctx_.program_dir, "Scripting Editor"); }

void TDoScripting::OkButtonClick() {
  if (!fields_.CheckSnapword()) return;
  fields_.Accept(script_.Write());
  FormClose(true);
}

bool TDoScripting::PreviewMessage(MSG& msg) {
  if (!hwnd_ || msg.message != WM_SYSKEYDOWN) return false;
  if (msg.hwnd != hwnd_ && !::IsChild(hwnd_, msg.hwnd)) return false;
  switch (msg.wParam) {
    case 'Z':
      if (dlg::IsEnabled(hwnd_, IDC_WIZARD)) WizardClick();
      return true;
    case 'M':
      dlg::Focus(hwnd_, IDC_OPTION_BOX);
      return true;
    case 'S':
      dlg::Focus(hwnd_, IDC_SCRIPT);
      return true;
    default:
      return false;
  }
}

INT_PTR TDoScripting::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      FormShow();
      return FALSE;  // the nickname has the focus
    case WM_SIZE:
      FormResize();
      return TRUE;
    case WM_GETMINMAXINFO: {
      MINMAXINFO& m = dlg::MinMaxInfoOf(lp);
      m.ptMinTrackSize.x = kScriptEditorMinWidth;
      m.ptMinTrackSize.y = kScriptEditorMinHeight;
      return TRUE;
    }
    case WM_CLOSE:
      FormClose(false);
      return TRUE;
    case WM_CONTEXTMENU:
      return fields_.ContextMenu(dlg::WindowOf(wp)) ? TRUE : FALSE;
    case WM_COMMAND: {
      const dlg::Command c = dlg::DecodeCommand(wp, lp);
      switch (c.id) {
        case IDOK: OkButtonClick(); return TRUE;
        case IDCANCEL: FormClose(false); return TRUE;
        case IDC_ADD_BUTTON: AddButtonClick(InsertMode::Append); return TRUE;
        case IDC_INSERT_BEFORE: AddButtonClick(InsertMode::Before); return TRUE;
        case IDC_INSERT_AFTER: AddButtonClick(InsertMode::After); return TRUE;
        case IDC_DO_EDIT: DoEditClick(); return TRUE;
        case IDC_DO_COPY: DoCopyClick(); return TRUE;
        case IDC_DO_DELETE: DoDeleteClick(); return TRUE;
        case IDC_DO_UP: DoUpClick(); return TRUE;
        case IDC_DO_DOWN: DoDownClick(); return TRUE;
        case IDC_WIZARD: WizardClick(); return TRUE;
        case IDHELP: HelpButtonClick(); return TRUE;
        case IDC_OPTION_BOX:
          if (c.code == LBN_DBLCLK) AddButtonClick(InsertMode::Append);
          return TRUE;
        case IDC_SCRIPT:
          if (c.code == LBN_SELCHANGE) ScriptSelChange();
          if (c.code == LBN_DBLCLK) DoEditClick();
          return TRUE;
        default:
          return fields_.Command(c.id, c.code) ? TRUE : FALSE;
      }
    }
    default:
      return FALSE;
  }
}

}  // namespace qlx
