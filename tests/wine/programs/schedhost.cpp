// Opens the dialogs of timed macros and popup-menu macros by themselves, on
// a macro file, as the program does, and writes what came of them to a
// file (temp + rename, so a reader never sees half a line):
//
//   schedhost.exe schedule FILE N OUT   Set Schedule for record N; on Update the
//                                       record is written back and OUT holds its
//                                       schedule text, else "cancel"
//   schedhost.exe build FILE N|new OUT  Build Macro Menu; OUT: "saved tray=0|1
//                                       entries=a,b" (the record written back or
//                                       appended) or "cancel"
//   schedhost.exe choose FILE N X OUT   Choose A Macro for menu N at click x X
//                                       (-1 centred); a chosen popup menu opens
//                                       its own chooser. OUT: the chosen numbers,
//                                       comma separated, ending in -1 when a
//                                       chooser was cancelled
//   schedhost.exe topmenu FILE SETTING OUT
//                                       the top-window menu for the window in
//                                       front; OUT: "listed=a,b chosen=n", or
//                                       "warning" when nothing fits
//   schedhost.exe run FILE HH:MM:SS[.mmm] OUT
//                                       the scheduler with Timer Seconds 1 on a
//                                       clock set to read that time today now
//                                       (it runs on at the real pace), playing
//                                       the timed macros for real; OUT gets a
//                                       line per tick ("tick MS") and per due
//                                       macro ("due N MS"), MS the clock's time
//                                       of day in milliseconds. Runs until
//                                       killed.
//
// The program folder (for the Icons folder) is the macro file's folder.
// Exit codes: 0 done, 1 the file could not be loaded, 3 bad arguments.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "activation/chooser_windows.h"
#include "activation/record_source.h"
#include "activation/schedule_form.h"
#include "activation/scheduler.h"
#include "activation/top_window_menu.h"
#include "activation/win/do_schedule.h"
#include "activation/win/scheduler_timers.h"
#include "editor/popup_menu_chooser.h"
#include "editor/win/popup_build_menu.h"
#include "editor/win/popup_choose_macro.h"
#include "engine/player.h"
#include "engine/window_commands.h"
#include "platform/win32/clipboard_win32.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/desktop_win32.h"
#include "platform/win32/file_operations_win32.h"
#include "platform/win32/icon_folder_win32.h"
#include "platform/win32/input_win32.h"
#include "platform/win32/message_boxes_win32.h"
#include "platform/win32/message_pump_win32.h"
#include "platform/win32/processes_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/sound_win32.h"
#include "store/macro_file.h"
#include "store/settings.h"

namespace qlx {
namespace {

constexpr int kOk = 0;
constexpr int kNoFile = 1;
constexpr int kBadArgs = 3;

void WriteResult(const std::string& path, const std::string& line) {
  const std::string temp = path + ".tmp";
  if (FILE* f = std::fopen(temp.c_str(), "wb")) {
    std::fputs(line.c_str(), f);
    std::fclose(f);
    ::MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string Joined(const std::vector<int>& numbers) {
  std::string out;
  for (int n : numbers) out += (out.empty() ? "" : ",") + std::to_string(n);
  return out;
}

struct Session {
  std::vector<uint8_t> block_bytes = std::vector<uint8_t>(ab::kSize, 0);
  MacroNameTables names;
  Win32MessageBoxes boxes;
  Win32Clock clock;
  MacroFile file;
  explicit Session(const std::string& name)
      : file(name, MacroTables{ActivationBlock(block_bytes.data()), names}, boxes, clock) {}
  ActivationBlock block() { return ActivationBlock(block_bytes.data()); }
};

int Schedule(Session& s, int n, const std::string& out) {
  MacroRecord record;
  if (!s.file.ReadRecord(n, record)) return kNoFile;
  TDoSchedule dialog(record, CivilDateFromDays(s.clock.Now()));
  if (!dialog.ShowModal(nullptr)) {
    WriteResult(out, "cancel");
    return kOk;
  }
  s.file.WriteRecord(n, record);
  WriteResult(out, GetSched(record));
  return kOk;
}

int Build(Session& s, const std::string& which, const std::string& out) {
  const bool modify = which != "new";
  const int n = modify ? std::atoi(which.c_str()) : -1;
  MacroRecord record;
  if (modify && !s.file.ReadRecord(n, record)) return kNoFile;
  if (!modify) record.SetCode(static_cast<uint16_t>(0));
  Win32IconFolder icons;
  TDoBuildMenu dialog(record, modify, s.block(), s.names, FolderOf(s.file.name()), icons);
  const BuildMenuResult r = dialog.ShowModal(nullptr);
  if (!r.saved) {
    WriteResult(out, "cancel");
    return kOk;
  }
  if (!modify) s.block().SetMacroCount(s.block().MacroCount() + 1);
  s.file.WriteRecord(n, record);
  WriteResult(out, std::string("saved tray=") + (r.tray_icons_changed ? "1" : "0") +
                       " entries=" + Joined(PopupMenuView(record).Entries()));
  return kOk;
}

int Choose(Session& s, int n, int x, const std::string& out) {
  MacroFileRecords records(s.file);
  std::vector<int> chosen;
  MacroRecord menu;
  // As the playback does: a chosen popup menu shows its own chooser.
  while (records.ReadRecord(n, menu) && menu.Scope() == kScopePopupMenu) {
    n = ChooseFromMenu(menu, records, FolderOf(s.file.name()), x, nullptr);
    chosen.push_back(n);
    if (n == -1) break;
  }
  WriteResult(out, Joined(chosen));
  return kOk;
}

void AppendLine(const std::string& path, const std::string& line) {
  if (FILE* f = std::fopen(path.c_str(), "ab")) {
    std::fputs((line + "\n").c_str(), f);
    std::fclose(f);
  }
}

// A program without a main window of its own to hide or show.
class BareProgram : public IPlaybackHost {
 public:
  void DoAMessage(const std::string& caption, const std::string& text) override {
    ::MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_TOPMOST);
  }
  uint16_t DoRepPrompt() override { return 1; }
  bool ShowPauseBox(int, int, const std::string&) override { return true; }
  void SwapMacroFile(std::string_view) override {}
  bool UseTray() const override { return false; }
  void ShowApplication() override {}
  void HideApplication() override {}
  bool ApplicationMinimized() override { return false; }
  void RestoreApplication() override {}
  void MinimizeApplication() override {}
  bool MainWindowVisible() override { return false; }
  void ShowMainWindow() override {}
  void HideMainWindow() override {}
};

struct Engine {
  Win32Input input;
  Win32Desktop desktop;
  Win32Processes processes;
  Win32Shell shell;
  Win32MessagePump pump;
  Win32Clipboard clipboard;
  Win32FileOperations files;
  Win32Sound sound;
  EngineState state;
  BareProgram program;
  EngineSeams seams;
  WindowCommands windows;
  Player player;
  explicit Engine(IClock& clock)
      : seams{input, desktop, processes, shell, pump, clock, clipboard, files, sound},
        windows(seams, state),
        player(seams, program, state, windows) {}
};

class TopMenuHost : public ITopWindowMenuHost {
 public:
  TopMenuHost(Engine& engine, IRecordSource& records, std::string program_dir)
      : engine_(engine), records_(records), program_dir_(std::move(program_dir)) {}
  std::string outcome = "warning";
  void DoAMessage(const std::string&, const std::string&) override { outcome = "warning"; }
  int ChooseFromTopWindowMenu(const MacroRecord& menu, WindowHandle front) override {
    listed_ = PopupMenuView(menu).Entries();
    ChooserWindows around(engine_.program, engine_.desktop, front);
    const int chosen = ChooseFromMenu(menu, records_, program_dir_, -1, nullptr);
    outcome = "listed=" + Joined(listed_) + " chosen=" + std::to_string(chosen);
    return chosen;
  }
  void RunChosenMacro(int) override {}

 private:
  Engine& engine_;
  IRecordSource& records_;
  std::string program_dir_;
  std::vector<int> listed_;
};

int TopMenu(Session& s, int setting, const std::string& out) {
  Engine engine(s.clock);
  MacroFileRecords records(s.file);
  TopMenuHost host(engine, records, FolderOf(s.file.name()));
  bool popup_shown = false;
  MacroRecord playback;
  MenuTopWindow(engine.desktop, engine.processes, s.block(), setting, popup_shown, playback, host);
  WriteResult(out, host.outcome);
  return kOk;
}

// The real clock moved by a fixed amount: it reads the chosen time of day
// at the start and runs on at the real pace.
class ShiftedClock : public IClock {
 public:
  ShiftedClock(const IClock& real, double shift_days) : real_(real), shift_(shift_days) {}
  double Now() const override { return real_.Now() + shift_; }
  uint32_t TickCount() const override { return real_.TickCount(); }
  ClockReading Read() const override {
    const ClockReading r = real_.Read();
    return {r.local + shift_, r.utc + shift_};
  }

 private:
  const IClock& real_;
  double shift_;
};

int64_t TimeOfDayMs(const IClock& clock) {
  const int64_t ms = MomentMs(clock.Now());
  return ((ms % kMsPerDay) + kMsPerDay) % kMsPerDay;
}

class LoggingStarter : public ITimedMacroStarter {
 public:
  LoggingStarter(ITimedMacroStarter& real, const IClock& clock, std::string out)
      : real_(real), clock_(clock), out_(std::move(out)) {}
  void StartTimedMacro(int n) override {
    AppendLine(out_, "due " + std::to_string(n) + " " + std::to_string(TimeOfDayMs(clock_)));
    real_.StartTimedMacro(n);
  }

 private:
  ITimedMacroStarter& real_;
  const IClock& clock_;
  std::string out_;
};

LRESULT CALLBACK RunWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* timers = reinterpret_cast<SchedulerTimers*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (msg == WM_TIMER && timers && timers->OnTimer(wp)) return 0;
  if (msg == WM_DESTROY) ::PostQuitMessage(0);
  return ::DefWindowProcA(hwnd, msg, wp, lp);
}

int Run(Session& s, const std::string& at, const std::string& out) {
  int h = 0, m = 0, sec = 0, milli = 0;
  if (std::sscanf(at.c_str(), "%d:%d:%d.%d", &h, &m, &sec, &milli) < 3) return kBadArgs;
  const int64_t wanted = (h * 3600LL + m * 60LL + sec) * 1000 + milli;
  ShiftedClock clock(s.clock, static_cast<double>(wanted - TimeOfDayMs(s.clock)) / kMsPerDay);
  Engine engine(clock);
  MacroFileRecords records(s.file);
  Settings settings;
  TimedMacroStarter starter(records, engine.windows, engine.sound, engine.player, engine.state, settings);
  LoggingStarter logging(starter, clock, out);
  Scheduler scheduler(clock, records, s.block(), logging, clock.Read());

  constexpr UINT_PTR kTick = 1, kStartUp = 2;
  SchedulerTimers timers(scheduler, kTick, kStartUp);
  WNDCLASSA wc{};
  wc.lpfnWndProc = RunWindowProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = "QlxSchedHost";
  ::RegisterClassA(&wc);
  HWND window = ::CreateWindowA(wc.lpszClassName, "Scheduler Host", WS_OVERLAPPED, 0, 0, 10, 10, HWND_MESSAGE,
                                nullptr, wc.hInstance, nullptr);
  ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&timers));
  timers.Start(window, 1);
  AppendLine(out, "ready " + std::to_string(TimeOfDayMs(clock)));
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
    if (msg.message == WM_TIMER && msg.wParam == kTick) AppendLine(out, "tick " + std::to_string(TimeOfDayMs(clock)));
  }
  timers.Stop();
  return kOk;
}

}  // namespace
}  // namespace qlx

int main(int argc, char** argv) {
  using namespace qlx;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);
  if (argc < 5) return kBadArgs;
  const std::string command = argv[1];
  Session s(argv[2]);
  if (!s.file.Load().opened) return kNoFile;
  if (command == "schedule" && argc == 5) return Schedule(s, std::atoi(argv[3]), argv[4]);
  if (command == "build" && argc == 5) return Build(s, argv[3], argv[4]);
  if (command == "topmenu" && argc == 5) return TopMenu(s, std::atoi(argv[3]), argv[4]);
  if (command == "run" && argc == 5) return Run(s, argv[3], argv[4]);
  if (command == "choose" && argc == 6) return Choose(s, std::atoi(argv[3]), std::atoi(argv[4]), argv[5]);
  return kBadArgs;
}
