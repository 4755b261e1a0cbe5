#pragma once
// TDoSchedule: "Set Schedule", the schedule of a timed macro. The record
// takes the schedule only when "&Update" accepts every field.
#include <windows.h>

#include "activation/schedule_form.h"
#include "platform/win32/dialog_base.h"
#include "store/macro_record.h"

namespace qlx {

class TDoSchedule : public dlg::Dialog {
 public:
  TDoSchedule(MacroRecord& record, const CivilDate& today) : record_(record), today_(today) {}

  // True when the schedule was updated.
  bool ShowModal(HWND owner);

 private:
  void FormShow() override;
  // "&Update", and Enter.
  bool OkButtonClick() override;
  bool OnCommand(int id, int code, HWND control) override;
  void RunMacroClick(int id);
  void ShowPanel(uint16_t kind);
  ScheduleForm ReadForm() const;

  MacroRecord& record_;
  CivilDate today_;
};

}  // namespace qlx
