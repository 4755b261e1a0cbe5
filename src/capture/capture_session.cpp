#include "capture/capture_session.h"

#include "store/hotkey_table.h"

namespace qlx {

std::string CaptureSession::StopKeyName() const {
  const int code = StopCaptureCode(block_);
  return code < 0 ? std::string() : std::string(HotKeyName(code));
}

void CaptureSession::ArmBlock(const CaptureOptions& options, int16_t target, const MacroRecord* own) {
  WriteCaptureOptionBytes(block_, options);
  block_.ClearCaptureState();
  const int stop = StopCaptureCode(block_);
  block_.SetStopKey(stop < 0 ? CaptureKey{} : CaptureKeyOf(DecipherKey(stop)));
  block_.SetHasOwnKey(false);
  if (own && own->Code() < kHotKeyCodes) {
    block_.SetOwnKey(CaptureKeyOf(DecipherKey(own->Code())));
    block_.SetHasOwnKey(true);
  }
  block_.SetCaptureTarget(target);
  block_.SetCaptureStartPending(true);
}

void CaptureSession::StartACapture(bool browse) {
  if (browse) {
    host_.DoAMessage(kErrorCaption, kCaptureBrowseText);
    return;
  }
  if (quick_ || recording_) {
    host_.DoAMessage(kErrorCaption, kCaptureInProgressText);
    return;
  }
  if (block_.ClampedCount() >= kMaxMacros) {
    host_.DoAMessage(kErrorCaption, kCaptureMaxMacrosText);
    return;
  }
  if (!host_.TakeNetworkLock()) return;
  finished_ = false;
  const int n = host_.AppendMacro(QuickCaptureRecord());
  if (n <= 0) {
    host_.ReleaseNetworkLock(false);
    return;
  }
  target_ = n;
  dialog_new_ = false;
  program_scope_ = false;
  const CaptureOptions options = CaptureOptionsOf(settings_);
  speed_ = options.speed;
  top_program_ = host_.GetTopProgram();
  ArmBlock(options, static_cast<int16_t>(n), nullptr);
  file_.Create(CaptureFilePath());
  if (options.time) file_.Write(SpeedToken(speed_));
  quick_ = true;
  recording_ = true;
  if (options.prompt) host_.DoAMessage(kStartCaptureCaption, StartCapturePromptText(StopKeyName()));
  host_.ShowRecordingIcon(true);
  block_.SetCaptureActive(true);
}

void CaptureSession::StartDialogCapture(const DialogCaptureStart& start) {
  file_.Create(CaptureFilePath());
  speed_ = start.options.speed;
  finished_ = false;
  edit_ = start.record;
  dialog_new_ = start.macro <= 0;
  if (dialog_new_) edit_.SetActive(true);
  // A recapture starts GLOBAL too: "&Global" makes it so, and "&Program"
  // sets the program in front at the end.
  edit_.SetScope(kScopeGlobal);
  edit_.SetScopeText("");
  edit_.SetTopMostOnly(false);
  // A new macro will be the next number; the block names it so the hook
  // library's messages carry it.
  target_ = dialog_new_ ? block_.ClampedCount() + 1 : start.macro;
  ArmBlock(start.options, static_cast<int16_t>(target_), edit_.Code() == kSnapwordCode ? nullptr : &edit_);
  if (start.options.time) file_.Write(SpeedToken(speed_));
  program_scope_ = start.program_scope;
  quick_ = false;
  recording_ = true;
  host_.StepAsideForCapture();
  host_.ShowRecordingIcon(true);
  block_.SetCaptureActive(true);
}

void CaptureSession::OnCaptureChar(uint32_t w, uint32_t lparam) {
  engine_.CurrentMacro = static_cast<int32_t>(w);
  const auto c = static_cast<char>(lparam & 0xFF);
  if (finished_ || c == 0) return;
  file_.Put(c);
}

void CaptureSession::OnCaptureDone(uint32_t w) {
  // A second end (the stop key and the tray together) finds nothing to end.
  if (!recording_) return;
  if (!finished_) top_program_ = host_.GetTopProgram();
  host_.ShowRecordingIcon(false);
  finished_ = true;
  recording_ = false;
  block_.SetCaptureActive(false);
  const int n = target_;
  engine_.CurrentMacro = n;
  (void)w;  // the number the library carries is the one the block named
  MacroRecord record;
  if (dialog_new_ || !quick_) record = edit_;
  if (quick_ && !host_.ReadRecord(n, record)) record = QuickCaptureRecord();
  record.SetLastModified(clock_.Now());
  file_.Close();
  const CapturedText captured = TakeCapturedText(CaptureFilePath(), dir_);
  record.SetText(captured.text);
  if (quick_) {
    host_.RunCaptureComplete(record, top_program_);
  } else if (program_scope_) {
    record.SetScope(kScopeProgram);
    record.SetScopeText(top_program_.substr(0, mr::kScopeTextCapacity));
    record.SetTopMostOnly(true);
  }
  int saved = n;
  if (dialog_new_) saved = host_.AppendMacro(record);
  else if (!host_.WriteRecord(n, record)) saved = 0;
  host_.ReleaseNetworkLock(saved > 0 || quick_);  // the quick capture appended at its start
  // A record the file did not take is not reported as captured.
  if (!quick_ && saved > 0)
    host_.DoAMessage(kCaptureCaption, CaptureCompleteForText(record.Code(), record.Snapword()));
  quick_ = false;
  host_.CaptureFinished(saved);
}

}  // namespace qlx
