// Help > Contents: the contents page of the help in the user's browser.
#include "app/win/main_window.h"
#include "help/help_topics.h"
#include "platform/win32/dialog.h"

namespace qlx {

void TMainWin::HelpContentsClick() { dlg::OpenHelp(hwnd_, ctx_.program_dir, help::kContents); }

}  // namespace qlx
