// The command dialogs' checks, in their order, with their messages and the
// field each refusal focuses; and the tokens their values make.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "editor/command_dialogs.h"
#include "editor/script_text.h"

namespace qlx::editor {
namespace {

class FakePaths : public IPathChecks {
 public:
  std::set<std::string> files{"C:\\WINDOWS\\NOTEPAD.EXE", "C:\\DING.WAV", "C:\\M.QLX", "C:\\T.TXT",
                              "C:\\A;B.TXT"};
  std::set<std::string> dirs{"C:\\TEMP"};
  bool FileExists(std::string_view p) override { return files.count(std::string(p)) != 0; }
  bool DirectoryExists(std::string_view p) override { return dirs.count(std::string(p)) != 0; }
};

// The refusal's text and field, or "ok" and the token.
template <typename P>
std::string Outcome(const Checked<P>& c) {
  if (c.refusal) return c.refusal->text + " @" + std::to_string(c.refusal->field);
  return "ok " + TokenOf(c.params);
}

std::string At(int field) { return " @" + std::to_string(field); }

TEST(MouseDialog, ChecksInOrder) {
  struct Case {
    MouseForm form;
    std::string outcome;
  };
  const std::string bad_x = "Invalid X Position specified.  Please correct." + At(mouse_field::kX);
  const std::string bad_y = "Invalid Y Position specified.  Please correct." + At(mouse_field::kY);
  const std::string bad_wheel =
      "Invalid number of wheel clicks specified.  Please correct." + At(mouse_field::kClicks);
  const Case cases[] = {
      {{mouse_action::kMove, "30000", "0", "1", false}, "ok <MMS:30000,00000>"},
      {{mouse_action::kMove, " 12 ", "34", "1", true}, "ok <MMW:00012,00034>"},
      {{mouse_action::kMove, "30001", "0", "1", false}, bad_x},
      {{mouse_action::kMove, "-1", "0", "1", false}, bad_x},
      {{mouse_action::kMove, "", "0", "1", false}, bad_x},
      {{mouse_action::kMove, "1.5", "0", "1", false}, bad_x},
      {{mouse_action::kMove, "x", "y", "1", false}, bad_x},  // X before Y
      {{mouse_action::kMove, "5", "30001", "1", false}, bad_y},
      {{mouse_action::kWheelForward, "x", "y", "0", false}, bad_wheel},
      {{mouse_action::kWheelBackward, "", "", "", false}, bad_wheel},
      {{mouse_action::kWheelBackward, "x", "y", "3", false}, "ok <WBW:003>"},
      {{mouse_action::kRightDouble, "x", "y", "", false}, "ok <RDCLK>"},  // no fields checked
  };
  for (const Case& c : cases) EXPECT_EQ(Outcome(CheckMouse(c.form)), c.outcome) << c.form.x;
}

TEST(MouseDialog, PanelsAndAddingPresets) {
  EXPECT_EQ(MousePanelsFor(mouse_action::kMove).client_width, 393);
  EXPECT_TRUE(MousePanelsFor(mouse_action::kMove).movement);
  EXPECT_TRUE(MousePanelsFor(mouse_action::kWheelBackward).wheel);
  EXPECT_EQ(MousePanelsFor(mouse_action::kLeftUp).client_width, 200);
  EXPECT_FALSE(MousePanelsFor(mouse_action::kLeftUp).movement);
  EXPECT_EQ(MouseActionForCommand(cmd::kMouseMove), mouse_action::kMove);
  EXPECT_EQ(MouseActionForCommand(cmd::kRightButton), mouse_action::kRightClick);
  EXPECT_EQ(MouseActionForCommand(cmd::kMiddleButton), mouse_action::kMiddleClick);
  EXPECT_EQ(MouseActionForCommand(cmd::kMouseWheel), mouse_action::kWheelForward);
  const MouseForm defaults;
  EXPECT_EQ(defaults.action, mouse_action::kMove);
  EXPECT_EQ(defaults.x, "0");
  EXPECT_EQ(defaults.clicks, "1");
}

TEST(DelayDialog, SecondsAndMilliseconds) {
  const std::string range = "Value must be greater than zero and no larger than 60." + At(delay_field::kValue);
  const std::string positive = "Value must be greater than zero." + At(delay_field::kValue);
  const std::string below = "Value must be less than 9999." + At(delay_field::kValue);
  struct Case {
    DelayForm form;
    std::string outcome;
  };
  const Case cases[] = {
      {{false, "0.5"}, "ok <DELAY:00.50>"},
      {{false, "12.25"}, "ok <DELAY:12.25>"},
      {{false, "60"}, "ok <DELAY:60.00>"},
      {{false, "60.01"}, range},
      {{false, "0"}, range},
      {{false, "-1"}, range},
      {{false, "abc"}, range},
      {{true, "250"}, "ok <MSD:0250>"},
      {{true, "9999"}, "ok <MSD:9999>"},
      {{true, "10000"}, below},
      {{true, "0"}, positive},
      {{true, "2.5"}, positive},
      {{true, ""}, positive},
  };
  for (const Case& c : cases) EXPECT_EQ(Outcome(CheckDelay(c.form)), c.outcome) << c.form.value;
}

TEST(PauseDialog, CoordinatesOfAComplexPause) {
  struct Case {
    PauseForm form;
    std::string outcome;
  };
  const Case cases[] = {
      {{true, "10", "20", "Hello"}, "ok <PAUSE:010,020Hello>"},
      {{false, "x", "y", ""}, "ok <PAUSE>"},
      {{true, "-1", "x", ""}, "Invalid Top Window Coordinate entered.  Please correct." + At(pause_field::kTop)},
      {{true, "0", "", ""}, "Invalid Left Window Coordinate entered.  Please correct." + At(pause_field::kLeft)},
      {{true, "0", "0", "a>b"}, CharacterNotAllowed('>') + At(pause_field::kMessage)},
  };
  for (const Case& c : cases) EXPECT_EQ(Outcome(CheckPause(c.form)), c.outcome) << c.form.top;
  EXPECT_TRUE(PauseForm{}.complex);
  EXPECT_EQ(PauseForm{}.top, "0");
}

TEST(RepeatDialog, CountAndWidth) {
  struct Case {
    RepeatForm form;
    std::string outcome;
  };
  const Case cases[] = {
      {{repeat::kStart, "5"}, "ok <REPEAT:0005>"},
      {{repeat::kStart, "0"}, "Value must be greater than zero." + At(repeat_field::kCount)},
      {{repeat::kStart, "9999"}, "ok <REPEAT:9999>"},
      {{repeat::kStart, "10000"}, "Value must be no larger than 9999." + At(repeat_field::kCount)},
      {{repeat::kCounter, "5"}, "Width must be between 1 and 4." + At(repeat_field::kCount)},
      {{repeat::kCounter, "0"}, "Width must be between 1 and 4." + At(repeat_field::kCount)},
      {{repeat::kCounter, "2"}, "ok <II>"},
      {{repeat::kEnd, "junk"}, "ok <ENDREP>"},
      {{repeat::kPromptStart, ""}, "ok <PROMPTREP>"},
  };
  for (const Case& c : cases) EXPECT_EQ(Outcome(CheckRepeat(c.form)), c.outcome) << c.form.count;
  EXPECT_EQ(RepeatCountLabel(repeat::kStart), "Repeat Count");
  EXPECT_EQ(RepeatCountLabel(repeat::kCounter), "Counter Width");
  EXPECT_EQ(RepeatCountLabel(repeat::kEnd), "");
}

TEST(SpeedDialog, ZeroOrGreater) {
  const std::string refused = "Value must be zero or greater." + At(speed_field::kValue);
  struct Case {
    SpeedForm form;
    std::string outcome;
  };
  const Case cases[] = {
      {{speed::kKeystroke, "0"}, "ok <SPKEY:0000>"},
      {{speed::kMouse, "25"}, "ok <SPMSE:0025>"},
      {{speed::kMouse, "-1"}, refused},
      {{speed::kMouse, "9999"}, "ok <SPMSE:9999>"},
      {{speed::kKeystroke, "10000"}, "Value must be no larger than 9999." + At(speed_field::kValue)},
      {{speed::kKeystroke, "1.5"}, refused},  // milliseconds are whole
      {{speed::kPlayback, "0.5"}, "ok <SPEED:00.50>"},
      {{speed::kPlayback, "2"}, "ok <SPEED:02.00>"},
      {{speed::kPlayback, "9999"}, "ok <SPEED:09999>"},
      {{speed::kPlayback, "-0.5"}, refused},
  };
  for (const Case& c : cases) EXPECT_EQ(Outcome(CheckSpeed(c.form)), c.outcome) << c.form.value;
  EXPECT_EQ(SpeedValueLabel(speed::kPlayback), "Playback Factor");
  EXPECT_EQ(SpeedValueLabel(speed::kMouse), "Delay in Milliseconds");
}

TEST(ActiveDialog, TitlePathDelayInOrder) {
  FakePaths paths;
  const std::string no_title = "No entry made for Window Title.  Please correct." + At(active_field::kTitle);
  const std::string no_path = "Specified Path and Program does not exist.  Please correct." + At(active_field::kPath);
  const std::string bad_delay = "Value must be greater than zero." + At(active_field::kDelay);
  const char* notepad = "C:\\WINDOWS\\NOTEPAD.EXE";
  struct Case {
    ActiveForm form;
    std::string outcome;
  };
  const Case cases[] = {
      {{program::kActivate, "Calc", "", "", "x"}, "ok <ACTIVATE:Calc>"},
      {{program::kActivate, "  ", "", "", "0"}, no_title},
      {{program::kLaunch, "", notepad, "", "x"}, "ok <LAUNCH:C:\\WINDOWS\\NOTEPAD.EXE>"},
      {{program::kLaunch, "", notepad, "a.txt", "0"},
       "ok <LAUNCH:C:\\WINDOWS\\NOTEPAD.EXE<PARAM>a.txt>"},
      {{program::kLaunch, "", "C:\\NONE.EXE", "", "0"}, no_path},
      {{program::kActivateOrLaunch, "", "C:\\NONE.EXE", "", "-1"}, no_title},  // title first
      {{program::kActivateOrLaunch, "Notepad", "C:\\NONE.EXE", "", "-1"}, no_path},
      {{program::kActivateOrLaunch, "Notepad", notepad, "", "-1"}, bad_delay},
      {{program::kActivateOrLaunch, "Notepad", notepad, "", "5"},
       "ok <LAUNCHYES:05Notepad<LAUNCH:C:\\WINDOWS\\NOTEPAD.EXE>"},
      {{program::kLaunchAndActivate, "Notepad", notepad, "", "0"},
       "ok <LAUNCHNO:00Notepad<LAUNCH:C:\\WINDOWS\\NOTEPAD.EXE>"},
      {{program::kLaunchAndActivate, "Notepad", notepad, "", "100"},
       "Value must be no larger than 99." + At(active_field::kDelay)},
      // The waiting launches' title ends at `<`; every free text at `>`.
      {{program::kLaunchAndActivate, "a<b", notepad, "", "0"}, CharacterNotAllowed('<') + At(active_field::kTitle)},
      {{program::kActivate, "a<b", "", "", "0"}, "ok <ACTIVATE:a<b>"},
      {{program::kActivate, "a>b", "", "", "0"}, CharacterNotAllowed('>') + At(active_field::kTitle)},
      {{program::kLaunch, "", notepad, "x>y", "0"}, CharacterNotAllowed('>') + At(active_field::kParameters)},
  };
  for (const Case& c : cases) EXPECT_EQ(Outcome(CheckActive(c.form, paths)), c.outcome) << c.form.title;
  EXPECT_EQ(ActiveForm{}.kind, program::kActivateOrLaunch);
  EXPECT_FALSE(ActiveShowsWindow(program::kLaunch));
  EXPECT_FALSE(ActiveShowsProgram(program::kActivate));
}

TEST(SoundDialog, SchedulerAlarmNoneKeepsTheWaveFile) {
  struct Case {
    SoundParams chosen;
    bool use_wave;
    const char* file;
    bool wait;
  };
  const Case cases[] = {
      {{sound::kBeep, "", false}, false, "C:\\OLD.WAV", true},
      {{sound::kWave, "C:\\NEW.WAV", false}, true, "C:\\NEW.WAV", false},
  };
  for (const Case& c : cases) {
    Settings s;
    s.use_wave_file = s.wave_file_wait = true;
    s.wave_file = "C:\\OLD.WAV";
    StoreSchedulerAlarm(c.chosen, s);
    EXPECT_EQ(s.use_wave_file, c.use_wave);
    EXPECT_EQ(s.wave_file, c.file);
    EXPECT_EQ(s.wave_file_wait, c.wait);
  }
}

TEST(SoundDialog, WaveFileMustExist) {
  FakePaths paths;
  EXPECT_EQ(Outcome(CheckSound({sound::kBeep, "nothing", false}, paths)), "ok <BEEP>");
  EXPECT_EQ(Outcome(CheckSound({sound::kWave, "C:\\DING.WAV", true}, paths)), "ok <WAV1:C:\\DING.WAV>");
  EXPECT_EQ(Outcome(CheckSound({sound::kWave, "C:\\DING.WAV", false}, paths)), "ok <WAV2:C:\\DING.WAV>");
  EXPECT_EQ(Outcome(CheckSound({sound::kWave, "C:\\NO.WAV", true}, paths)),
            "Specified WAV File does not exist.  Please correct." + At(sound_field::kPath));
  EXPECT_EQ(CheckSoundTest("C:\\DING.WAV", paths), std::nullopt);
  ASSERT_TRUE(CheckSoundTest("", paths));
  EXPECT_EQ(CheckSoundTest("", paths)->text, "Specified WAV File does not exist.  Please correct.");
}

TEST(SingleStringDialogs, SwapTextRemarkWeb) {
  FakePaths paths;
  EXPECT_EQ(Outcome(CheckSwap(" C:\\M.QLX ", paths)), "ok <SWAP:C:\\M.QLX>");
  EXPECT_EQ(Outcome(CheckSwap("C:\\X.QLX", paths)),
            "Specified Macro File does not exist.  Please correct." + At(string_field::kText));

  const TextInsertCheck exists = CheckTextInsert("C:\\T.TXT", paths);
  EXPECT_FALSE(exists.question);
  EXPECT_EQ(TokenOf(exists.params), "<TFILE:C:\\T.TXT>");
  const TextInsertCheck missing = CheckTextInsert("C:\\NEW.TXT", paths);
  ASSERT_TRUE(missing.question);
  EXPECT_EQ(missing.question->text, "Specified Path and Program does not exist.  Do you wish to correct?");
  EXPECT_EQ(missing.question->caption, "Warning");
  EXPECT_EQ(TokenOf(missing.params), "<TFILE:C:\\NEW.TXT>");  // what No accepts
  ASSERT_TRUE(CheckEditTextFile("C:\\NEW.TXT", paths));
  EXPECT_EQ(CheckEditTextFile("C:\\NEW.TXT", paths)->text,
            "Specified Path and Program does not exist.  Unable to open text file.");
  EXPECT_EQ(CheckEditTextFile("C:\\T.TXT", paths), std::nullopt);

  EXPECT_EQ(Outcome(CheckRemark("")), "ok <REM:>");  // an empty remark is allowed
  EXPECT_EQ(Outcome(CheckRemark(" note ")), "ok <REM:note>");
  EXPECT_EQ(Outcome(CheckRemark("a > b")), CharacterNotAllowed('>') + At(string_field::kText));

  EXPECT_EQ(Outcome(CheckWeb(false, "www.example.com")), "ok <HTTP:http://www.example.com>");
  EXPECT_EQ(Outcome(CheckWeb(false, "WwW.example.com")), "ok <HTTP:http://WwW.example.com>");
  EXPECT_EQ(Outcome(CheckWeb(false, "example.com")), "ok <HTTP:example.com>");
  EXPECT_EQ(Outcome(CheckWeb(true, "www.example.com")), "ok <FTP:www.example.com>");
  EXPECT_EQ(WebPrefill(false), "http://");
  EXPECT_EQ(WebPrefill(true), "ftp://");
}

TEST(SizeDialog, TitleThenNumbers) {
  const std::string no_title = "No Window title specified.  Please correct" + At(size_field::kTitle);
  struct Case {
    SizeForm form;
    std::string outcome;
  };
  const Case cases[] = {
      {{true, "", sizepos::kResize, "10", "30"}, "ok <WSIZE:0010,0030\"CURRENT\">"},
      {{true, "", sizepos::kResize, "9", "30"},
       "Invalid width specified.  Width must be 10 or greater.  Please correct." + At(size_field::kFirst)},
      {{true, "", sizepos::kResize, "10", "29"},
       "Invalid height specified.  Height must be 30 or greater.  Please correct." + At(size_field::kSecond)},
      {{false, " ", sizepos::kResize, "x", "x"}, no_title},
      {{false, "Calc", sizepos::kReposition, "0", "0"}, "ok <WPOS:0000,0000Calc>"},
      {{false, "Calc", sizepos::kReposition, "-1", "0"},
       "Invalid left position specified.  Please correct." + At(size_field::kFirst)},
      {{false, "Calc", sizepos::kReposition, "5", ""},
       "Invalid top position specified.  Please correct." + At(size_field::kSecond)},
  };
  for (const Case& c : cases) EXPECT_EQ(Outcome(CheckSize(c.form)), c.outcome) << c.form.first;
  EXPECT_EQ(SizeFirstLabel(sizepos::kReposition), "Left");
  EXPECT_EQ(SizeSecondLabel(sizepos::kResize), "Height");
}

TEST(SystemDialog, SpecificWindowNeedsATitle) {
  EXPECT_EQ(Outcome(CheckSystem({window::kShutDown, true, ""})), "ok <WSHUT:\"CURRENT\">");
  EXPECT_EQ(Outcome(CheckSystem({window::kHide, false, "Calc"})), "ok <WHIDE:Calc>");
  EXPECT_EQ(Outcome(CheckSystem({window::kHide, false, ""})),
            "No Window title specified.  Please correct" + At(system_field::kTitle));
}

TEST(ClipboardDialog, FileCopyNeedsAFile) {
  FakePaths paths;
  EXPECT_EQ(Outcome(CheckClipboard({clip::kStartCopy, ""}, paths)), "ok <BEGCLIP>");
  EXPECT_EQ(Outcome(CheckClipboard({clip::kPaste, "junk"}, paths)), "ok <CLIPP>");
  EXPECT_EQ(Outcome(CheckClipboard({clip::kFileCopy, "C:\\T.TXT"}, paths)), "ok <CLIPF:C:\\T.TXT>");
  EXPECT_EQ(Outcome(CheckClipboard({clip::kFileCopy, "C:\\NO.TXT"}, paths)),
            "Specified Text File does not exist.  Please correct." + At(clipboard_field::kPath));
}

TEST(KeyUpDownDialog, NoChoiceIsNoCommand) {
  EXPECT_EQ(KeyUpDownResult(0), std::nullopt);
  EXPECT_EQ(TokenOf(*KeyUpDownResult(1)), "<CTLD>");
  EXPECT_EQ(TokenOf(*KeyUpDownResult(8)), "<WINU>");
  EXPECT_EQ(KeyDownCodeForCommand(cmd::kControlKey), 1);
  EXPECT_EQ(KeyDownCodeForCommand(cmd::kAltKey), 3);
  EXPECT_EQ(KeyDownCodeForCommand(cmd::kShiftKey), 5);
  EXPECT_EQ(KeyDownCodeForCommand(cmd::kWinKey), 7);
}

TEST(FilesDialog, NewNameThenPath) {
  FakePaths paths;
  const std::string no_file = "Specified Text File does not exist.  Please correct." + At(files_field::kPath);
  const std::string no_name = "No new name specified.  Please correct." + At(files_field::kNewName);
  struct Case {
    FilesForm form;
    std::string outcome;
  };
  const Case cases[] = {
      {{file::kChangeDirectory, "C:\\TEMP\\", ""}, "ok <CHDIR:C:\\TEMP>"},
      {{file::kChangeDirectory, "C:\\TEMP", ""}, "ok <CHDIR:C:\\TEMP>"},
      {{file::kChangeDirectory, "C:\\NONE", ""},
       "Specified directory/folder does not exist.  Please correct." + At(files_field::kPath)},
      {{file::kCopy, "C:\\NONE.TXT", ""}, no_name},  // the new name is checked first
      {{file::kCopy, "C:\\NONE.TXT", "B.TXT"}, no_file},
      {{file::kCopy, "C:\\T.TXT", "C:\\U.TXT"}, "ok <COPYFILE:C:\\T.TXT;C:\\U.TXT>"},
      {{file::kRename, "C:\\T.TXT", "V.TXT"}, "ok <RENFILE:C:\\T.TXT;V.TXT>"},
      {{file::kDelete, "C:\\T.TXT", "ignored"}, "ok <DELFILE:C:\\T.TXT>"},
      {{file::kDelete, "C:\\NONE.TXT", ""}, no_file},
      // A copy's first path ends at `;`.
      {{file::kCopy, "C:\\A;B.TXT", "C.TXT"}, CharacterNotAllowed(';') + At(files_field::kPath)},
      {{file::kDelete, "C:\\A;B.TXT", ""}, "ok <DELFILE:C:\\A;B.TXT>"},
  };
  for (const Case& c : cases) EXPECT_EQ(Outcome(CheckFiles(c.form, paths)), c.outcome) << c.form.path;
  EXPECT_EQ(FilesPathLabel(file::kChangeDirectory), "Directory/Folder");
  EXPECT_EQ(FilesPathLabel(file::kCopy), "Text File Path/Name");
  EXPECT_TRUE(FilesShowsNewName(file::kRename));
  EXPECT_FALSE(FilesShowsNewName(file::kDelete));
}

TEST(DateTimeDialog, TokensOfTheChoices) {
  EXPECT_EQ(TokenOf(DateTimeResult({true, 1, false, "0", true})), "<MM/DD/YY{YF000}>");
  EXPECT_EQ(TokenOf(DateTimeResult({true, 24, true, "7", false})), "<DD Mmm YYYY{NP007}>");
  EXPECT_EQ(TokenOf(DateTimeResult({false, 21, true, "9", false})), "<hh:mm:ss AM{N}>");
  EXPECT_EQ(TokenOf(DateTimeResult({false, 1, false, "", true})), "<hh:mm{Y}>");
  // Only three digits fit the token; anything else counts as no offset.
  EXPECT_EQ(TokenOf(DateTimeResult({true, 1, false, "1000", true})), "<MM/DD/YY{YF000}>");
  EXPECT_EQ(TokenOf(DateTimeResult({true, 99, false, "x", true})), "<MM/DD/YY{YF000}>");
  const DateTimeForm back = DateTimeFormFor(DateTimeParams{true, 5, false, false, 12});
  EXPECT_EQ(back.format, 5);
  EXPECT_TRUE(back.suppress_zeros);
  EXPECT_EQ(back.days, "12");
  EXPECT_FALSE(back.future);
}

TEST(SpecWindDialog, EmptyFieldRefusedOrOffersTheHighlightedEntry) {
  SpecWindForm f;
  f.title = "  ";
  SpecWindCheck c = CheckSpecWind(f);
  ASSERT_TRUE(c.refusal);
  EXPECT_EQ(c.refusal->text, "No window title has been entered.  Please correct.");
  f.program = true;
  EXPECT_EQ(CheckSpecWind(f).refusal->text, "No program name has been entered.  Please correct.");
  f.highlighted = "A very long program name.EXE";
  c = CheckSpecWind(f);
  EXPECT_FALSE(c.refusal);
  ASSERT_TRUE(c.question);
  EXPECT_EQ(c.question->text,
            "No program name has been entered.  \"A very long program name.EXE\" is currently "
            "highlighted.  Would you like to use it?");
  EXPECT_EQ(c.question->caption, "Error");
  EXPECT_EQ(c.name, "A very long program ");  // what Yes takes: the field's 20 characters
  f.title = " Notepad ";
  f.on_top = false;
  c = CheckSpecWind(f);
  EXPECT_FALSE(c.refusal || c.question);
  EXPECT_EQ(c.name, "Notepad");
  EXPECT_FALSE(c.on_top);
  EXPECT_TRUE(IsProgramListEntry("notepad.exe"));
  EXPECT_FALSE(IsProgramListEntry("System"));
}

TEST(DelayPrompt, ItsThreeModes) {
  EXPECT_EQ(CheckDelayPrompt(DelayPromptMode::Delay, "1.5").token, "<DELAY:01.50>");
  EXPECT_EQ(CheckDelayPrompt(DelayPromptMode::Delay, "61").refusal->text,
            "Value must be greater than zero and no larger than 60.");
  EXPECT_EQ(CheckDelayPrompt(DelayPromptMode::Keypad, "0233").token, "<ALT4:0233>");
  EXPECT_EQ(CheckDelayPrompt(DelayPromptMode::Keypad, "65").token, "<ALT:065>");
  EXPECT_EQ(CheckDelayPrompt(DelayPromptMode::Keypad, "6a").refusal->text, "Value must be numeric.");
  EXPECT_EQ(CheckDelayPrompt(DelayPromptMode::Keypad, "-5").refusal->text, "Value must be numeric.");
  EXPECT_EQ(CheckDelayPrompt(DelayPromptMode::SchedulerFrequency, "60").seconds, 60);
  EXPECT_EQ(CheckDelayPrompt(DelayPromptMode::SchedulerFrequency, "0").refusal->text,
            "Value must be between 1 and 60.");
  EXPECT_EQ(DelayPromptTextFor(DelayPromptMode::Keypad).max_chars, 4);
  EXPECT_EQ(DelayPromptTextFor(DelayPromptMode::Delay).caption, "Set Delay");
  EXPECT_EQ(DelayPromptTextFor(DelayPromptMode::SchedulerFrequency).label, "Check Every");
}

TEST(SymbolGrid, ColumnsRunDownwards) {
  EXPECT_EQ(static_cast<unsigned char>(SymbolAt(0, 0)), 128);
  EXPECT_EQ(static_cast<unsigned char>(SymbolAt(0, 7)), 135);
  EXPECT_EQ(static_cast<unsigned char>(SymbolAt(1, 0)), 136);
  EXPECT_EQ(static_cast<unsigned char>(SymbolAt(15, 7)), 255);
}

}  // namespace
}  // namespace qlx::editor

namespace qlx::editor {
namespace {

// Everything exists: the round trip below is about values, not files.
class AllPaths : public IPathChecks {
 public:
  bool FileExists(std::string_view) override { return true; }
  bool DirectoryExists(std::string_view) override { return true; }
};

template <typename P>
std::optional<Params> Ok(const Checked<P>& c) {
  return c.ok() ? std::optional<Params>(c.params) : std::nullopt;
}

struct EditVisitor {
  IPathChecks& paths;
  std::optional<Params> operator()(const TextRun& t) const { return t; }
  std::optional<Params> operator()(const DateTimeParams& d) const { return DateTimeResult(DateTimeFormFor(d)); }
  std::optional<Params> operator()(const DelayParams& d) const { return Ok(CheckDelay(DelayFormFor(d))); }
  std::optional<Params> operator()(const PauseParams& d) const { return Ok(CheckPause(PauseFormFor(d))); }
  std::optional<Params> operator()(const RepeatParams& d) const { return Ok(CheckRepeat(RepeatFormFor(d))); }
  std::optional<Params> operator()(const SpeedParams& d) const { return Ok(CheckSpeed(SpeedFormFor(d))); }
  std::optional<Params> operator()(const ProgramParams& d) const { return Ok(CheckActive(ActiveFormFor(d), paths)); }
  std::optional<Params> operator()(const SoundParams& d) const { return Ok(CheckSound(SoundFormFor(d), paths)); }
  std::optional<Params> operator()(const StringParams& d) const {
    switch (d.command) {
      case cmd::kLoadMacroFile: return Ok(CheckSwap(d.text, paths));
      case cmd::kLoadTextFile: return Params(CheckTextInsert(d.text, paths).params);
      case cmd::kWebSite: return Ok(CheckWeb(false, d.text));
      case cmd::kWebFtp: return Ok(CheckWeb(true, d.text));
      default: return Ok(CheckRemark(d.text));
    }
  }
  std::optional<Params> operator()(const SizePositionParams& d) const { return Ok(CheckSize(SizeFormFor(d))); }
  std::optional<Params> operator()(const WindowParams& d) const { return Ok(CheckSystem(SystemFormFor(d))); }
  std::optional<Params> operator()(const MouseParams& d) const { return Ok(CheckMouse(MouseFormFor(d))); }
  std::optional<Params> operator()(const ClipboardParams& d) const {
    return Ok(CheckClipboard(ClipboardForm{d.kind, d.path}, paths));
  }
  std::optional<Params> operator()(const ModifierParams& d) const {
    auto r = KeyUpDownResult(d.code);
    return r ? std::optional<Params>(*r) : std::nullopt;
  }
  std::optional<Params> operator()(const FileParams& d) const { return Ok(CheckFiles(FilesFormFor(d), paths)); }
};

// The values a dialog gives back when it is opened on a line and OK is
// pressed without a change: equal values keep the line's token as it was
// read (ScriptList::Edit).
std::optional<Params> EditUnchanged(const Params& p) {
  AllPaths paths;
  return std::visit(EditVisitor{paths}, p);
}

TEST(DialogRoundTrip, OkWithoutChangesGivesBackTheLinesValues) {
  const std::string text =
      "<MM/DD/YY{Y}><DD Mmm YYYY{NP007}><hh:mm:ss AM{N}><DELAY:01.50><MSD:0250><PAUSE>"
      "<PAUSE:010,020Insert the disk><REPEAT:0003><ENDREP><PROMPTREP><III><SPKEY:0010><SPMSE:0000>"
      "<SPEED:00.50><SPEED:00002><ACTIVATE:Calc><LAUNCH:C:\\E.EXE<PARAM>/R A.TXT>"
      "<LAUNCHYES:05Notepad<LAUNCH:N.EXE><LAUNCHNO:12Calc<LAUNCH:C.EXE>><BEEP><WAV1:D.WAV><WAV2:D.WAV>"
      "<SWAP:M.QLX><TFILE:T.TXT><REM:a note><HTTP:http://a.com><FTP:ftp://b.com>"
      "<WSIZE:0640,0480\"CURRENT\"><WPOS:0010,0020Calc><WMAX:Calc><WSHUT:\"CURRENT\"><WHIDE:x>"
      "<MMS:00100,00200><MMW:00001,00002><LCLK><RDCLK><MDN><MUP><WFW:003><WBW:012>"
      "<BEGCLIP>x<ENDCLIP><CLIPC><CLIPP><CLIPF:C.TXT><CTLD><ALTU><SHFD><WINU>"
      "<CHDIR:C:\\TEMP><DELFILE:A.TXT><COPYFILE:A.TXT;B.TXT><RENFILE:A.TXT;B.TXT>";
  for (const ScriptLine& line : BuildTheScript(text)) {
    const std::optional<Params> again = EditUnchanged(line.params);
    ASSERT_TRUE(again) << line.source << " is refused by its own dialog";
    EXPECT_EQ(*again, line.params) << line.source;
  }
}

TEST(DialogRoundTrip, DialogRulesThatChangeAValueOnOk) {
  // The web dialog puts "http://" before an address that begins with www,
  // and the folder of a change of directory loses one trailing backslash:
  // such a line is written anew when it is edited.
  EXPECT_EQ(TokenOf(*EditUnchanged(StringParams{cmd::kWebSite, "www.x.com"})), "<HTTP:http://www.x.com>");
  EXPECT_EQ(TokenOf(*EditUnchanged(FileParams{file::kChangeDirectory, "C:\\TEMP\\", ""})), "<CHDIR:C:\\TEMP>");
}

}  // namespace
}  // namespace qlx::editor
