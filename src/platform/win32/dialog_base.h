#pragma once
// The base of every dialog of the program: it owns the window handle, runs
// the dialog modally (by the dialog manager or by a loop of its own),
// centres it, answers its Help button and F1 through the common help, and
// routes the messages to the handlers a dialog overrides. An exception in a
// handler is reported in a message box and never crosses the window
// procedure.
#include <windows.h>

#include <commctrl.h>

namespace qlx::dlg {

class Dialog {
 public:
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  HWND hwnd() const { return hwnd_; }

  // The dialog object of a dialog window made here, or null.
  static Dialog* Of(HWND dialog);

 protected:
  enum class Placement { Centred, OwnPlace };
  explicit Dialog(Placement placement = Placement::Centred) : placement_(placement) {}
  virtual ~Dialog() = default;

  // Modal from the program's resources: the result End was given, -1 when
  // the dialog could not be made.
  INT_PTR RunModal(int template_id, HWND owner);

  // Modal with a loop of its own, so that PreviewMessage sees every message
  // of the thread before the dialog manager. OpenOwnModal makes and shows
  // the dialog with `parent` as its owner and disables `disabled` (when
  // given and enabled) meanwhile; RunOwnModal runs until End, gives the
  // disabled window back and destroys the dialog, and returns End's result.
  bool OpenOwnModal(int template_id, HWND parent, HWND disabled);
  bool OpenOwnModal(int template_id, HWND owner) { return OpenOwnModal(template_id, owner, owner); }
  INT_PTR RunOwnModal();

  // Closes the dialog with `result`.
  void End(INT_PTR result);

  // WM_INITDIALOG. The dialog manager puts the focus on the first control
  // unless FormShow put it somewhere in the dialog itself.
  virtual void FormShow() {}
  // "&Ok" (IDOK, Enter): true when the dialog may close with IDOK.
  virtual bool OkButtonClick() { return true; }
  // "&Cancel", Esc and the close box.
  virtual void FormClose() { End(IDCANCEL); }
  // IDHELP, when the common help did not take it.
  virtual void OnHelp() {}
  // Commands of the dialog's own controls (those above come after); true
  // when handled.
  virtual bool OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return false; }
  // WM_NOTIFY; true when handled, with the notification's result.
  virtual bool OnNotify(const NMHDR& /*header*/, LPARAM /*lp*/, LRESULT& /*result*/) { return false; }
  virtual bool OnTimer(UINT_PTR /*id*/) { return false; }
  // Every other message, as a dialog procedure answers it.
  virtual INT_PTR OnMessage(UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/) { return FALSE; }
  // Own-modal loop only: true for a message the dialog has consumed.
  virtual bool PreviewMessage(MSG& /*msg*/) { return false; }

 private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR Route(UINT msg, WPARAM wp, LPARAM lp, const char*& handler);
  INT_PTR Guarded(UINT msg, WPARAM wp, LPARAM lp);

  HWND hwnd_ = nullptr;
  HWND disabled_ = nullptr;
  Placement placement_;
  bool own_loop_ = false;
  bool done_ = false;
  INT_PTR result_ = IDCANCEL;
};

}  // namespace qlx::dlg
