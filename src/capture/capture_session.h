#pragma once
// A capture from start to end: the quick capture (Start/Stop Capture hot
// key, tray "Start Capture"), the Capture Macro dialog's start, the
// characters the hook library sends and the end by the stop key, the own
// hot key or the tray's "End Capture". The main window routes the messages
// here and carries out the window work through ICaptureHost.
#include <cstdint>
#include <string>

#include "capture/capture_complete.h"
#include "capture/capture_file.h"
#include "capture/capture_options.h"
#include "engine/engine_state.h"
#include "store/macro_record.h"
#include "store/settings.h"
#include "store/shared_blocks.h"

namespace qlx {

class ICaptureHost {
 public:
  virtual ~ICaptureHost() = default;
  // The on-top message (caption "Error", "Start Capture", "Capture").
  virtual void DoAMessage(const std::string& caption, const std::string& text) = 0;
  // File name of the program in front (GetTopProgram).
  virtual std::string GetTopProgram() = 0;
  // Network mode: takes the file lock (true when not in network mode);
  // false leaves the capture unstarted, silently.
  virtual bool TakeNetworkLock() = 0;
  virtual void ReleaseNetworkLock(bool changed) = 0;
  // Raises the count, appends the record as the new last macro and
  // refills the list; the new number, or 0 when it could not be saved.
  virtual int AppendMacro(const MacroRecord& record) = 0;
  virtual bool ReadRecord(int n, MacroRecord& record) = 0;
  virtual bool WriteRecord(int n, const MacroRecord& record) = 0;
  virtual void ShowRecordingIcon(bool shown) = 0;
  // Dialog capture: in tray mode hide the program and give the foreground
  // to the window last activated outside it; otherwise minimize.
  virtual void StepAsideForCapture() = 0;
  // Quick capture: shows the program, runs Capture Complete modally on the
  // record (true: Ok), then hides it again as it was.
  virtual bool RunCaptureComplete(MacroRecord& record, const std::string& top_program) = 0;
  // After the record is saved: SetHotKeys, the main window forward, the
  // list refilled with `macro` selected, the next deactivation let pass.
  virtual void CaptureFinished(int macro) = 0;
};

// What the Capture Macro dialog hands over when "&Start Capture" is pressed.
struct DialogCaptureStart {
  MacroRecord record;  // the edit record (nickname already in it)
  int macro = 0;       // its number; 0 for a new macro (appended at the end)
  CaptureOptions options;
  bool program_scope = false;  // "&Program" chosen
};

class CaptureSession {
 public:
  CaptureSession(ActivationBlock block, Settings& settings, EngineState& engine, const IClock& clock,
                 ICaptureHost& host, std::string program_dir)
      : block_(block), settings_(settings), engine_(engine), clock_(clock), host_(host), dir_(std::move(program_dir)) {}

  // StartACapture. `browse` while the program runs with /B or /BA.
  void StartACapture(bool browse);
  // The Capture Macro dialog's "&Start Capture".
  void StartDialogCapture(const DialogCaptureStart& start);
  // MSG_CAPTURE_CHAR.
  void OnCaptureChar(uint32_t w, uint32_t lparam);
  // MSG_CAPTURE_DONE, and the tray's "End Capture" with the block's target.
  void OnCaptureDone(uint32_t w);
  void EndCaptureFromTray() { OnCaptureDone(static_cast<uint32_t>(static_cast<uint16_t>(block_.CaptureTarget()))); }

  bool Recording() const { return recording_; }
  bool QuickCapture() const { return quick_; }
  std::string CaptureFilePath() const { return JoinProgramPath(dir_, kCaptureFileName); }
  // The stop key's name as the prompts show it.
  std::string StopKeyName() const;

 private:
  void ArmBlock(const CaptureOptions& options, int16_t target, const MacroRecord* own);

  ActivationBlock block_;
  Settings& settings_;
  EngineState& engine_;
  const IClock& clock_;
  ICaptureHost& host_;
  std::string dir_;
  CaptureFile file_;
  bool quick_ = false;
  bool recording_ = false;
  bool finished_ = true;  // characters are dropped once set
  bool program_scope_ = false;
  bool dialog_new_ = false;
  int target_ = 0;
  MacroRecord edit_;
  std::string top_program_;
  int speed_ = kSpeedActual;
};

}  // namespace qlx
