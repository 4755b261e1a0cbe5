#pragma once
// What the main window does to the macro on the selected row: copy,
// rename, remove, activate or deactivate, and Quick Info. The checks, the
// questions, the lock, the file changes and the refresh that follows are
// decided here; the window supplies the dialogs and the list.
#include <optional>
#include <string>
#include <string_view>

#include "app/copy_or_move.h"
#include "app/feature_hooks.h"
#include "platform/clock.h"
#include "platform/ui.h"
#include "store/macro_file.h"
#include "store/network_lock.h"

namespace qlx {

inline constexpr char kMacroLimitText[] = "Maximum number of hot keys has been reached.  Add not allowed.";
inline constexpr char kDeleteCaption[] = "Delete";

// The first question of a removal.
std::string RemoveQuestion(uint16_t code, std::string_view snapword);
// The second question, for a macro that a popup menu lists.
std::string RemoveFromMenuQuestion(uint16_t code, std::string_view snapword);

// The main window's side of the operations.
class IListOperationsHost {
 public:
  virtual ~IListOperationsHost() = default;
  // The macro on the selected row, or 0.
  virtual int SelectedMacro() const = 0;
  virtual int SelectedRow() const = 0;
  // Rebuilds the row map and the list.
  virtual void FillList() = 0;
  virtual void SelectMacro(int n) = 0;
  // Selects a row; a row past the end selects the last one.
  virtual void SelectRow(int row) = 0;
  // The command states for the selected row (and the captions with them).
  virtual void CheckTimeItem() = 0;
  virtual void RepaintList() = 0;
  virtual void SetButtons(bool on) = 0;
  virtual void SetHotKeys() = 0;
  // Loads the current macro file again, as at a switch.
  virtual void ReloadMacroFile() = 0;
  // The dialogs. True when the user confirmed.
  virtual bool RunCopyOrMove(CopyMoveMode mode, MacroRecord& working) = 0;
  virtual bool RunSystemHotKeys(int digit) = 0;
  virtual void ShowQuickInfo(const MacroRecord& record) = 0;
};

class MacroListOperations {
 public:
  MacroListOperations(MacroFile& file, IMessageBoxes& boxes, INetworkLock& lock, FeatureHooks& hooks,
                      IListOperationsHost& host, const bool& disable_screen_saver)
      : file_(file),
        boxes_(boxes),
        lock_(lock),
        hooks_(hooks),
        host_(host),
        disable_screen_saver_(disable_screen_saver) {}

  void Copy();
  void Rename();
  void Remove();
  void Activate();
  void QuickInfo();
  // The System Hot Keys dialog opened from the Options menu.
  void EditSystemHotKeys();

  // The selected macro, or 0 after telling the user why there is none.
  int SelectedOrRefuse();
  // FillList, select macro n, its command states; the schedule for a
  // timed macro.
  void Refresh(int n);

 private:
  void ScreenSaverCheck();
  ActivationBlock& block() { return file_.tables().block; }

  MacroFile& file_;
  IMessageBoxes& boxes_;
  INetworkLock& lock_;
  FeatureHooks& hooks_;
  IListOperationsHost& host_;
  const bool& disable_screen_saver_;
  MacroRecord working_;
};

}  // namespace qlx
