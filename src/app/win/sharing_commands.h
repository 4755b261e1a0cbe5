#pragma once
// The main window's commands for sharing and reporting macros: printing,
// the information file, import, export and network mode with its timers.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/command_states.h"
#include "app/win/list_printer.h"
#include "platform/clock.h"
#include "platform/profile.h"
#include "platform/ui.h"
#include "store/macro_file.h"
#include "store/network_sync.h"
#include "store/settings.h"

namespace qlx {

// What the commands ask of the main window.
class ISharingHost {
 public:
  virtual ~ISharingHost() = default;
  // Macro numbers in the order the list shows them.
  virtual std::vector<int> ListOrder() = 0;
  // Loads the current macro file again and shows it, keeping the row: the
  // reload after another machine changed the file.
  virtual void NetworkReload() = 0;
  // After macros were appended: the list and the hot-key table.
  virtual void AfterImport() = 0;
};

class SharingCommands : private INetworkHost {
 public:
  static constexpr UINT_PTR kSyncTimerId = 15001;
  static constexpr UINT_PTR kNetTimerId = 15002;

  SharingCommands(Settings& settings, MacroFile& file, IProfile& profile, const IClock& clock, IMessageBoxes& boxes,
                  ISharingHost& host);

  // The window that owns the dialogs and the timers, once it exists.
  void SetOwner(HWND owner) { owner_ = owner; }
  // True when the command or timer was one of these.
  bool OnCommand(UiCommand command);
  bool OnTimer(UINT_PTR id);

  // The lock of every change of the macro file.
  INetworkLock& lock() { return network_; }
  NetworkSync& network() { return network_; }
  // `macro_file` becomes current (start-up, a switch, "/N").
  void MacroFileChanged(const std::string& macro_file);
  void StartTimers() { network_.StartTimers(); }
  void StopTimers();

 private:
  void PrintMacroListClick();
  void PrinterSetupClick();
  void PrinterFontClick();
  void OutputMacroInformationClick();
  void ImportMacrosClick();
  void ExportMacrosClick();
  void NetworkClick();

  std::vector<ReportRow> ListRows();
  void SaveSettings();

  // INetworkHost
  void Reload() override { host_.NetworkReload(); }
  void SetNetTimer(bool on) override;
  void SetSyncTimer(bool on) override;

  HWND owner_ = nullptr;
  Settings& settings_;
  MacroFile& file_;
  IProfile& profile_;
  const IClock& clock_;
  IMessageBoxes& boxes_;
  ISharingHost& host_;
  NetworkSync network_;
  ListPrinter printer_;
};

}  // namespace qlx
