// The dialogs of the window, program, mouse, timing, flow, file, sound and
// web commands. Each moves values between its controls and the portable
// checks.
#include "editor/win/command_dialogs_win.h"

#include "editor/text_util.h"

#include <shellapi.h>

#include "platform/win32/dialog.h"
#include "store/macro_file.h"
#include "resource.h"

namespace qlx {
namespace {

using namespace editor;

constexpr char kProgramFilter[] =
    "Executable (*.EXE)|*.EXE|Help Files (*.HLP)|*.HLP|All Files (*.*)|*.*";
constexpr char kWaveFilter[] = "Wave Files (*.WAV)|*.WAV|All Files (*.*)|*.*";
constexpr char kTextFilter[] = "Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*";
constexpr char kAllFilter[] = "All Files (*.*)|*.*";

// Field limits of the controls.
constexpr int kMouseFieldChars = 5, kClicksChars = 3, kCoordinateChars = 3, kPauseMessageChars = 180,
              kCountChars = 4, kTitleChars = 100, kDelaySecondsChars = 2, kSizeChars = 4,
              kRemarkChars = 240, kDelayChars = 5;

bool Clicked(int code) { return code == BN_CLICKED; }

// Browses for a file and puts it into the path field.
bool BrowseInto(HWND dialog, int field, const std::string& title, const std::string& filter) {
  const std::string current = dlg::GetText(dialog, field);
  auto chosen = dlg::BrowseForFile(dialog, title, filter, FolderOf(current));
  if (!chosen) return false;
  dlg::SetText(dialog, field, *chosen);
  return true;
}

}  // namespace

// ---- TDoMouse ----------------------------------------------------------------

void TDoMouse::FormShow() {
  SetRadio(IDC_MOUSE_MOVE, IDC_WHEEL_BACKWARD, IDC_MOUSE_MOVE + form_.action - mouse_action::kMove);
  SetField(IDC_X_POS, form_.x);
  SetField(IDC_Y_POS, form_.y);
  SetField(IDC_NUM_CLICKS, form_.clicks);
  SetRadio(IDC_TO_SCREEN, IDC_TO_WINDOWS, form_.to_window ? IDC_TO_WINDOWS : IDC_TO_SCREEN);
  dlg::SetEditLimit(hwnd(), IDC_X_POS, kMouseFieldChars);
  dlg::SetEditLimit(hwnd(), IDC_Y_POS, kMouseFieldChars);
  dlg::SetEditLimit(hwnd(), IDC_NUM_CLICKS, kClicksChars);
  ActionClick();
  dlg::Focus(hwnd(), IDC_MOUSE_MOVE + form_.action - mouse_action::kMove);
}

void TDoMouse::ActionClick() {
  const int action = Radio(IDC_MOUSE_MOVE, IDC_WHEEL_BACKWARD) - IDC_MOUSE_MOVE + mouse_action::kMove;
  const MousePanels p = MousePanelsFor(action);
  ShowControls({IDC_MOVEMENT_PANEL, IDC_X_POS_LABEL, IDC_X_POS, IDC_Y_POS_LABEL, IDC_Y_POS,
                IDC_TO_SCREEN, IDC_TO_WINDOWS},
               p.movement);
  ShowControls({IDC_WHEEL_PANEL, IDC_NUM_CLICKS_LABEL, IDC_NUM_CLICKS}, p.wheel);
  RECT client;
  ::GetClientRect(hwnd(), &client);
  dlg::SetClientSize(hwnd(), p.client_width, client.bottom);
}

bool TDoMouse::OnCommand(int id, int code, HWND) {
  if (id >= IDC_MOUSE_MOVE && id <= IDC_WHEEL_BACKWARD && Clicked(code)) {
    ActionClick();
    return true;
  }
  return false;
}

bool TDoMouse::OkButtonClick() {
  MouseForm f;
  f.action = Radio(IDC_MOUSE_MOVE, IDC_WHEEL_BACKWARD) - IDC_MOUSE_MOVE + mouse_action::kMove;
  f.x = Field(IDC_X_POS);
  f.y = Field(IDC_Y_POS);
  f.clicks = Field(IDC_NUM_CLICKS);
  f.to_window = dlg::IsChecked(hwnd(), IDC_TO_WINDOWS);
  const auto checked = CheckMouse(f);
  if (!checked.ok()) {
    const int field = checked.refusal->field == mouse_field::kX   ? IDC_X_POS
                      : checked.refusal->field == mouse_field::kY ? IDC_Y_POS
                                                                  : IDC_NUM_CLICKS;
    Refuse(*checked.refusal, field);
    return false;
  }
  result = checked.params;
  return true;
}

// ---- TDoDelay2 -----------------------------------------------------------------

void TDoDelay2::FormShow() {
  SetField(IDC_SECONDS, form_.value);
  dlg::SetEditLimit(hwnd(), IDC_SECONDS, kDelayChars);
  SetRadio(IDC_DEL_SECS, IDC_DEL_MILLI, form_.milliseconds ? IDC_DEL_MILLI : IDC_DEL_SECS);
  dlg::Focus(hwnd(), IDC_SECONDS);
}

bool TDoDelay2::OkButtonClick() {
  const auto checked = CheckDelay({dlg::IsChecked(hwnd(), IDC_DEL_MILLI), Field(IDC_SECONDS)});
  if (!checked.ok()) {
    Refuse(*checked.refusal, IDC_SECONDS);
    return false;
  }
  result = checked.params;
  return true;
}

// ---- TDoPausePos ---------------------------------------------------------------

void TDoPausePos::FormShow() {
  SetRadio(IDC_BASIC_PAUSE, IDC_COMPLEX_PAUSE, form_.complex ? IDC_COMPLEX_PAUSE : IDC_BASIC_PAUSE);
  SetField(IDC_TOP_COORD, form_.top);
  SetField(IDC_LEFT_COORD, form_.left);
  SetField(IDC_PAUSE_MESSAGE, form_.message);
  dlg::SetEditLimit(hwnd(), IDC_TOP_COORD, kCoordinateChars);
  dlg::SetEditLimit(hwnd(), IDC_LEFT_COORD, kCoordinateChars);
  dlg::SetEditLimit(hwnd(), IDC_PAUSE_MESSAGE, kPauseMessageChars);
  KindClick();
  dlg::Focus(hwnd(), form_.complex ? IDC_COMPLEX_PAUSE : IDC_BASIC_PAUSE);
}

void TDoPausePos::KindClick() {
  ShowControls({IDC_TOP_COORD_LABEL, IDC_TOP_COORD, IDC_LEFT_COORD_LABEL, IDC_LEFT_COORD,
                IDC_PAUSE_MESSAGE_LABEL, IDC_PAUSE_MESSAGE},
               dlg::IsChecked(hwnd(), IDC_COMPLEX_PAUSE));
}

bool TDoPausePos::OnCommand(int id, int code, HWND) {
  if ((id == IDC_BASIC_PAUSE || id == IDC_COMPLEX_PAUSE) && Clicked(code)) {
    KindClick();
    return true;
  }
  return false;
}

bool TDoPausePos::OkButtonClick() {
  const auto checked = CheckPause({dlg::IsChecked(hwnd(), IDC_COMPLEX_PAUSE), Field(IDC_TOP_COORD),
                                   Field(IDC_LEFT_COORD), Field(IDC_PAUSE_MESSAGE)});
  if (!checked.ok()) {
    const int field = checked.refusal->field == pause_field::kTop    ? IDC_TOP_COORD
                      : checked.refusal->field == pause_field::kLeft ? IDC_LEFT_COORD
                                                                     : IDC_PAUSE_MESSAGE;
    Refuse(*checked.refusal, field);
    return false;
  }
  result = checked.params;
  return true;
}

// ---- TDoRepeat --------------------------------------------------------------------

void TDoRepeat::FormShow() {
  SetRadio(IDC_START_REPEAT, IDC_REPEAT_COUNTER, IDC_START_REPEAT + form_.kind - repeat::kStart);
  SetField(IDC_COUNT, form_.count);
  dlg::SetEditLimit(hwnd(), IDC_COUNT, kCountChars);
  KindClick();
  dlg::Focus(hwnd(), IDC_START_REPEAT + form_.kind - repeat::kStart);
}

void TDoRepeat::KindClick() {
  const int kind = Radio(IDC_START_REPEAT, IDC_REPEAT_COUNTER) - IDC_START_REPEAT + repeat::kStart;
  const std::string label = RepeatCountLabel(kind);
  SetField(IDC_COUNT_LABEL, label);
  ShowControls({IDC_COUNT_LABEL, IDC_COUNT}, !label.empty());
}

bool TDoRepeat::OnCommand(int id, int code, HWND) {
  if (id >= IDC_START_REPEAT && id <= IDC_REPEAT_COUNTER && Clicked(code)) {
    KindClick();
    return true;
  }
  return false;
}

bool TDoRepeat::OkButtonClick() {
  const int kind = Radio(IDC_START_REPEAT, IDC_REPEAT_COUNTER) - IDC_START_REPEAT + repeat::kStart;
  const auto checked = CheckRepeat({kind, Field(IDC_COUNT)});
  if (!checked.ok()) {
    Refuse(*checked.refusal, IDC_COUNT);
    return false;
  }
  result = checked.params;
  return true;
}

// ---- TDoSpeed -----------------------------------------------------------------------

void TDoSpeed::FormShow() {
  SetRadio(IDC_KEYBOARD_SPEED, IDC_MACRO_SPEED, IDC_KEYBOARD_SPEED + form_.kind - speed::kKeystroke);
  SetField(IDC_SPEED_VALUE, form_.value);
  dlg::SetEditLimit(hwnd(), IDC_SPEED_VALUE, kCountChars);
  KindClick();
  dlg::Focus(hwnd(), IDC_SPEED_VALUE);
}

void TDoSpeed::KindClick() {
  const int kind = Radio(IDC_KEYBOARD_SPEED, IDC_MACRO_SPEED) - IDC_KEYBOARD_SPEED + speed::kKeystroke;
  SetField(IDC_SPEED_LABEL, SpeedValueLabel(kind));
}

bool TDoSpeed::OnCommand(int id, int code, HWND) {
  if (id >= IDC_KEYBOARD_SPEED && id <= IDC_MACRO_SPEED && Clicked(code)) {
    KindClick();
    return true;
  }
  return false;
}

bool TDoSpeed::OkButtonClick() {
  const int kind = Radio(IDC_KEYBOARD_SPEED, IDC_MACRO_SPEED) - IDC_KEYBOARD_SPEED + speed::kKeystroke;
  const auto checked = CheckSpeed({kind, Field(IDC_SPEED_VALUE)});
  if (!checked.ok()) {
    Refuse(*checked.refusal, IDC_SPEED_VALUE);
    return false;
  }
  result = checked.params;
  return true;
}

// ---- TDoActive ------------------------------------------------------------------------

void TDoActive::FormShow() {
  SetRadio(IDC_ACTIVE_ONLY, IDC_ACTIVE_LAUNCH, IDC_ACTIVE_ONLY + form_.kind - program::kActivate);
  SetField(IDC_WIN_TITLE, form_.title);
  SetField(IDC_PROG_PATH, form_.path);
  SetField(IDC_PARAMS, form_.parameters);
  SetField(IDC_DELAY_SECS, form_.delay);
  dlg::SetEditLimit(hwnd(), IDC_WIN_TITLE, kTitleChars);
  dlg::SetEditLimit(hwnd(), IDC_DELAY_SECS, kDelaySecondsChars);
  KindClick();
  dlg::Focus(hwnd(), IDC_ACTIVE_ONLY + form_.kind - program::kActivate);
}

void TDoActive::KindClick() {
  const int kind = Radio(IDC_ACTIVE_ONLY, IDC_ACTIVE_LAUNCH) - IDC_ACTIVE_ONLY + program::kActivate;
  ShowControls({IDC_WINDOW_PANEL, IDC_WIN_TITLE_LABEL, IDC_WIN_TITLE, IDC_WIN_TITLE_NOTE},
               ActiveShowsWindow(kind));
  ShowControls({IDC_PROGRAM_PANEL, IDC_PROG_PATH_LABEL, IDC_PROG_PATH, IDC_BROWSE, IDC_PARAMS_LABEL,
                IDC_PARAMS, IDC_DELAY_SECS_LABEL, IDC_DELAY_SECS, IDC_ACTIVE_NOTE},
               ActiveShowsProgram(kind));
}

void TDoActive::BrowseClick() { BrowseInto(hwnd(), IDC_PROG_PATH, "", kProgramFilter); }

bool TDoActive::OnCommand(int id, int code, HWND) {
  if (id >= IDC_ACTIVE_ONLY && id <= IDC_ACTIVE_LAUNCH && Clicked(code)) {
    KindClick();
    return true;
  }
  if (id == IDC_BROWSE) {
    BrowseClick();
    return true;
  }
  return false;
}

bool TDoActive::OkButtonClick() {
  ActiveForm f;
  f.kind = Radio(IDC_ACTIVE_ONLY, IDC_ACTIVE_LAUNCH) - IDC_ACTIVE_ONLY + program::kActivate;
  f.title = Field(IDC_WIN_TITLE);
  f.path = Field(IDC_PROG_PATH);
  f.parameters = Field(IDC_PARAMS);
  f.delay = Field(IDC_DELAY_SECS);
  const auto checked = CheckActive(f, ctx_.paths);
  if (!checked.ok()) {
    const int fields[] = {IDC_WIN_TITLE, IDC_WIN_TITLE, IDC_PROG_PATH, IDC_PARAMS, IDC_DELAY_SECS};
    Refuse(*checked.refusal, fields[checked.refusal->field]);
    return false;
  }
  result = checked.params;
  return true;
}

// ---- TDoSound ---------------------------------------------------------------------------

void TDoSound::FormShow() {
  if (alarm_) {
    dlg::SetText(hwnd(), "Scheduler Alarm");
    SetField(IDC_BEEP, "None");
    dlg::Show(hwnd(), IDHELP, false);
  }
  SetRadio(IDC_BEEP, IDC_WAVE_FILE, form_.kind == sound::kWave ? IDC_WAVE_FILE : IDC_BEEP);
  SetField(IDC_PROG_PATH, form_.path);
  dlg::SetChecked(hwnd(), IDC_WAIT_FOR, form_.wait);
  dlg::Focus(hwnd(), form_.kind == sound::kWave ? IDC_WAVE_FILE : IDC_BEEP);
}

void TDoSound::BrowseClick() {
  if (BrowseInto(hwnd(), IDC_PROG_PATH, "Select Wave File", kWaveFilter))
    SetRadio(IDC_BEEP, IDC_WAVE_FILE, IDC_WAVE_FILE);
}

void TDoSound::TestClick() {
  const std::string path = Field(IDC_PROG_PATH);
  if (auto refused = CheckSoundTest(path, ctx_.paths)) {
    Refuse(*refused, IDC_PROG_PATH);
    return;
  }
  ctx_.sound.PlayWave(std::string(Trim(path)), false);
}

bool TDoSound::OnCommand(int id, int, HWND) {
  if (id == IDC_BROWSE) {
    BrowseClick();
    return true;
  }
  if (id == IDC_TEST_SOUND) {
    TestClick();
    return true;
  }
  return false;
}

bool TDoSound::OkButtonClick() {
  const SoundForm f{dlg::IsChecked(hwnd(), IDC_WAVE_FILE) ? sound::kWave : sound::kBeep,
                    Field(IDC_PROG_PATH), dlg::IsChecked(hwnd(), IDC_WAIT_FOR)};
  const auto checked = CheckSound(f, ctx_.paths);
  if (!checked.ok()) {
    Refuse(*checked.refusal, IDC_PROG_PATH);
    return false;
  }
  result = checked.params;
  if (alarm_) StoreSchedulerAlarm(checked.params, ctx_.settings);
  return true;
}

// ---- TDoSwap ---------------------------------------------------------------------------------

void TDoSwap::FormShow() {
  SetField(IDC_PROG_PATH, path_);
  dlg::Focus(hwnd(), IDC_PROG_PATH);
}

bool TDoSwap::OnCommand(int id, int, HWND) {
  if (id != IDC_BROWSE) return false;
  BrowseInto(hwnd(), IDC_PROG_PATH, "", qlx::kMacroFileFilter);
  return true;
}

bool TDoSwap::OkButtonClick() {
  const auto checked = CheckSwap(Field(IDC_PROG_PATH), ctx_.paths);
  if (!checked.ok()) {
    Refuse(*checked.refusal, IDC_PROG_PATH);
    return false;
  }
  result = checked.params;
  return true;
}

// ---- TDoTextInsert ----------------------------------------------------------------------------

void TDoTextInsert::FormShow() {
  SetField(IDC_PROG_PATH, path_);
  dlg::Focus(hwnd(), IDC_PROG_PATH);
}

void TDoTextInsert::EditTextFileClick() {
  const std::string path = std::string(Trim(Field(IDC_PROG_PATH)));
  if (auto refused = CheckEditTextFile(path, ctx_.paths)) {
    Refuse(*refused, IDC_PROG_PATH);
    return;
  }
  ::ShellExecuteA(hwnd(), "open", "notepad.exe", path.c_str(), nullptr, SW_SHOWNORMAL);
}

bool TDoTextInsert::OnCommand(int id, int, HWND) {
  if (id == IDC_BROWSE) {
    BrowseInto(hwnd(), IDC_PROG_PATH, "", kTextFilter);
    return true;
  }
  if (id == IDC_EDIT_TEXT_FILE) {
    EditTextFileClick();
    return true;
  }
  return false;
}

bool TDoTextInsert::OkButtonClick() {
  const TextInsertCheck checked = CheckTextInsert(Field(IDC_PROG_PATH), ctx_.paths);
  if (checked.refusal) {
    Refuse(*checked.refusal, IDC_PROG_PATH);
    return false;
  }
  if (checked.question && Ask(*checked.question)) {
    dlg::Focus(hwnd(), IDC_PROG_PATH);
    return false;
  }
  result = checked.params;
  return true;
}

// ---- TDoSizeIt ----------------------------------------------------------------------------------

void TDoSizeIt::FormShow() {
  SetRadio(IDC_CURRENT_WIN, IDC_SPECIFIC_WIN, form_.current ? IDC_CURRENT_WIN : IDC_SPECIFIC_WIN);
  SetField(IDC_WIN_TITLE, form_.title);
  SetRadio(IDC_RESIZE_WIN, IDC_POSITION_WIN, form_.kind == sizepos::kReposition ? IDC_POSITION_WIN : IDC_RESIZE_WIN);
  SetField(IDC_THE_WIDTH, form_.first);
  SetField(IDC_THE_HEIGHT, form_.second);
  dlg::SetEditLimit(hwnd(), IDC_THE_WIDTH, kSizeChars);
  dlg::SetEditLimit(hwnd(), IDC_THE_HEIGHT, kSizeChars);
  WindowClick();
  KindClick();
  dlg::Focus(hwnd(), IDC_THE_WIDTH);
}

void TDoSizeIt::WindowClick() {
  dlg::Enable(hwnd(), IDC_WIN_TITLE, dlg::IsChecked(hwnd(), IDC_SPECIFIC_WIN));
}

void TDoSizeIt::KindClick() {
  const int kind = dlg::IsChecked(hwnd(), IDC_POSITION_WIN) ? sizepos::kReposition : sizepos::kResize;
  SetField(IDC_WIDTH_LABEL, SizeFirstLabel(kind));
  SetField(IDC_HEIGHT_LABEL, SizeSecondLabel(kind));
}

bool TDoSizeIt::OnCommand(int id, int code, HWND) {
  if (!Clicked(code)) return false;
  if (id == IDC_CURRENT_WIN || id == IDC_SPECIFIC_WIN) {
    WindowClick();
    return true;
  }
  if (id == IDC_RESIZE_WIN || id == IDC_POSITION_WIN) {
    KindClick();
    return true;
  }
  return false;
}

bool TDoSizeIt::OkButtonClick() {
  SizeForm f;
  f.current = dlg::IsChecked(hwnd(), IDC_CURRENT_WIN);
  f.title = Field(IDC_WIN_TITLE);
  f.kind = dlg::IsChecked(hwnd(), IDC_POSITION_WIN) ? sizepos::kReposition : sizepos::kResize;
  f.first = Field(IDC_THE_WIDTH);
  f.second = Field(IDC_THE_HEIGHT);
  const auto checked = CheckSize(f);
  if (!checked.ok()) {
    const int field = checked.refusal->field == size_field::kTitle   ? IDC_WIN_TITLE
                      : checked.refusal->field == size_field::kFirst ? IDC_THE_WIDTH
                                                                     : IDC_THE_HEIGHT;
    Refuse(*checked.refusal, field);
    return false;
  }
  result = checked.params;
  return true;
}

// ---- TDoSystemCommand -------------------------------------------------------------------------------

void TDoSystemCommand::FormShow() {
  SetRadio(IDC_DO_MAXIMIZE, IDC_DO_SHUT_DOWN, IDC_DO_MAXIMIZE + form_.kind - window::kMaximize);
  SetRadio(IDC_CURRENT_WIN, IDC_SPECIFIC_WIN, form_.current ? IDC_CURRENT_WIN : IDC_SPECIFIC_WIN);
  SetField(IDC_WIN_TITLE, form_.title);
  WindowClick();
  dlg::Focus(hwnd(), IDC_DO_MAXIMIZE + form_.kind - window::kMaximize);
}

void TDoSystemCommand::WindowClick() {
  dlg::Enable(hwnd(), IDC_WIN_TITLE, dlg::IsChecked(hwnd(), IDC_SPECIFIC_WIN));
}

bool TDoSystemCommand::OnCommand(int id, int code, HWND) {
  if ((id == IDC_CURRENT_WIN || id == IDC_SPECIFIC_WIN) && Clicked(code)) {
    WindowClick();
    return true;
  }
  return false;
}

bool TDoSystemCommand::OkButtonClick() {
  const SystemForm f{Radio(IDC_DO_MAXIMIZE, IDC_DO_SHUT_DOWN) - IDC_DO_MAXIMIZE + window::kMaximize,
                     dlg::IsChecked(hwnd(), IDC_CURRENT_WIN), Field(IDC_WIN_TITLE)};
  const auto checked = CheckSystem(f);
  if (!checked.ok()) {
    Refuse(*checked.refusal, IDC_WIN_TITLE);
    return false;
  }
  result = checked.params;
  return true;
}

// ---- TDoRemark ----------------------------------------------------------------------------------------

void TDoRemark::FormShow() {
  SetField(IDC_COMMENTS, text_);
  dlg::SetEditLimit(hwnd(), IDC_COMMENTS, kRemarkChars);
  dlg::Focus(hwnd(), IDC_COMMENTS);
}

bool TDoRemark::OkButtonClick() {
  const auto checked = CheckRemark(Field(IDC_COMMENTS));
  if (!checked.ok()) {
    Refuse(*checked.refusal, IDC_COMMENTS);
    return false;
  }
  result = checked.params;
  return true;
}

// ---- TDoClipboard ---------------------------------------------------------------------------------------

void TDoClipboard::FormShow() {
  SetRadio(IDC_START_CLIP, IDC_PASTE_COMMAND, IDC_START_CLIP + form_.kind - clip::kStartCopy);
  SetField(IDC_PROG_PATH, form_.path);
  KindClick();
  dlg::Focus(hwnd(), IDC_START_CLIP + form_.kind - clip::kStartCopy);
}

void TDoClipboard::KindClick() {
  const bool file = dlg::IsChecked(hwnd(), IDC_COPY_FILE_CLIP);
  dlg::Enable(hwnd(), IDC_PROG_PATH, file);
  dlg::Enable(hwnd(), IDC_BROWSE, file);
}

bool TDoClipboard::OnCommand(int id, int code, HWND) {
  if (id >= IDC_START_CLIP && id <= IDC_PASTE_COMMAND && Clicked(code)) {
    KindClick();
    return true;
  }
  if (id == IDC_BROWSE) {
    BrowseInto(hwnd(), IDC_PROG_PATH, "", kTextFilter);
    return true;
  }
  return false;
}

bool TDoClipboard::OkButtonClick() {
  const ClipboardForm f{Radio(IDC_START_CLIP, IDC_PASTE_COMMAND) - IDC_START_CLIP + clip::kStartCopy,
                        Field(IDC_PROG_PATH)};
  const auto checked = CheckClipboard(f, ctx_.paths);
  if (!checked.ok()) {
    Refuse(*checked.refusal, IDC_PROG_PATH);
    return false;
  }
  result = checked.params;
  return true;
}

// ---- TDoKeyUpDown -----------------------------------------------------------------------------------------

void TDoKeyUpDown::FormShow() {
  if (code_ >= 1 && code_ <= 8) {
    SetRadio(IDC_CTRL_DOWN, IDC_WIN_UP, IDC_CTRL_DOWN + code_ - 1);
    dlg::Focus(hwnd(), IDC_CTRL_DOWN + code_ - 1);
  } else {
    // None checked; focusing a radio button would check it.
    dlg::Focus(hwnd(), IDOK);
  }
}

bool TDoKeyUpDown::OkButtonClick() {
  const int checked = Radio(IDC_CTRL_DOWN, IDC_WIN_UP);
  result = KeyUpDownResult(checked ? checked - IDC_CTRL_DOWN + 1 : 0);
  if (!result) End(IDCANCEL);  // nothing chosen: as Cancel
  return result.has_value();
}

// ---- TDoWebStuff -------------------------------------------------------------------------------------------

void TDoWebStuff::FormShow() {
  if (ftp_) {
    dlg::SetText(hwnd(), "Internet FTP");
    SetField(IDC_PROG_PATH_LABEL, "FTP URL");
  }
  SetField(IDC_PROG_PATH, address_);
  dlg::Focus(hwnd(), IDC_PROG_PATH);
  dlg::SetSelection(dlg::Item(hwnd(), IDC_PROG_PATH), static_cast<int>(address_.size()),
                    static_cast<int>(address_.size()));
}

bool TDoWebStuff::OkButtonClick() {
  const auto checked = CheckWeb(ftp_, Field(IDC_PROG_PATH));
  if (!checked.ok()) {
    Refuse(*checked.refusal, IDC_PROG_PATH);
    return false;
  }
  result = checked.params;
  return true;
}

// ---- TDoDOSFiles --------------------------------------------------------------------------------------------

void TDoDOSFiles::FormShow() {
  SetRadio(IDC_CHANGE_DIR, IDC_DELETE_FILE, IDC_CHANGE_DIR + form_.kind - file::kChangeDirectory);
  SetField(IDC_PROG_PATH, form_.path);
  SetField(IDC_NEW_NAME, form_.new_name);
  KindClick();
  dlg::Focus(hwnd(), IDC_CHANGE_DIR + form_.kind - file::kChangeDirectory);
}

void TDoDOSFiles::KindClick() {
  const int kind = Radio(IDC_CHANGE_DIR, IDC_DELETE_FILE) - IDC_CHANGE_DIR + file::kChangeDirectory;
  SetField(IDC_PROG_PATH_LABEL, FilesPathLabel(kind));
  ShowControls({IDC_NEW_NAME_LABEL, IDC_NEW_NAME}, FilesShowsNewName(kind));
}

bool TDoDOSFiles::OnCommand(int id, int code, HWND) {
  if (id >= IDC_CHANGE_DIR && id <= IDC_DELETE_FILE && Clicked(code)) {
    KindClick();
    return true;
  }
  if (id == IDC_BROWSE) {
    const bool folder = dlg::IsChecked(hwnd(), IDC_CHANGE_DIR);
    const std::string current = Field(IDC_PROG_PATH);
    auto chosen = dlg::BrowseForFile(hwnd(), "", folder ? kAllFilter : kTextFilter, FolderOf(current));
    // A folder is chosen through one of its files.
    if (chosen) SetField(IDC_PROG_PATH, folder ? FolderOf(*chosen) : *chosen);
    return true;
  }
  return false;
}

bool TDoDOSFiles::OkButtonClick() {
  const FilesForm f{Radio(IDC_CHANGE_DIR, IDC_DELETE_FILE) - IDC_CHANGE_DIR + file::kChangeDirectory,
                    Field(IDC_PROG_PATH), Field(IDC_NEW_NAME)};
  const auto checked = CheckFiles(f, ctx_.paths);
  if (!checked.ok()) {
    Refuse(*checked.refusal, checked.refusal->field == files_field::kNewName ? IDC_NEW_NAME : IDC_PROG_PATH);
    return false;
  }
  result = checked.params;
  return true;
}

}  // namespace qlx
