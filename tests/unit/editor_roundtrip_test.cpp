// Opening a macro in the script editor and saving it never changes what it
// plays. Each case is a token where a reader that reads values its own way
// would disagree with the player; the reader follows the player, and a line
// rebuilt from its values plays as the token did.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/script_text.h"
#include "fakes/playback_trace.h"

namespace qlx::editor {
namespace {

std::vector<std::string> Texts(const std::vector<ScriptLine>& lines) {
  std::vector<std::string> out;
  for (const ScriptLine& l : lines) out.push_back(l.text);
  return out;
}

// The text a script gives when every line is written from its values, as
// after an edit of each line.
std::string WriteFromValues(const std::vector<ScriptLine>& lines) {
  std::string out;
  for (const ScriptLine& l : lines) out += TokenOf(l.params);
  return out;
}

struct Case {
  const char* name;
  std::string text;
  std::vector<std::string> lines;
};

class ReaderFollowsPlayer : public testing::TestWithParam<Case> {};

TEST_P(ReaderFollowsPlayer, LinesAndReplayAgree) {
  const Case& c = GetParam();
  const auto lines = BuildTheScript(c.text);
  EXPECT_EQ(Texts(lines), c.lines);
  EXPECT_EQ(WriteScript(lines), c.text);
  EXPECT_EQ(fake::PlaybackTrace(WriteFromValues(lines)), fake::PlaybackTrace(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderFollowsPlayer,
    testing::Values(
        // Date and time tokens are read as the player matches them.
        Case{"DateFlagNeitherYNorN", "<MM/DD/YY{X}>", {"Text: <MM/DD/YY{X}>"}},
        Case{"ShortDateWithoutBrace", "<DD{Yx>", {"Text: <DD{Yx>"}},
        Case{"LongDateWithoutClosing", "<DD{NF007)>", {"Text: <DD{NF007)>"}},
        Case{"DateOffsetNotDigits", "a<DD{NF00x}>b", {"Text: a<DD{NF00x}>b"}},
        Case{"DateOddDirectionIsFuture", "<DD{NX003}>", {"Date (3 days in future): DD  (30)"}},
        // Numbers that are not digits: the player ignores the token.
        Case{"WheelClicksNotDigits", "<WFW:0a1>", {"Text: <WFW:0a1>"}},
        Case{"DelayNotANumber", "<DELAY:1.2.3>", {"Text: <DELAY:1.2.3>"}},
        Case{"MilliDelayNotDigits", "<MSD:12x4>", {"Text: <MSD:12x4>"}},
        Case{"KeySpeedNotDigits", "<SPKEY:00x0>z", {"Text: <SPKEY:00x0>z"}},
        Case{"PlaybackSpeedNotANumber", "<SPEED:fast!>", {"Text: <SPEED:fast!>"}},
        Case{"RepeatCountNotDigits", "<REPEAT:00x5>a<ENDREP>",
             {"Text: <REPEAT:00x5>a", "Repeat End"}},
        Case{"LaunchDelayNotDigits", "<LAUNCHNO:xyCalc<LAUNCH:NOTEPAD.EXE>",
             {"Text: <LAUNCHNO:xyCalc<LAUNCH:NOTEPAD.EXE>"}},
        Case{"PauseCoordinatesNotDigits", "<PAUSE:1x0,020Hi>", {"Text: <PAUSE:1x0,020Hi>"}},
        // The player reads mouse coordinates as real numbers; the line
        // holds whole ones.
        Case{"MouseMoveWithDecimals", "<MMS:100.5,00200>", {"Text: <MMS:100.5,00200>"}},
        // Fixed positions, whatever the separator, and texts too short for
        // the fixed fields.
        Case{"SizeSeparatorNotAComma", "<WPOS:0010;0020Calc>",
             {"Reposition Window - \"Calc\" (Left: 10 Top: 20)"}},
        Case{"PauseSeparatorIsAClosing", "<PAUSE:010>020Hi>", {"Pause: Complex"}},
        Case{"SizeTooShort", "<WSIZE:0640,04", {"Text: <WSIZE:0640,04"}},
        Case{"PauseTooShort", "<PAUSE:010,02", {"Text: <PAUSE:010,02"}},
        // A launch-and-wait token needs "<LAUNCH:" where its title ends.
        Case{"LaunchWaitWithoutLaunch", "<LAUNCHNO:05Title<ENTER>",
             {"Text: <LAUNCHNO:05Title<ENTER>"}},
        Case{"LaunchWaitWithoutAnyLessThan", "<LAUNCHYES:05Title", {"Text: <LAUNCHYES:05Title"}},
        // The program text's "<PARAM>" rule is the player's.
        Case{"ParamMarkerWithArguments", "<LAUNCH:C:\\E.EXE<PARAM>/R A.TXT>",
             {"Launch Program: E.EXE"}},
        Case{"ParamMarkerWithoutArguments", "<LAUNCH:C:\\E.EXE<PARAM>>", {"Launch Program: E.EXE"}},
        Case{"IncompleteMarkerInPath", "<LAUNCH:a<PARAMb>c>", {"Text: <LAUNCH:a<PARAMb>c>"}},
        // A pair's separator counts only before the closing `>`.
        Case{"CopyWithoutSeparator", "<COPYFILE:C:\\PLAY.TXT>b;c>",
             {"Copy File: PLAY.TXT", "Text: b;c>"}},
        // The text between "<BEGCLIP>" and "<ENDCLIP>" goes to the clipboard
        // as it stands.
        Case{"ClipboardBodyIsText", "<BEGCLIP>x<MM/DD/YY{Y}><DELAY:1.500>y<ENDCLIP>",
             {"Clipboard Start Copy", "Text: x<MM/DD/YY{Y}><DELAY:1.500>y", "Clipboard End Copy"}},
        Case{"ClipboardWithoutEnd", "<BEGCLIP>a<DD{Y}>",
             {"Clipboard Start Copy", "Text: a", "Date: DD  (30)"}},
        // Tokens the reader has no line for are text, as they stand.
        Case{"MouseButtonKeysAndTest", "<RIGHT MOUSE><TEST>", {"Text: <RIGHT MOUSE><TEST>"}},
        // Large real numbers keep the field's five characters.
        Case{"LongDelay", "<DELAY:12345>", {"Delay 12345.00 Seconds"}},
        Case{"SlowSpeed", "<SPEED:123.4><DELAY:00.01>", {"Macro Playback Speed: 123.4 Times Slower Than Normal",
                                                         "Delay 0.01 Seconds"}}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(ScriptRoundTrip, UnchangedLinesAreWrittenAsRead) {
  // The long date form is four characters longer: here it would complete
  // the mouse move before it, and the date would no longer be typed.
  const std::string text = "<MMS:1<DD{Y}>";
  const auto lines = BuildTheScript(text);
  ASSERT_EQ(Texts(lines), (std::vector<std::string>{"Text: <MMS:1", "Date: DD  (30)"}));
  EXPECT_EQ(WriteScript(lines), text);
  EXPECT_NE(fake::PlaybackTrace(WriteFromValues(lines)), fake::PlaybackTrace(text));
}

TEST(ScriptRoundTrip, MixedMacroComesBackByteForByte) {
  const std::string text =
      "Dear Sir,<ENTER><CTLD>a<CTLU><REPEAT:0003>x<I><ENDREP><DELAY:1.500><MSD:0250>"
      "<WSIZE:0640,0480\"CURRENT\"><LAUNCHYES:05Notepad<LAUNCH:NOTEPAD.EXE<PARAM>a.txt>"
      "<MM/DD/YY{Y}><hh:mm{N}><PAUSE:010,020Hello><REM:note><COPYFILE:a;b><WBW:003>"
      "<MMW:00010,00020><BEGCLIP>clip<ENDCLIP><SPEED:00002><HTTP:www.x.com>end";
  EXPECT_EQ(WriteScript(BuildTheScript(text)), text);
}

}  // namespace
}  // namespace qlx::editor
