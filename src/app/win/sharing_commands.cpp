#include "app/win/sharing_commands.h"

#include "app/win/file_dialogs.h"
#include "app/win/export_macros.h"
#include "app/win/import_macros.h"
#include "app/win/network_considerations.h"
#include "app/win/output_macros.h"

namespace qlx {

namespace {

// Tells this copy's lock markers apart from every other copy's, on this
// machine and on the others.
std::string MarkerToken() {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  if (!::GetComputerNameA(name, &size)) name[0] = '\0';
  return std::string(name) + "-" + std::to_string(::GetCurrentProcessId()) + "-" +
         std::to_string(::GetTickCount());
}

}  // namespace

SharingCommands::SharingCommands(Settings& settings, MacroFile& file, IProfile& profile, const IClock& clock,
                                 IMessageBoxes& boxes, ISharingHost& host)
    : settings_(settings),
      file_(file),
      profile_(profile),
      clock_(clock),
      boxes_(boxes),
      host_(host),
      network_({settings.network_mode, settings.auto_sync, settings.sync_minutes}, clock, boxes, DiskSyncFiles(),
               *this, MarkerToken()) {}

bool SharingCommands::OnCommand(UiCommand command) {
  switch (command) {
    case UiCommand::PrintList: PrintMacroListClick(); return true;
    case UiCommand::PrinterSetup: PrinterSetupClick(); return true;
    case UiCommand::PrinterFont: PrinterFontClick(); return true;
    case UiCommand::OutputInfo: OutputMacroInformationClick(); return true;
    case UiCommand::Import: ImportMacrosClick(); return true;
    case UiCommand::Export: ExportMacrosClick(); return true;
    case UiCommand::Network: NetworkClick(); return true;
    default: return false;
  }
}

bool SharingCommands::OnTimer(UINT_PTR id) {
  if (id == kSyncTimerId) network_.SyncTimerTick();
  else if (id == kNetTimerId) network_.NetTimerTick();
  else return false;
  return true;
}

void SharingCommands::SetNetTimer(bool on) {
  if (on) ::SetTimer(owner_, kNetTimerId, kNetTimerMs, nullptr);
  else ::KillTimer(owner_, kNetTimerId);
}

void SharingCommands::SetSyncTimer(bool on) {
  if (on) ::SetTimer(owner_, kSyncTimerId, kSyncTimerMs, nullptr);
  else ::KillTimer(owner_, kSyncTimerId);
}

void SharingCommands::StopTimers() {
  if (!owner_) return;
  for (UINT_PTR id : {kSyncTimerId, kNetTimerId}) ::KillTimer(owner_, id);
}

void SharingCommands::MacroFileChanged(const std::string& macro_file) {
  if (settings_.network_mode) network_.OpenSync(macro_file);
}

void SharingCommands::SaveSettings() {
  RefreshFontStyleFlags(settings_);
  WriteSettings(profile_, settings_);
}

std::vector<ReportRow> SharingCommands::ListRows() {
  std::vector<ReportRow> rows;
  const MacroTables& t = file_.tables();
  for (int n : host_.ListOrder()) {
    ReportRow row;
    row.nickname = t.names.Nickname(n);
    if (!file_.ReadRecord(n, row.record)) throw StoreIoError("Cannot open the macro file", file_.name());
    rows.push_back(std::move(row));
  }
  return rows;
}

void SharingCommands::PrintMacroListClick() {
  printer_.PrintList(owner_, ListRows(), file_.name(), settings_.print_list_font);
}

void SharingCommands::PrinterSetupClick() { printer_.PrinterSetup(owner_); }

void SharingCommands::PrinterFontClick() {
  if (!ListPrinter::ChoosePrintFont(owner_, settings_.print_list_font)) return;
  settings_.print_list_bold = settings_.print_list_font.bold;
  settings_.print_list_italic = settings_.print_list_font.italic;
  SaveSettings();
}

void SharingCommands::OutputMacroInformationClick() {
  if (file_.tables().block.ClampedCount() == 0) {
    boxes_.Show(kErrorCaption, "No hot keys have been added yet.  Please add one first.");
    return;
  }
  TOutputMacros dialog;
  const bool chosen = dialog.ShowModal(owner_);
  if (chosen) {
    FileDialogRequest request;
    request.title = kInfoSaveTitle;
    request.filter = kInfoSaveFilter;
    request.default_extension = "TXT";
    request.flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    request.save = true;
    if (const auto target = AskFileName(owner_, request)) {
      const std::string text = InformationFile(ListRows(), dialog.parts());
      if (!WriteTextFile(DiskFileSystem(), *target, text)) boxes_.Show(kErrorCaption, kCannotCreateTextFileText);
    }
  }
  SaveSettings();
}

void SharingCommands::ImportMacrosClick() {
  FileChange change(network_);
  if (!change.Taken()) return;
  TImportMacros dialog(file_, clock_);
  int imported = 0;
  try {
    imported = dialog.ShowModal(owner_);
  } catch (...) {
    change.Changed();  // the file may have changed before the error
    host_.AfterImport();
    throw;
  }
  if (imported == 0) return;
  change.Changed();
  host_.AfterImport();
}

void SharingCommands::ExportMacrosClick() {
  TExportMacros dialog(file_);
  dialog.ShowModal(owner_);
}

void SharingCommands::NetworkClick() {
  TNetworkConsiderations dialog({settings_.network_mode, settings_.auto_sync, settings_.sync_minutes});
  const auto result = dialog.ShowModal(owner_);
  if (!result) return;
  SetSyncTimer(result->sync_timer_on);
  if (result->reset_ticks) network_.ResetSyncTicks();
  if (result->open_sync) network_.OpenSync(file_.name());
  SaveSettings();
}

}  // namespace qlx
