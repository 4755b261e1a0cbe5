// The script writer's token formats, the display texts of lines made by
// dialogs, and the 5000-character rule.
#include <gtest/gtest.h>

#include <string>

#include "editor/script_text.h"
#include "editor/text_util.h"

namespace qlx::editor {
namespace {

TEST(ScriptWriter, TokenOfEachRecord) {
  struct Case {
    Params params;
    const char* token;
  };
  const Case cases[] = {
      {TextRun{"Hi<ENTER>"}, "Hi<ENTER>"},
      {DateTimeParams{true, 1, true, true, 0}, "<MM/DD/YY{YF000}>"},
      {DateTimeParams{true, 24, false, false, 7}, "<DD Mmm YYYY{NP007}>"},
      {DateTimeParams{false, 21, false, true, 0}, "<hh:mm:ss AM{N}>"},
      {DateTimeParams{false, 1, true, true, 0}, "<hh:mm{Y}>"},
      {DelayParams{DelayUnit::Seconds, 0.5}, "<DELAY:00.50>"},
      {DelayParams{DelayUnit::Seconds, 12.25}, "<DELAY:12.25>"},
      {DelayParams{DelayUnit::Seconds, 60}, "<DELAY:60.00>"},
      {DelayParams{DelayUnit::Milliseconds, 250}, "<MSD:0250>"},
      {PauseParams{1, 5, 5, "x"}, "<PAUSE>"},
      {PauseParams{2, 20, 10, "Hello"}, "<PAUSE:010,020Hello>"},
      {RepeatParams{repeat::kStart, 5}, "<REPEAT:0005>"},
      {RepeatParams{repeat::kEnd, 0}, "<ENDREP>"},
      {RepeatParams{repeat::kPromptStart, 0}, "<PROMPTREP>"},
      {RepeatParams{repeat::kCounter, 3}, "<III>"},
      {SpeedParams{speed::kKeystroke, 10, 1}, "<SPKEY:0010>"},
      {SpeedParams{speed::kMouse, 0, 1}, "<SPMSE:0000>"},
      {SpeedParams{speed::kPlayback, 0, 0.25}, "<SPEED:00.25>"},
      {SpeedParams{speed::kPlayback, 0, 9999}, "<SPEED:09999>"},
      {ProgramParams{program::kActivate, "Calc", "", "", 0}, "<ACTIVATE:Calc>"},
      {ProgramParams{program::kLaunch, "", "C:\\E.EXE", "", 0}, "<LAUNCH:C:\\E.EXE>"},
      {ProgramParams{program::kLaunch, "", "C:\\E.EXE", "/R A", 0}, "<LAUNCH:C:\\E.EXE<PARAM>/R A>"},
      {ProgramParams{program::kActivateOrLaunch, "Notepad", "N.EXE", "", 5},
       "<LAUNCHYES:05Notepad<LAUNCH:N.EXE>"},
      {ProgramParams{program::kLaunchAndActivate, "Calc", "C.EXE", "x", 12},
       "<LAUNCHNO:12Calc<LAUNCH:C.EXE<PARAM>x>"},
      {SoundParams{sound::kBeep, "", true}, "<BEEP>"},
      {SoundParams{sound::kWave, "D.WAV", true}, "<WAV1:D.WAV>"},
      {SoundParams{sound::kWave, "D.WAV", false}, "<WAV2:D.WAV>"},
      {StringParams{cmd::kLoadMacroFile, "M.QLX"}, "<SWAP:M.QLX>"},
      {StringParams{cmd::kLoadTextFile, "T.TXT"}, "<TFILE:T.TXT>"},
      {StringParams{cmd::kRemark, "note"}, "<REM:note>"},
      {StringParams{cmd::kWebSite, "http://a"}, "<HTTP:http://a>"},
      {StringParams{cmd::kWebFtp, "ftp://a"}, "<FTP:ftp://a>"},
      {SizePositionParams{"", sizepos::kResize, true, 10, 30}, "<WSIZE:0010,0030\"CURRENT\">"},
      {SizePositionParams{"Calc", sizepos::kReposition, false, 0, 5}, "<WPOS:0000,0005Calc>"},
      {WindowParams{"Calc", window::kMaximize, false}, "<WMAX:Calc>"},
      {WindowParams{"", window::kShutDown, true}, "<WSHUT:\"CURRENT\">"},
      {WindowParams{"a", window::kShow, false}, "<WSHOW:a>"},
      {WindowParams{"a", window::kHide, false}, "<WHIDE:a>"},
      {WindowParams{"a", window::kMinimize, false}, "<WMIN:a>"},
      {WindowParams{"a", window::kRestore, false}, "<WRES:a>"},
      {WindowParams{"a", window::kClose, false}, "<WCLS:a>"},
      {MouseParams{100, 200, 0, mouse_action::kMove, false}, "<MMS:00100,00200>"},
      {MouseParams{1, 2, 0, mouse_action::kMove, true}, "<MMW:00001,00002>"},
      {MouseParams{0, 0, 3, mouse_action::kWheelForward, false}, "<WFW:003>"},
      {MouseParams{0, 0, 12, mouse_action::kWheelBackward, false}, "<WBW:012>"},
      {MouseParams{0, 0, 0, mouse_action::kLeftClick, true}, "<LCLK>"},
      {MouseParams{0, 0, 0, mouse_action::kLeftDouble, true}, "<LDCLK>"},
      {MouseParams{0, 0, 0, mouse_action::kLeftDown, true}, "<LDN>"},
      {MouseParams{0, 0, 0, mouse_action::kLeftUp, true}, "<LUP>"},
      {MouseParams{0, 0, 0, mouse_action::kRightClick, true}, "<RCLK>"},
      {MouseParams{0, 0, 0, mouse_action::kRightUp, true}, "<RUP>"},
      {MouseParams{0, 0, 0, mouse_action::kMiddleDouble, true}, "<MDCLK>"},
      {MouseParams{0, 0, 0, mouse_action::kMiddleDown, true}, "<MDN>"},
      {ClipboardParams{clip::kStartCopy, ""}, "<BEGCLIP>"},
      {ClipboardParams{clip::kEndCopy, ""}, "<ENDCLIP>"},
      {ClipboardParams{clip::kCopy, ""}, "<CLIPC>"},
      {ClipboardParams{clip::kPaste, ""}, "<CLIPP>"},
      {ClipboardParams{clip::kFileCopy, "C.TXT"}, "<CLIPF:C.TXT>"},
      {ModifierParams{1}, "<CTLD>"},
      {ModifierParams{4}, "<ALTU>"},
      {ModifierParams{5}, "<SHFD>"},
      {ModifierParams{8}, "<WINU>"},
      {FileParams{file::kChangeDirectory, "C:\\T", ""}, "<CHDIR:C:\\T>"},
      {FileParams{file::kDelete, "A.TXT", ""}, "<DELFILE:A.TXT>"},
      {FileParams{file::kCopy, "A.TXT", "B.TXT"}, "<COPYFILE:A.TXT;B.TXT>"},
      {FileParams{file::kRename, "A.TXT", "B.TXT"}, "<RENFILE:A.TXT;B.TXT>"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TokenOf(c.params), c.token);
    // Every record names its own command, and reads back as itself.
    const auto lines = BuildTheScript(c.token);
    ASSERT_EQ(lines.size(), 1u) << c.token;
    EXPECT_EQ(CommandOfParams(lines[0].params), CommandOfParams(c.params)) << c.token;
  }
}

TEST(ScriptWriter, FixedRealFieldStaysFiveCharacters) {
  EXPECT_EQ(FixedReal5(0.5), "00.50");
  EXPECT_EQ(FixedReal5(12.25), "12.25");
  EXPECT_EQ(FixedReal5(0), "00.00");
  EXPECT_EQ(FixedReal5(99.99), "99.99");
  EXPECT_EQ(FixedReal5(99.999), "100.0");  // two decimals would give six characters
  EXPECT_EQ(FixedReal5(123.4), "123.4");
  EXPECT_EQ(FixedReal5(1000.25), "01000");
  EXPECT_EQ(FixedReal5(12345), "12345");
  EXPECT_EQ(FixedReal5(250000), "99999");  // the largest the field can hold
  EXPECT_EQ(FixedReal5(-3), "00.00");
}

TEST(ScriptWriter, PaddedKeepsLongerNumbers) {
  EXPECT_EQ(Padded(5, 2), "05");
  EXPECT_EQ(Padded(5, 4), "0005");
  EXPECT_EQ(Padded(12345, 4), "12345");
  EXPECT_EQ(Padded(0, 3), "000");
}

TEST(ScriptWriter, DialogDisplayTextsDifferFromTheReadersInPlaces) {
  const WindowParams current{"", window::kMinimize, true};
  EXPECT_EQ(DisplayText(current, DisplayFor::Dialog), "Minimize Window - Current Window");
  EXPECT_EQ(DisplayText(current, DisplayFor::Reader), "Minimize Window - Current Win");
  const ProgramParams either{program::kActivateOrLaunch, "Notepad", "C:\\W\\NOTEPAD.EXE", "", 5};
  EXPECT_EQ(DisplayText(either, DisplayFor::Dialog), "Activate or Launch: \"Notepad\" OR NOTEPAD.EXE");
  EXPECT_EQ(DisplayText(either, DisplayFor::Reader), "Activate or Launch: NOTEPAD.EXE");
  const std::string address = "http://" + std::string(40, 'w');
  const StringParams web{cmd::kWebSite, address};
  EXPECT_EQ(DisplayText(web, DisplayFor::Dialog), "Web Site: " + address.substr(0, 40) + "...");
  EXPECT_EQ(DisplayText(web, DisplayFor::Reader), "Web Site: " + address);
  // Size and position lines read the same from both.
  const SizePositionParams size{"", sizepos::kResize, true, 10, 30};
  EXPECT_EQ(DisplayText(size, DisplayFor::Dialog), DisplayText(size, DisplayFor::Reader));
}

TEST(ScriptWriter, LineWithoutACommandNameContributesNothing) {
  std::vector<ScriptLine> lines = BuildTheScript("a<CLIPC>b");
  lines[1].text = "Something else";
  EXPECT_EQ(WriteScript(lines), "ab");
}

TEST(ScriptWriter, LinesMadeByDialogsUseTheWritersFormat) {
  std::vector<ScriptLine> lines = BuildTheScript("<MM/DD/YY{Y}>");
  lines.push_back(LineFromDialog(DateTimeParams{true, 1, true, true, 0}));
  EXPECT_EQ(WriteScript(lines), "<MM/DD/YY{Y}><MM/DD/YY{YF000}>");
}

TEST(ScriptWriter, TruncationMessageText) {
  EXPECT_EQ(TruncationMessage(),
            "The size of the macro exceeds the 5000 character limit.  The macro will be truncated "
            "to 5000 characters.");
}

}  // namespace
}  // namespace qlx::editor
