#pragma once
// Marks a dialog of the main window open while it is (the tray's hiding
// and showing ask).
namespace qlx {

class DialogOpen {
 public:
  explicit DialogOpen(bool& flag) : flag_(flag) { flag_ = true; }
  ~DialogOpen() { flag_ = false; }
  DialogOpen(const DialogOpen&) = delete;
  DialogOpen& operator=(const DialogOpen&) = delete;

 private:
  bool& flag_;
};

}  // namespace qlx
