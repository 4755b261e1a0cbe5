// Program start and end: the named blocks, the mutex, the settings, the
// single-instance test, the macro file and the main window's message loop.
#include <windows.h>
#include <commctrl.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "app/startup_logic.h"
#include "app/win/hook_library.h"
#include "app/win/main_window.h"
#include "app/win/settings_file.h"
#include "platform/profile.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/message_boxes_win32.h"
#include "platform/win32/win_handles.h"
#include "store/macro_file.h"
#include "store/settings.h"
#include "store/shared_blocks.h"

namespace {

constexpr char kSystemError[] = "System Error";

[[noreturn]] void Terminate(const char* text) {
  ::MessageBoxA(nullptr, text, kSystemError, MB_OK);
  ::ExitProcess(1);
}

std::string ProgramDirectory() {
  char path[MAX_PATH] = {};
  DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
  return qlx::DirectoryOf(std::string(path, n));
}

std::vector<std::string> CommandLineParams() {
  std::vector<std::string> params;
  for (int i = 1; i < __argc; ++i) params.emplace_back(__argv[i]);
  return params;
}

int RunMessageLoop(qlx::TMainWin& main_window) {
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (main_window.TranslateKeys(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_cmd) {
  using namespace qlx;
  const std::string program_dir = ProgramDirectory();

  win::NamedBlock activation;
  switch (win::CreateNamedBlock(kActivationBlockName, ab::kSize, activation)) {
    case win::BlockError::NotCreated: Terminate("Memory Mapped File could not be created.  Quillon will terminate.");
    case win::BlockError::NotMapped: Terminate("Memory Mapped File could not be mapped.  Quillon will terminate.");
    case win::BlockError::None: break;
  }

  // Held for the life of the process; never waited for.
  win::Handle mutex(::CreateMutexA(nullptr, FALSE, kMutexName));
  if (!mutex) Terminate("Mutex could not be created.  Quillon will terminate.");

  auto settings = std::make_unique<Settings>();
  Win32Profile profile(SettingsFilePath());
  ReadSettings(profile, program_dir, *settings);

  // A second instance ends here, before it writes anything into the block.
  if (HANDLE other = ::OpenFileMappingA(FILE_MAP_WRITE, FALSE, kInstanceMarkerName)) {
    ::CloseHandle(other);
    ::MessageBoxA(nullptr,
                  settings->use_tray ? "Quillon 98 is already running.  Right Click on the Quillon Icon in the "
                                       "system tray in the bottom right corner to active."
                                     : "Quillon 98 is already running.",
                  "", MB_OK);
    ::ExitProcess(0);
  }
  win::Handle marker(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                          static_cast<DWORD>(kInstanceMarkerSize), kInstanceMarkerName));
  if (marker) win::MappedView(::MapViewOfFile(marker.get(), FILE_MAP_WRITE, 0, 0, 0)).reset();

  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&icc);

  Win32MessageBoxes boxes;
  Win32Clock clock;
  ActivationBlock block(activation.bytes());
  MacroFile macro_file(settings->current_file, MacroTables{block, settings->names}, boxes, clock,
                       DiskFileSystem());

  int exit_code = 0;
  try {
    // A read error after the file opened is the application's error
    // message; start-up goes on with what was read.
    try {
      LoadResult loaded = macro_file.Load();
      if (loaded.truncated)
        boxes.Show("Warning",
                   "This macro file holds more than 500 macros.  Only the first 500 can be used; "
                   "the others stay in the file unchanged.");
    } catch (const std::exception& e) {
      ShowApplicationError(nullptr, e.what());
    }

    HookLibrary hooks;
    if (!hooks.Load(program_dir)) Terminate("QLXHOOK.DLL could not be loaded.  Quillon will terminate.");

    AppContext ctx{program_dir, block,   *settings, macro_file,          hooks,
                   profile,     boxes,   clock,     CommandLineParams(), show_cmd};
    if (!TMainWin::RegisterClass(instance)) Terminate("The main window could not be created.  Quillon will terminate.");
    TMainWin main_window(ctx);
    if (!main_window.Create(instance)) Terminate("The main window could not be created.  Quillon will terminate.");
    exit_code = RunMessageLoop(main_window);
  } catch (const std::exception& e) {
    // Nothing ends the program without a word.
    ShowApplicationError(nullptr, e.what());
    exit_code = 0;
  } catch (...) {
    exit_code = 0;
  }

  marker.reset();
  activation.Close();
  mutex.reset();
  settings.reset();
  ::ExitProcess(static_cast<UINT>(exit_code));
}
