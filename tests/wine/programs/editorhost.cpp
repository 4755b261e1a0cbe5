// Opens one of the macro editors on macro N of a macro file, as the main
// window will, and writes the record back when the user accepts.
//
//   editorhost script|direct <macro file> <n> [--new] [--out <file>]
//   editorhost script|direct <macro file> <n> --measure <times>
//
// --new opens the record as a new macro (as the add dialog hands it over).
// --out writes "accepted" or "cancelled" to the file when the editor
// closes. --measure opens and closes the editor that many times and prints
// the milliseconds from the request (the record read from the file) to the
// editor painted, one line each: "open-ms <ms>".
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "editor/win/editor_context.h"
#include "editor/win/path_checks_win32.h"
#include "editor/win/script_editor_win.h"
#include "editor/win/text_editors_win.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/desktop_win32.h"
#include "platform/win32/message_boxes_win32.h"
#include "platform/win32/processes_win32.h"
#include "platform/win32/sound_win32.h"
#include "store/macro_file.h"
#include "store/settings.h"
#include "store/shared_blocks.h"

namespace {

using namespace qlx;

std::string ProgramDirectory() {
  char path[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
  std::string p(path, n);
  const size_t slash = p.rfind('\\');
  return slash == std::string::npos ? std::string(".") : p.substr(0, slash);
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER f;
  ::QueryPerformanceFrequency(&f);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(f.QuadPart);
}

struct Host {
  Settings settings;
  std::vector<uint8_t> block_bytes = std::vector<uint8_t>(ab::kSize, 0);
  ActivationBlock block{block_bytes.data()};
  Win32MessageBoxes boxes;
  Win32Clock clock;
  Win32Desktop desktop;
  Win32Processes processes;
  Win32Sound sound;
  Win32PathChecks paths;
  EditorContext ctx{settings, ProgramDirectory(), desktop, processes, clock, sound, paths, {}, {}, {}, {}};
};

// Opens the editor and runs it; true when the user accepted.
bool Edit(Host& host, bool script, MacroRecord& record, bool existing) {
  EditRequest request{record, existing, false};
  if (script) return TDoScripting(host.ctx, request).Execute(nullptr);
  return TModHotKeys(host.ctx, request).Execute(nullptr);
}

// Opens, paints and closes the editor; the milliseconds from reading the
// record to the editor painted.
double MeasureOnce(Host& host, MacroFile& file, int n, bool script) {
  LARGE_INTEGER start, painted;
  ::QueryPerformanceCounter(&start);
  MacroRecord record;
  if (!file.ReadRecord(n, record)) return -1;
  EditRequest request{record, true, false};
  auto finish = [&](auto& editor) {
    if (!editor.Open(nullptr)) return -1.0;
    ::RedrawWindow(editor.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::QueryPerformanceCounter(&painted);
    ::PostMessageA(editor.hwnd(), WM_CLOSE, 0, 0);
    editor.Run();
    return Milliseconds(start, painted);
  };
  if (script) {
    TDoScripting editor(host.ctx, request);
    return finish(editor);
  }
  TModHotKeys editor(host.ctx, request);
  return finish(editor);
}

int Usage() {
  std::fprintf(stderr, "usage: editorhost script|direct <macro file> <n> [--new] [--out <file>] [--measure <times>]\n");
  return 3;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return Usage();
  const std::string which = argv[1];
  if (which != "script" && which != "direct") return Usage();
  const bool script = which == "script";
  const std::string file_name = argv[2];
  const int n = std::atoi(argv[3]);
  bool existing = true;
  std::string out;
  int measure = 0;
  for (int i = 4; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--new") existing = false;
    else if (a == "--out" && i + 1 < argc) out = argv[++i];
    else if (a == "--measure" && i + 1 < argc) measure = std::atoi(argv[++i]);
    else return Usage();
  }

  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS};
  ::InitCommonControlsEx(&icc);
  Host host;
  MacroFile file(file_name, MacroTables{host.block, host.settings.names}, host.boxes, host.clock);
  if (!file.Load().opened) return 2;

  if (measure > 0) {
    for (int i = 0; i < measure; ++i) {
      const double ms = MeasureOnce(host, file, n, script);
      if (ms < 0) return 2;
      std::printf("open-ms %.3f\n", ms);
      std::fflush(stdout);
    }
    return 0;
  }

  MacroRecord record;
  if (!file.ReadRecord(n, record)) return 2;
  const bool accepted = Edit(host, script, record, existing);
  if (accepted && !file.WriteRecord(n, record)) return 2;
  if (!out.empty()) {
    if (FILE* f = std::fopen(out.c_str(), "wb")) {
      std::fputs(accepted ? "accepted\n" : "cancelled\n", f);
      std::fclose(f);
    }
  }
  return 0;
}
