#include "editor/win/macro_fields_win.h"

#include "editor/popup_menu.h"
#include "editor/script_text.h"
#include "editor/text_util.h"
#include "editor/win/command_dialogs_win.h"
#include "platform/win32/icon_folder_win32.h"
#include "resource.h"
#include "store/macro_file.h"

namespace qlx {
namespace {

using namespace editor;

constexpr int kNicknameChars = 50;
constexpr int kSnapwordChars = 10;
constexpr int kIconPixels = 32;

bool FileThere(const std::string& path) {
  const DWORD a = ::GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

MacroFields::MacroFields(EditorContext& ctx, const EditRequest& request, const char* caption_base)
    : ctx_(ctx),
      target_(request.record),
      working_(request.record),
      existing_(request.existing),
      global_not_allowed_(request.global_not_allowed),
      caption_base_(caption_base),
      mode_(ModeOfCode(request.record.Code())) {}

ScopeChoice MacroFields::Scope() const {
  if (dlg::IsChecked(dialog_, IDC_GLOBAL)) return ScopeChoice::Global;
  if (dlg::IsChecked(dialog_, IDC_SPECIFIC)) return ScopeChoice::Window;
  return ScopeChoice::Program;
}

void MacroFields::FormShow(HWND dialog) {
  dialog_ = dialog;
  dlg::SetEditLimit(dialog_, IDC_NICKNAME, kNicknameChars);
  dlg::SetEditLimit(dialog_, IDC_SNAPWORD_NAME, kSnapwordChars);
  ScopeChoice scope = ScopeChoice::Global;
  if (existing_) {
    dlg::SetText(dialog_, IDC_NICKNAME, working_.Nickname());
    scope = ScopeChoiceOf(working_.Scope());
    const std::string icon = working_.Icon();
    const bool have = icon != kMainIcon && FileThere(IconFile(ctx_.program_dir, icon));
    ShowIcon(have ? icon : std::string(kMainIcon));
  } else {
    PrepareNewMacro(working_, CivilDateFromDays(ctx_.clock.Now()));
    ShowIcon(kMainIcon);
  }
  if (global_not_allowed_ && scope == ScopeChoice::Global) scope = ScopeChoice::Window;
  dlg::CheckRadio(dialog_, IDC_GLOBAL, IDC_PROG_EXE, IDC_GLOBAL + static_cast<int>(scope) - 1);
  dlg::Enable(dialog_, IDC_GLOBAL, !global_not_allowed_);
  dlg::Enable(dialog_, IDC_CHOOSE_WIN_PROG, scope != ScopeChoice::Global);

  const ActivationPanel panel = PanelFor(mode_, working_.Code());
  dlg::Show(dialog_, IDC_HOT_KEY_LABEL, panel.hot_key_label);
  dlg::Show(dialog_, IDC_TIMER_LABEL, panel.timer_label);
  dlg::Show(dialog_, IDC_SET_SCHEDULE, panel.schedule_button);
  dlg::Show(dialog_, IDC_SNAPWORD_NAME, panel.snapword_field);
  dlg::SetText(dialog_, panel.hot_key_label ? IDC_HOT_KEY_LABEL : IDC_TIMER_LABEL, panel.label_text);
  dlg::Enable(dialog_, IDC_SET_SCHEDULE, panel.schedule_button && ctx_.set_schedule != nullptr);
  if (panel.snapword_field) dlg::SetText(dialog_, IDC_SNAPWORD_NAME, working_.Snapword());
  dlg::Focus(dialog_, IDC_NICKNAME);
  UpdateCaption();
}

void MacroFields::UpdateCaption() {
  dlg::SetText(dialog_, EditorCaption(caption_base_, Scope(), working_.ScopeText()));
}

void MacroFields::ScopeClick() {
  dlg::Enable(dialog_, IDC_CHOOSE_WIN_PROG, Scope() != ScopeChoice::Global);
  UpdateCaption();
}

void MacroFields::ChooseWinProgClick() {
  SpecWindForm form;
  form.program = Scope() == ScopeChoice::Program;
  form.on_top = working_.TopMostOnly();
  TDoSpecWind choose(ctx_, form);
  if (!choose.Run(IDD_DO_SPEC_WIND, dialog_) || !choose.result || choose.result->name.empty()) return;
  working_.SetScopeText(choose.result->name);
  working_.SetTopMostOnly(choose.result->on_top);
  UpdateCaption();
}

void MacroFields::SetScheduleClick() {
  if (ctx_.set_schedule) ctx_.set_schedule(dialog_, working_);
}

void MacroFields::ShowIcon(const std::string& name) {
  if (name == kMainIcon) {
    icon_.reset();
    dlg::SetButtonIcon(dialog_, IDC_MY_SPEED, dlg::ProgramIcon(IDI_MAIN));
  } else {
    const std::string path = IconFile(ctx_.program_dir, name);
    dlg::OwnedIcon loaded(static_cast<HICON>(
        ::LoadImageA(nullptr, path.c_str(), IMAGE_ICON, kIconPixels, kIconPixels, LR_LOADFROMFILE)));
    dlg::SetButtonIcon(dialog_, IDC_MY_SPEED, loaded ? loaded.get() : dlg::ProgramIcon(IDI_MAIN));
    icon_ = std::move(loaded);
  }
  icon_name_ = name;
}

void MacroFields::MySpeedClick() {
  const std::string folder = IconFolder(ctx_.program_dir);
  const auto picked = dlg::BrowseForFile(dialog_, kIconDialogTitle, kIconFilter, folder, kIconExtension);
  if (!picked) return;
  Win32IconFolder files;
  const IconChoice choice = ChooseIconFile(*picked, folder, files);
  for (const std::string& message : choice.messages) dlg::ShowMessage(dialog_, kErrorCaption, message);
  if (choice.icon) ShowIcon(*choice.icon);
}

void MacroFields::MySpeedReset() {
  if (dlg::AskYesNo(dialog_, "", kResetIconQuestion)) ShowIcon(kMainIcon);
}

bool MacroFields::Command(int id, int code) {
  switch (id) {
    case IDC_GLOBAL:
    case IDC_SPECIFIC:
    case IDC_PROG_EXE:
      if (code == BN_CLICKED) ScopeClick();
      return true;
    case IDC_CHOOSE_WIN_PROG: ChooseWinProgClick(); return true;
    case IDC_SET_SCHEDULE: SetScheduleClick(); return true;
    case IDC_MY_SPEED: MySpeedClick(); return true;
    default: return false;
  }
}

bool MacroFields::ContextMenu(HWND control) {
  if (control != dlg::Item(dialog_, IDC_MY_SPEED)) return false;
  MySpeedReset();
  return true;
}

bool MacroFields::CheckSnapword() {
  if (mode_ != ActivationMode::Snapword) return true;
  const auto refused = CheckSnapwordName(dlg::GetText(dialog_, IDC_SNAPWORD_NAME));
  if (!refused) return true;
  dlg::ShowMessage(dialog_, kErrorCaption, *refused);
  dlg::Focus(dialog_, IDC_SNAPWORD_NAME);
  return false;
}

void MacroFields::Accept(const std::string& text) {
  EditedFields fields;
  fields.nickname = dlg::GetText(dialog_, IDC_NICKNAME);
  fields.scope = Scope();
  fields.icon = icon_name_;
  fields.snapword = dlg::GetText(dialog_, IDC_SNAPWORD_NAME);
  if (text.size() > kMacroTextLimit) dlg::ShowMessage(dialog_, kErrorCaption, TruncationMessage());
  StoreAcceptedMacro(working_, fields, mode_, !existing_, text, ctx_.clock.Now());
  target_ = working_;
}

}  // namespace qlx
