// The script reader: macro text into script lines, their display texts and
// their indentation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/script_text.h"

namespace qlx::editor {
namespace {

std::vector<std::string> Texts(const std::vector<ScriptLine>& lines) {
  std::vector<std::string> out;
  for (const ScriptLine& l : lines) out.push_back(l.text);
  return out;
}
std::vector<std::string> Read(std::string_view text) { return Texts(BuildTheScript(text)); }

using Lines = std::vector<std::string>;

TEST(ScriptReader, EmptyTextGivesEmptyScript) { EXPECT_TRUE(BuildTheScript("").empty()); }

TEST(ScriptReader, TextAndCommandsAlternate) {
  EXPECT_EQ(Read("Dear Sir,<ENTER><ENTER>"), Lines{"Text: Dear Sir,<ENTER><ENTER>"});
  EXPECT_EQ(Read("abc<REPEAT:0003>x<ENDREP>"),
            (Lines{"Text: abc", "Repeat Start: 3", "Text: x", "Repeat End"}));
  EXPECT_EQ(Read("<FOO>"), Lines{"Text: <FOO>"});
  // Two commands in a row: no empty text line between them.
  EXPECT_EQ(Read("<CLIPC><CLIPP>"), (Lines{"Clipboard Copy", "Clipboard Paste"}));
}

TEST(ScriptReader, KeysAndCharacterCodesStayInTheTextRun) {
  const auto lines = BuildTheScript("a<TAB><SHIFT>b<ALT:065><ALT4:0233><F24><KEYP/><ALT>c");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(std::get<TextRun>(lines[0].params).text,
            "a<TAB><SHIFT>b<ALT:065><ALT4:0233><F24><KEYP/><ALT>c");
}

TEST(ScriptReader, TextLineShowsFiftyCharactersAndDotsOnlyPastFiftyThree) {
  const std::string fifty(50, 'x');
  EXPECT_EQ(Read(fifty + "abc"), Lines{"Text: " + fifty});
  EXPECT_EQ(Read(fifty + "abcd"), Lines{"Text: " + fifty + "..."});
  EXPECT_EQ(Read(fifty), Lines{"Text: " + fifty});
}

TEST(ScriptReader, TokensAreCaseSensitive) {
  EXPECT_EQ(Read("<enter>"), Lines{"Text: <enter>"});
  EXPECT_EQ(Read("<Repeat:0003>"), Lines{"Text: <Repeat:0003>"});
}

TEST(ScriptReader, ShortMouseMoveNumbersAreText) {
  EXPECT_EQ(Read("<MMS:100,200>"), Lines{"Text: <MMS:100,200>"});
  EXPECT_EQ(Read("<MMS:00100,00200>"), Lines{"Mouse Move Screen 100,200"});
  EXPECT_EQ(Read("<MMW:00007,30000>"), Lines{"Mouse Move Window 7,30000"});
}

TEST(ScriptReader, CurrentWindowOnlyWithTheQuotes) {
  EXPECT_EQ(Read("<WMAX:\"CURRENT\">"), Lines{"Maximize Window - Current Win"});
  EXPECT_EQ(Read("<WMAX:CURRENT>"), Lines{"Maximize Window - Window Title: CURRENT"});
  const auto lines = BuildTheScript("<WSIZE:0640,0480\"CURRENT\">");
  const auto& p = std::get<SizePositionParams>(lines[0].params);
  EXPECT_TRUE(p.current);
  EXPECT_EQ(p.title, "");
  EXPECT_EQ(lines[0].text, "Resize Window - Current Win (Width: 640 Height: 480)");
}

TEST(ScriptReader, ActivateOrLaunchExample) {
  const auto lines =
      BuildTheScript("<LAUNCHYES:05Notepad<LAUNCH:C:\\WINDOWS\\NOTEPAD.EXE<PARAM>readme.txt>");
  ASSERT_EQ(lines.size(), 1u);
  const auto& p = std::get<ProgramParams>(lines[0].params);
  EXPECT_EQ(p.kind, program::kActivateOrLaunch);
  EXPECT_EQ(p.delay, 5);
  EXPECT_EQ(p.title, "Notepad");
  EXPECT_EQ(p.path, "C:\\WINDOWS\\NOTEPAD.EXE");
  EXPECT_EQ(p.parameters, "readme.txt");
  EXPECT_EQ(lines[0].text, "Activate or Launch: NOTEPAD.EXE");
}

TEST(ScriptReader, DatesShortAndLongWithOffsets) {
  const auto short_form = BuildTheScript("<MM/DD/YY{Y}>");
  const auto& d = std::get<DateTimeParams>(short_form[0].params);
  EXPECT_TRUE(d.is_date);
  EXPECT_EQ(d.format, 1);
  EXPECT_TRUE(d.zeros);
  EXPECT_TRUE(d.future);
  EXPECT_EQ(d.offset, 0);
  EXPECT_EQ(short_form[0].text, "Date: MM/DD/YY  (03/30/98)");
  EXPECT_EQ(Read("<MM/DD/YY{NP007}>"), Lines{"Date (7 days in past): MM/DD/YY  (03/30/98)"});
  EXPECT_EQ(Read("<Mmmmm DD, YYYY{YF001}>"),
            Lines{"Date (1 day in future): Mmmmm DD, YYYY  (March 30, 1998)"});
  EXPECT_EQ(Read("<Day of Week 3{YF000}>"), Lines{"Date: Day of Week 3  (Monday)"});
  const auto past_zero = BuildTheScript("<DD{YP000}>");
  EXPECT_FALSE(std::get<DateTimeParams>(past_zero[0].params).future);
}

TEST(ScriptReader, TimesWithTheirExamples) {
  EXPECT_EQ(Read("<hh:mm am{N}>"), Lines{"Time: hh:mm am  (3:04 pm)"});
  EXPECT_EQ(Read("<hh:mma{Y}>"), Lines{"Time: hh:mma  (3:04p)"});
  EXPECT_EQ(Read("<hh:mm{Y}>"), Lines{"Time: hh:mm  (15:04)"});
  const auto lines = BuildTheScript("<hh:mm:ss AM{N}>");
  const auto& t = std::get<DateTimeParams>(lines[0].params);
  EXPECT_FALSE(t.is_date);
  EXPECT_EQ(t.format, 21);
  EXPECT_FALSE(t.zeros);
}

TEST(ScriptReader, DisplayTextOfEachCommand) {
  struct Case {
    const char* text;
    const char* display;
  };
  const Case cases[] = {
      {"<CTLD>", "Control Key Down"},
      {"<WINU>", "Win Key Up"},
      {"<LDN>", "Left Mouse Button Down"},
      {"<RDCLK>", "Right Mouse Button Double Click"},
      {"<MCLK>", "Middle Mouse Button Click"},
      {"<MUP>", "Middle Mouse Button Up"},
      {"<WFW:003>", "Mouse Wheel 3 Clicks Forward"},
      {"<WBW:012>", "Mouse Wheel 12 Clicks Backward"},
      {"<PAUSE:010,020Hello>", "Pause: Complex"},
      {"<PAUSE>", "Pause: Basic"},
      {"<DELAY:01.50>", "Delay 1.50 Seconds"},
      {"<MSD:0250>", "Delay 250 Milliseconds"},
      {"<WHIDE:Untitled - Notepad>", "Hide Window - Window Title: Untitled - Notepad"},
      {"<WSHUT:\"CURRENT\">", "Shut Down Program - Current Win"},
      {"<WPOS:0010,0020Calc>", "Reposition Window - \"Calc\" (Left: 10 Top: 20)"},
      {"<IIII>", "Repeat Counter: Width 4"},
      {"<I>", "Repeat Counter: Width 1"},
      {"<PROMPTREP>", "Repeat Prompt Start: (prompt for repeat count at macro play time)"},
      {"<BEGCLIP>", "Clipboard Start Copy"},
      {"<CLIPF:C:\\DATA\\NOTES.TXT>", "Clipboard File Copy: NOTES.TXT"},
      {"<WAV1:DING.WAV>", "Sound Wave File: DING.WAV"},
      {"<BEEP>", "Sound Beep"},
      {"<SPEED:00000>", "Macro Playback Speed: No Speed"},
      {"<SPEED:00001>", "Macro Playback Speed: Normal Speed"},
      {"<SPEED:00002>", "Macro Playback Speed: 2 Times Slower Than Normal"},
      {"<SPEED:02.50>", "Macro Playback Speed: 2.5 Times Slower Than Normal"},
      {"<SPEED:01.25>", "Macro Playback Speed: 1.25 Times Slower Than Normal"},
      {"<SPEED:00.50>", "Macro Playback Speed: 2 Times Faster Than Normal"},
      {"<SPEED:00.25>", "Macro Playback Speed: 4 Times Faster Than Normal"},
      {"<SPKEY:0010>", "Keystroke Speed: 10 Milliseconds"},
      {"<SPMSE:0000>", "Mouse Speed: 0 Milliseconds"},
      {"<CHDIR:C:\\TEMP\\WORK>", "Change Directory/Folder: C:\\TEMP\\WORK"},
      {"<DELFILE:C:\\TEMP\\OLD.TXT>", "Delete File: OLD.TXT"},
      {"<COPYFILE:C:\\A\\ONE.TXT;C:\\B\\TWO.TXT>", "Copy File: ONE.TXT"},
      {"<RENFILE:ONE.TXT;TWO.TXT>", "Rename File: ONE.TXT"},
      {"<SWAP:C:\\MACROS\\OTHER.QLX>", "Load New Macro File: OTHER.QLX"},
      {"<HTTP:http://www.example.com/a/very/long/address/that/goes/on/and/on>",
       "Web Site: http://www.example.com/a/very/long/address/that/goes/on/and/on"},
      {"<FTP:ftp://example.com>", "Web FTP: ftp://example.com"},
      {"<REM:short remark>", "Remark: short remark"},
      {"<TFILE:C:\\TEXT\\LETTER.TXT>", "Load Text File: LETTER.TXT"},
      {"<ACTIVATE:Untitled - Notepad>", "Activate Window: \"Untitled - Notepad\""},
      {"<LAUNCH:C:\\TOOLS\\EDIT.EXE<PARAM>/R NOTES.TXT>", "Launch Program: EDIT.EXE"},
      {"<LAUNCHNO:10Calc<LAUNCH:CALC.EXE>", "Launch and Activate: CALC.EXE"},
  };
  for (const Case& c : cases) EXPECT_EQ(Read(c.text), Lines{c.display}) << c.text;
}

TEST(ScriptReader, RemarkIsCutAfterFortyThreeCharacters) {
  const std::string forty(40, 'r');
  EXPECT_EQ(Read("<REM:" + forty + "abc>"), Lines{"Remark: " + forty + "abc"});
  EXPECT_EQ(Read("<REM:" + forty + "abcd>"), Lines{"Remark: " + forty + "..."});
}

TEST(ScriptReader, FreeTextWithoutClosingTakesTheRest) {
  const auto lines = BuildTheScript("<ACTIVATE:Note");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(std::get<ProgramParams>(lines[0].params).title, "Note");
}

TEST(ScriptReader, DisplayTextIsAtMost255Characters) {
  const auto lines = BuildTheScript("<WMAX:" + std::string(400, 't') + ">");
  EXPECT_EQ(lines[0].text.size(), kMaxLineText);
}

TEST(ScriptIndents, NestedRepeatsIndentByThree) {
  auto lines = BuildTheScript("<REPEAT:0002><REPEAT:0003>a<ENDREP><ENDREP>");
  SetIndents(lines);
  EXPECT_EQ(Texts(lines), (Lines{"Repeat Start: 2", "   Repeat Start: 3", "      Text: a",
                                 "   Repeat End", "Repeat End"}));
}

TEST(ScriptIndents, KeysClipboardAndPromptOpenLevels) {
  auto lines = BuildTheScript("<CTLD><BEGCLIP>x<ENDCLIP><CTLU><PROMPTREP><SHFD>y<SHFU><ENDREP>");
  SetIndents(lines);
  EXPECT_EQ(Texts(lines),
            (Lines{"Control Key Down", "   Clipboard Start Copy", "      Text: x",
                   "   Clipboard End Copy", "Control Key Up",
                   "Repeat Prompt Start: (prompt for repeat count at macro play time)",
                   "   Shift Key Down", "      Text: y", "   Shift Key Up", "Repeat End"}));
}

TEST(ScriptIndents, ExtraClosingClampsAtZeroAndMissingOneLeavesTheRestIndented) {
  auto lines = BuildTheScript("<ENDREP><ENDREP>a<REPEAT:0002>b");
  SetIndents(lines);
  EXPECT_EQ(Texts(lines), (Lines{"Repeat End", "Repeat End", "Text: a", "Repeat Start: 2", "   Text: b"}));
  // Indenting again gives the same: old indentation is stripped first.
  SetIndents(lines);
  EXPECT_EQ(lines[4].text, "   Text: b");
}

TEST(ScriptCommands, LineTextNamesItsCommandInNumberOrder) {
  EXPECT_EQ(CommandOfLine("   Repeat Start: 3")->number, cmd::kRepeatStart);
  EXPECT_EQ(CommandOfLine("Repeat Prompt Start: x")->number, cmd::kRepeatPromptStart);
  EXPECT_EQ(CommandOfLine("Mouse Move Screen 1,2")->number, cmd::kMouseMove);
  EXPECT_EQ(CommandOfLine("Clipboard File Copy: a")->number, cmd::kClipboardFileCopy);
  EXPECT_EQ(CommandOfLine("Texture"), CommandByNumber(cmd::kText));  // a prefix is enough
  EXPECT_EQ(CommandOfLine("Nothing here"), nullptr);
  // Every command's own display texts name it back.
  for (const ScriptCommand& c : kScriptCommands) {
    EXPECT_EQ(CommandOfLine(c.name), &c) << c.name;
    EXPECT_LE(c.name.size(), 25u);
  }
}

}  // namespace
}  // namespace qlx::editor
