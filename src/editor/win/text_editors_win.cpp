#include "editor/win/text_editors_win.h"

#include "editor/direct_editing.h"
#include "editor/script_text.h"
#include "editor/win/command_dialogs_win.h"
#include "platform/win32/dialog.h"
#include "resource.h"
#include "store/macro_file.h"

namespace qlx {
namespace {

using namespace editor;

bool Down(int vk) { return (::GetKeyState(vk) & 0x8000) != 0; }

bool IsKeyboardMessage(UINT msg) { return msg >= WM_KEYFIRST && msg <= WM_KEYLAST; }
bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST; }

}  // namespace

// ---- TokenTextEditor ----------------------------------------------------------

TokenTextEditor::TokenTextEditor(EditorContext& ctx, std::string help_keyword)
    : ctx_(ctx), help_keyword_(std::move(help_keyword)) {}

TokenTextEditor::~TokenTextEditor() {
  if (hook_removed_ && ctx_.restore_keyboard_hook) ctx_.restore_keyboard_hook();
}

bool TokenTextEditor::OpenWindow(int template_id, HWND owner) {
  accelerators_ = ::LoadAcceleratorsA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_EDITOR_ACCELERATORS));
  if (ctx_.remove_keyboard_hook) {
    ctx_.remove_keyboard_hook();
    hook_removed_ = true;
  }
  return OpenOwnModal(template_id, owner);
}

bool TokenTextEditor::RunWindow() {
  RunOwnModal();
  if (hook_removed_ && ctx_.restore_keyboard_hook) ctx_.restore_keyboard_hook();
  hook_removed_ = false;
  return accepted_;
}

void TokenTextEditor::Close(bool accepted) {
  accepted_ = accepted;
  End(accepted ? IDOK : IDCANCEL);
}

void TokenTextEditor::SetTextBox(const std::string& text) {
  // The text box has no length limit of its own.
  dlg::SetEditLimit(hwnd(), IDC_NEW_FORMAT, 0);
  dlg::SetText(text_box_, text);
}

std::string TokenTextEditor::TakeText() const { return ReplaceTabs(dlg::GetText(text_box_)); }

void TokenTextEditor::FillMiscBox() {
  HWND box = dlg::Item(hwnd(), IDC_MISC_BOX);
  for (const KeyEntry& k : kMiscKeys) dlg::combo::Add(box, std::string(k.label));
  dlg::combo::Select(box, 0);
}

void TokenTextEditor::RememberCaret() {
  if (::GetFocus() != text_box_) return;
  const dlg::Selection sel = dlg::GetSelection(text_box_);
  if (sel.start == sel.end) {
    remembered_caret_ = sel.start;
    return;
  }
  POINT p;
  if (!::GetCaretPos(&p)) return;
  remembered_caret_ = dlg::CharFromPos(text_box_, p) == sel.start ? sel.start : sel.end;
}

size_t TokenTextEditor::CaretForInsert() const {
  const dlg::Selection sel = dlg::GetSelection(text_box_);
  if (sel.start == sel.end) return static_cast<size_t>(sel.start);
  // A selection keeps its text; the token goes where the caret was.
  if (remembered_caret_ == sel.start) return static_cast<size_t>(sel.start);
  return static_cast<size_t>(sel.end);
}

void TokenTextEditor::InsertToken(std::string_view token) {
  if (token.empty()) return;
  const auto at = InsertAt(static_cast<size_t>(dlg::TextLength(text_box_)), CaretForInsert(), token);
  if (!at) {
    dlg::ShowMessage(hwnd(), kErrorCaption, kTextTooLong);
    return;
  }
  // SetFocus, not the dialog's focus move: that would select the whole text.
  ::SetFocus(text_box_);
  dlg::SetSelection(text_box_, static_cast<int>(at->caret), static_cast<int>(at->caret));
  dlg::ReplaceSelection(text_box_, std::string(token));
  dlg::SetSelection(text_box_, static_cast<int>(at->caret_after), static_cast<int>(at->caret_after));
  dlg::ScrollCaret(text_box_);
  remembered_caret_ = static_cast<int>(at->caret_after);
}

void TokenTextEditor::KeyButtonClick(int index) {
  if (index >= 0 && index < static_cast<int>(kKeyButtons.size()))
    InsertToken(kKeyButtons[static_cast<size_t>(index)].Token());
}

void TokenTextEditor::MiscOkClick() {
  const int i = dlg::combo::Selected(dlg::Item(hwnd(), IDC_MISC_BOX));
  if (i >= 0 && i < static_cast<int>(kMiscKeys.size())) InsertToken(kMiscKeys[static_cast<size_t>(i)].Token());
}

void TokenTextEditor::EditMenuClick(int id) {
  // Only a text field of this window; nothing for other controls.
  HWND target = ::GetFocus();
  if (!target || !::IsChild(hwnd(), target) || !dlg::IsEdit(target)) return;
  switch (id) {
    case IDM_EDIT_CUT: dlg::Cut(target); break;
    case IDM_EDIT_COPY: dlg::Copy(target); break;
    case IDM_EDIT_PASTE: dlg::Paste(target); break;
    case IDM_EDIT_DELETE: dlg::Clear(target); break;
    default: break;
  }
}

void TokenTextEditor::OnHelp() { dlg::OpenHelp(hwnd(), ctx_.program_dir, help_keyword_); }

bool TokenTextEditor::PreviewMessage(MSG& msg) {
  if (!hwnd() || (msg.hwnd != hwnd() && !::IsChild(hwnd(), msg.hwnd))) return false;
  if (accelerators_ && ::TranslateAcceleratorA(hwnd(), accelerators_, &msg)) return true;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
    Close(false);  // Esc closes without saving, even after changes
    return true;
  }
  if (msg.hwnd == text_box_) {
    if (msg.message == WM_KEYDOWN && Down(VK_CONTROL)) return true;  // Ctrl keys are swallowed
    if (IsKeyboardMessage(msg.message) || IsMouseMessage(msg.message)) {
      // Handled here so the caret can be read while the box still has it.
      if (!::IsDialogMessageA(hwnd(), &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
      }
      RememberCaret();
      return true;
    }
  }
  return false;
}

void TokenTextEditor::FormShow() {
  text_box_ = dlg::Item(hwnd(), IDC_NEW_FORMAT);
  FillMiscBox();
}

INT_PTR TokenTextEditor::OnMessage(UINT msg, WPARAM wp, LPARAM) {
  if (msg == WM_CONTEXTMENU) return ContextMenu(dlg::WindowOf(wp)) ? TRUE : FALSE;
  return FALSE;
}

bool TokenTextEditor::OnCommand(int id, int code, HWND) {
  if (id >= IDC_KEY_FIRST && id <= IDC_KEY_LAST) {
    KeyButtonClick(id - IDC_KEY_FIRST);
    return true;
  }
  switch (id) {
    case IDC_UPDATE_BUTTON:
    case IDM_FILE_UPDATE:
      UpdateButtonClick();
      return true;
    case IDM_FILE_EXIT: Close(false); return true;
    case IDC_MISC_OK: MiscOkClick(); return true;
    case IDM_EDIT_CUT:
    case IDM_EDIT_COPY:
    case IDM_EDIT_PASTE:
    case IDM_EDIT_DELETE:
      EditMenuClick(id);
      return true;
    case IDOK:
    case IDCANCEL:
    case IDHELP:
      return false;  // the base's
    default:
      return OtherCommand(id, code);
  }
}

// ---- TModText ---------------------------------------------------------------------

bool TModText::Execute(HWND owner) { return OpenWindow(IDD_MOD_TEXT, owner) && RunWindow(); }

void TModText::FormShow() {
  TokenTextEditor::FormShow();
  SetTextBox(text_);
  ::SetFocus(text_box_);
}

void TModText::UpdateButtonClick() {
  std::string text = TakeText();
  if (text.size() > kMacroTextLimit) {
    dlg::ShowMessage(hwnd(), kErrorCaption, TruncationMessage());
    text.resize(kMacroTextLimit);
  }
  text_ = std::move(text);
  Close(true);
}

bool TModText::OtherCommand(int id, int) {
  if (id != IDC_ACTION_SYMBOLS) return false;
  InsertToken(RunActionDialog(ctx_, hwnd(), id));
  return true;
}

// ---- TModHotKeys ----------------------------------------------------------------------

TModHotKeys::TModHotKeys(EditorContext& ctx, EditRequest request)
    : TokenTextEditor(ctx, "Modify Hot Key"), fields_(ctx, request, kDirectEditorCaption) {}

bool TModHotKeys::Open(HWND owner) { return OpenWindow(IDD_MOD_HOT_KEYS, owner); }

void TModHotKeys::FormShow() {
  TokenTextEditor::FormShow();
  SetTextBox(fields_.working().Text());
  fields_.FormShow(hwnd());
}

void TModHotKeys::UpdateButtonClick() {
  if (!fields_.CheckSnapword()) return;
  fields_.Accept(TakeText());
  Close(true);
}

bool TModHotKeys::OtherCommand(int id, int code) {
  if (id >= IDC_ACTION_DATE && id <= IDC_ACTION_FILES) {
    InsertToken(RunActionDialog(ctx_, hwnd(), id));
    return true;
  }
  return fields_.Command(id, code);
}

bool TModHotKeys::ContextMenu(HWND control) { return fields_.ContextMenu(control); }

}  // namespace qlx
