#pragma once
// TOutputMacros: "Output Macros To File", the parts of the macro
// information file.
#include <windows.h>

#include "app/macro_report.h"

namespace qlx {

class TOutputMacros {
 public:
  // True with the chosen parts when "&Ok" passed its check.
  bool ShowModal(HWND owner);
  const InfoParts& parts() const { return parts_; }

  HWND hwnd_ = nullptr;
  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void FormShow();
  void OkButtonClick();

  InfoParts parts_ = kAllInfoParts;
};

}  // namespace qlx
