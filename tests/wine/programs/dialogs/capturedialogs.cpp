// Opens one of the capture, Snapword and key-remap dialogs (or the
// recording tray icon) over sample data, for screenshots and for driving
// them; prints what the dialog returned when it closes.
//
//   capturedialogs defaults|macro|complete|snapwords|remapper|select|tray [REMAPFILE]
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "activation/key_remap.h"
#include "activation/win/key_remapper.h"
#include "activation/win/select_character.h"
#include "activation/win/snapword_options.h"
#include "capture/win/capture_complete.h"
#include "capture/win/capture_defaults.h"
#include "capture/win/capture_macro.h"
#include "platform/win32/task_icon.h"
#include "store/settings.h"
#include "capture_ids.h"

namespace qlx {
namespace {

void Print(const std::string& s) {
  std::printf("%s\n", s.c_str());
  std::fflush(stdout);
}

int Run(const std::string& which, const std::string& remap_file) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&icc);
  Settings settings;
  std::vector<uint8_t> memory(ab::kSize, 0);
  ActivationBlock block(memory.data());
  // Four macros: two on Ctrl+A, one on F3, the Start/Stop Capture macro.
  block.SetMacroCount(4);
  const uint16_t codes[] = {0, 0, 290, 263};
  const int16_t scopes[] = {kScopeGlobal, kScopeWindow, kScopeGlobal, kScopeSystem};
  for (int n = 1; n <= 4; ++n) {
    block.SetCode(n, codes[n - 1]);
    block.SetScope(n, scopes[n - 1]);
    block.SetActive(n, true);
  }
  block.SetScopeText(4, "2");
  if (which == "defaults") {
    TCaptureDefaults form(settings);
    Print(form.ShowModal(nullptr) ? "ok" : "cancel");
  } else if (which == "macro") {
    CaptureMacroRequest request;
    request.record.SetCode(290);
    request.record.SetNickname("Letter head");
    request.macro = 3;
    request.stop_key_name = "Ctrl+Alt+Shift+X";
    TCaptureMacro form(request, settings);
    Print(form.ShowModal(nullptr) ? "start" : "cancel");
  } else if (which == "complete") {
    MacroRecord record = QuickCaptureRecord();
    TCaptureComplete form(record, 5, block, settings, "NOTEPAD.EXE", 0);
    const bool ok = form.ShowModal(nullptr);
    Print(ok ? "ok code=" + std::to_string(record.Code()) + " nickname=" + record.Nickname() : "cancel");
  } else if (which == "snapwords") {
    settings.prefix_keys = ";;";
    TSnapwordOptions form(settings);
    Print(form.ShowModal(nullptr) ? "ok prefix=" + settings.prefix_keys : "cancel");
  } else if (which == "remapper") {
    std::vector<uint8_t> tables(kr::kSize, 0);
    RemapTables t(tables.data());
    t.InitSwapKeys();
    t.SetEntry(kr::kLower, 'b');
    t.SetEntry(kr::kUpper + 1, 0);
    TKeyRemapper form(t, remap_file, false);
    Print(form.ShowModal(nullptr) ? "changed" : "unchanged");
  } else if (which == "select") {
    TSelectCharacter form('b');
    const uint8_t c = form.ShowModal(nullptr, RECT{});
    Print("chosen " + std::to_string(c));
  } else if (which == "tray") {
    HICON picture = static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_RECORDING),
                                                    IMAGE_ICON, 16, 16, 0));
    TTaskIcon icon(picture, 1, kRecordingToolTip);
    icon.SetActive(true);
    Print(icon.Active() ? "tray active" : "tray failed");
    icon.OnRightClick = [](POINT) { ::PostQuitMessage(0); };
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
  } else {
    return 3;
  }
  return 0;
}

}  // namespace
}  // namespace qlx

int main(int argc, char** argv) {
  if (argc < 2) return 3;
  return qlx::Run(argv[1], argc > 2 ? argv[2] : "");
}
