#pragma once
// TCaptureMacro: records a new macro from the add-macro dialog or an
// existing one again ("Recapture Macro"). "&Start Capture" hands the
// options back; the caller starts the capture (CaptureSession).
#include <windows.h>

#include <optional>
#include <string>

#include "capture/capture_session.h"
#include "platform/win32/dialog_base.h"
#include "store/settings.h"

namespace qlx {

struct CaptureMacroRequest {
  MacroRecord record;           // the edit record
  int macro = 0;                // 0: a new macro
  std::string stop_key_name;    // the Start/Stop Capture hot key
  bool global_taken = false;    // not GLOBAL while a GLOBAL macro has its code
};

class TCaptureMacro : public dlg::Dialog {
 public:
  TCaptureMacro(CaptureMacroRequest request, const Settings& settings)
      : request_(std::move(request)), settings_(settings) {}
  // The capture to start, or nothing when the dialog was closed.
  std::optional<DialogCaptureStart> ShowModal(HWND owner);

 private:
  void FormShow() override;
  // "&Start Capture", and Enter.
  bool OkButtonClick() override;
  bool OnCommand(int id, int code, HWND control) override;

  CaptureMacroRequest request_;
  const Settings& settings_;
  std::optional<DialogCaptureStart> result_;
};

}  // namespace qlx
