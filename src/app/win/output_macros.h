#pragma once
// TOutputMacros: "Output Macros To File", the parts of the macro
// information file.
#include <windows.h>

#include "app/macro_report.h"
#include "platform/win32/dialog_base.h"

namespace qlx {

class TOutputMacros : public dlg::Dialog {
 public:
  // True with the chosen parts when "&Ok" passed its check.
  bool ShowModal(HWND owner);
  const InfoParts& parts() const { return parts_; }

 private:
  void FormShow() override;
  bool OkButtonClick() override;

  InfoParts parts_ = kAllInfoParts;
};

}  // namespace qlx
