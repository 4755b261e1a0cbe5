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
//
// The program folder (for the Icons folder) is the macro file's folder.
// Exit codes: 0 done, 1 the file could not be loaded, 3 bad arguments.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "activation/record_source.h"
#include "activation/schedule_form.h"
#include "activation/win/do_schedule.h"
#include "editor/popup_menu_chooser.h"
#include "editor/win/popup_build_menu.h"
#include "editor/win/popup_choose_macro.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/icon_folder_win32.h"
#include "platform/win32/message_boxes_win32.h"
#include "store/macro_file.h"

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
  if (command == "choose" && argc == 6) return Choose(s, std::atoi(argv[3]), std::atoi(argv[4]), argv[5]);
  return kBadArgs;
}
