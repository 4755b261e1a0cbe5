// A dialog whose handlers throw, on the Remark template: the base reports
// each exception and the dialog goes on; prints what the dialog returned.
//
//   dialogbarrier
#include <windows.h>

#include <cstdio>
#include <stdexcept>

#include "platform/win32/dialog_base.h"
#include "resource.h"

namespace qlx {
namespace {

class TThrowing : public dlg::Dialog {
 public:
  INT_PTR Show() { return RunModal(IDD_DO_REMARK, nullptr); }

 private:
  void FormShow() override { throw std::runtime_error("no form today"); }
  bool OkButtonClick() override { throw std::runtime_error("no ok today"); }
};

}  // namespace
}  // namespace qlx

int main() {
  qlx::TThrowing dialog;
  std::printf("returned %d\n", static_cast<int>(dialog.Show()));
  std::fflush(stdout);
  return 0;
}
