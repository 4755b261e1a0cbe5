#include "activation/win/do_schedule.h"

#include <array>

#include "activation/scheduler.h"
#include "engine/date_time.h"
#include "platform/win32/dialog.h"
#include "resource.h"
#include "store/macro_file.h"

namespace qlx {
namespace {

// Kind 0 (at start-up) is the last radio button; kinds 1..6 come first.
int RadioOf(uint16_t kind) { return kind == kScheduleAtStartup ? IDC_SCHED_STARTUP : IDC_SCHED_ONCE + kind - 1; }
uint16_t KindOf(int radio) {
  return radio == IDC_SCHED_STARTUP ? kScheduleAtStartup : static_cast<uint16_t>(radio - IDC_SCHED_ONCE + 1);
}

struct Panel {
  int first;
  const char* title;
};
// Indexed by schedule kind.
constexpr std::array<Panel, 7> kPanels = {{
    {IDC_STARTUP_FIRST, "At Startup"},
    {IDC_ONCE_FIRST, "Once"},
    {IDC_HOURLY_FIRST, "Hourly"},
    {IDC_DAILY_FIRST, "Daily"},
    {IDC_WEEKLY_FIRST, "Weekly"},
    {IDC_MONTHLY_FIRST, "Monthly"},
    {IDC_OTHER_FIRST, "Every N Minutes"},
}};

// Check box of weekday w (0 = Sunday) and its place among the record's
// Monday-first day flags.
int DayCheckBox(int w) { return IDC_DAILY_SUN + w; }
size_t FlagIndex(int w) { return static_cast<size_t>((w + 6) % 7); }

constexpr int kTimeChars = 7;
constexpr int kYearChars = 4;

int FieldControl(ScheduleField f) {
  switch (f) {
    case ScheduleField::OnceDay: return IDC_ONCE_DAY;
    case ScheduleField::OnceMonth: return IDC_ONCE_MONTH;
    case ScheduleField::OnceYear: return IDC_ONCE_YEAR;
    case ScheduleField::HourlyMinutes: return IDC_HOURLY_MINUTES;
    case ScheduleField::MonthlyDay: return IDC_MONTHLY_DAY;
    case ScheduleField::Interval: return IDC_OTHER_MINUTES;
  }
  return IDC_SCHED_UPDATE;
}

}  // namespace

bool TDoSchedule::ShowModal(HWND owner) { return RunModal(IDD_SET_SCHEDULE, owner) == IDOK; }

void TDoSchedule::FormShow() {
  HWND month = dlg::Item(hwnd(), IDC_ONCE_MONTH);
  for (std::string_view m : MonthNames) dlg::combo::Add(month, std::string(m));
  HWND weekday = dlg::Item(hwnd(), IDC_WEEKLY_DAY);
  for (std::string_view d : DayNames) dlg::combo::Add(weekday, std::string(d));
  dlg::SetSpinRange(hwnd(), IDC_ONCE_DAY_SPIN, 1, 31);
  dlg::SetSpinRange(hwnd(), IDC_ONCE_YEAR_SPIN, 1, 9999);
  dlg::SetSpinRange(hwnd(), IDC_HOURLY_SPIN, 0, 59);
  dlg::SetSpinRange(hwnd(), IDC_MONTHLY_SPIN, 1, 31);
  dlg::SetSpinRange(hwnd(), IDC_OTHER_SPIN, 1, kMaxIntervalMinutes);
  for (int id : {IDC_ONCE_TIME, IDC_DAILY_TIME, IDC_WEEKLY_TIME, IDC_MONTHLY_TIME})
    dlg::SetEditLimit(hwnd(), id, kTimeChars);
  dlg::SetEditLimit(hwnd(), IDC_ONCE_YEAR, kYearChars);

  const ScheduleForm f = FormFromRecord(record_);
  dlg::SetText(hwnd(), IDC_ONCE_TIME, f.once_time);
  dlg::SetText(hwnd(), IDC_DAILY_TIME, f.daily_time);
  dlg::SetText(hwnd(), IDC_WEEKLY_TIME, f.weekly_time);
  dlg::SetText(hwnd(), IDC_MONTHLY_TIME, f.monthly_time);
  dlg::combo::Select(month, f.once_month);
  dlg::SetText(hwnd(), IDC_ONCE_DAY, f.once_day);
  dlg::SetText(hwnd(), IDC_ONCE_YEAR, f.once_year);
  dlg::SetText(hwnd(), IDC_HOURLY_MINUTES, f.hourly_minutes);
  for (int w = 0; w < 7; ++w) dlg::SetChecked(hwnd(), DayCheckBox(w), f.days[FlagIndex(w)]);
  dlg::combo::Select(weekday, f.weekly_weekday);
  dlg::SetText(hwnd(), IDC_MONTHLY_DAY, f.monthly_day);
  dlg::SetText(hwnd(), IDC_OTHER_MINUTES, f.interval);
  dlg::CheckRadio(hwnd(), IDC_SCHED_ONCE, IDC_SCHED_STARTUP, RadioOf(f.kind));
  ShowPanel(f.kind);
}

void TDoSchedule::ShowPanel(uint16_t kind) {
  for (size_t k = 0; k < kPanels.size(); ++k)
    for (int id = kPanels[k].first; id < kPanels[k].first + IDC_PANEL_SPAN; ++id)
      if (HWND item = dlg::Item(hwnd(), id)) ::ShowWindow(item, k == kind ? SW_SHOW : SW_HIDE);
  dlg::SetText(hwnd(), IDC_SCHED_PANEL, kind < kPanels.size() ? kPanels[kind].title : "");
}

void TDoSchedule::RunMacroClick(int id) { ShowPanel(KindOf(id)); }

ScheduleForm TDoSchedule::ReadForm() const {
  ScheduleForm f;
  f.kind = KindOf(dlg::CheckedRadio(hwnd(), IDC_SCHED_ONCE, IDC_SCHED_STARTUP, IDC_SCHED_DAILY));
  f.once_time = dlg::GetText(hwnd(), IDC_ONCE_TIME);
  f.daily_time = dlg::GetText(hwnd(), IDC_DAILY_TIME);
  f.weekly_time = dlg::GetText(hwnd(), IDC_WEEKLY_TIME);
  f.monthly_time = dlg::GetText(hwnd(), IDC_MONTHLY_TIME);
  f.once_month = dlg::combo::Selected(dlg::Item(hwnd(), IDC_ONCE_MONTH));
  f.once_day = dlg::GetText(hwnd(), IDC_ONCE_DAY);
  f.once_year = dlg::GetText(hwnd(), IDC_ONCE_YEAR);
  f.hourly_minutes = dlg::GetText(hwnd(), IDC_HOURLY_MINUTES);
  for (int w = 0; w < 7; ++w) f.days[FlagIndex(w)] = dlg::IsChecked(hwnd(), DayCheckBox(w));
  f.weekly_weekday = dlg::combo::Selected(dlg::Item(hwnd(), IDC_WEEKLY_DAY));
  f.monthly_day = dlg::GetText(hwnd(), IDC_MONTHLY_DAY);
  f.interval = dlg::GetText(hwnd(), IDC_OTHER_MINUTES);
  return f;
}

bool TDoSchedule::OkButtonClick() {
  if (const auto refusal = ApplyScheduleForm(ReadForm(), today_, record_)) {
    dlg::ShowMessage(hwnd(), kErrorCaption, refusal->text);
    const int field = FieldControl(refusal->focus);
    dlg::Focus(hwnd(), field);
    if (field != IDC_ONCE_MONTH) dlg::SelectAll(hwnd(), field);
    return false;
  }
  return true;
}

bool TDoSchedule::OnCommand(int id, int code, HWND) {
  if (id >= IDC_SCHED_ONCE && id <= IDC_SCHED_STARTUP && code == BN_CLICKED) {
    RunMacroClick(id);
    return true;
  }
  if (id != IDC_SCHED_UPDATE) return false;
  if (OkButtonClick()) End(IDOK);
  return true;
}

}  // namespace qlx
