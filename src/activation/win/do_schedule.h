#pragma once
// TDoSchedule: "Set Schedule", the schedule of a timed macro. The record
// takes the schedule only when "&Update" accepts every field.
#include <windows.h>

#include "activation/schedule_form.h"
#include "store/macro_record.h"

namespace qlx {

class TDoSchedule {
 public:
  TDoSchedule(MacroRecord& record, const CivilDate& today) : record_(record), today_(today) {}
  TDoSchedule(const TDoSchedule&) = delete;
  TDoSchedule& operator=(const TDoSchedule&) = delete;

  // True when the schedule was updated.
  bool ShowModal(HWND owner);

  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;

 private:
  void FormShow();
  void RunMacroClick(int id);
  void UpdateButtonClick();
  void ShowPanel(uint16_t kind);
  ScheduleForm ReadForm() const;

  MacroRecord& record_;
  CivilDate today_;
  bool updated_ = false;
};

}  // namespace qlx
