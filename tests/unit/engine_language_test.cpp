#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/macro_language.h"

namespace qlx {
namespace {

std::optional<Token> At0(std::string_view text) { return MatchToken(text, 0); }

TEST(EngineLanguage, KeywordTableIsWellFormedAndEveryKeywordReadsAsItself) {
  std::set<std::string_view> seen;
  for (const Keyword& k : kKeywords) {
    EXPECT_TRUE(seen.insert(k.text).second) << k.text;
    ASSERT_GE(k.text.size(), 3u);
    EXPECT_EQ(k.text.front(), '<');
    EXPECT_TRUE(k.text.back() == '>' || k.text.back() == ':') << k.text;
    for (char c : k.text) EXPECT_FALSE(c >= 'a' && c <= 'z') << k.text;
    // Written out with well-formed parameters, each keyword is found as itself.
    std::string sample(k.text);
    switch (k.form) {
      case ParamForm::Int: sample += std::string(k.width, '1') + ">"; break;
      case ParamForm::Real: sample += "01.50>"; break;
      case ParamForm::RealPair: sample += "00640,00480>"; break;
      case ParamForm::IntPairTitle: sample += std::string(k.width, '2') + "," + std::string(k.width, '3') + "T>"; break;
      case ParamForm::PauseAt: sample += "100,200Hi>"; break;
      case ParamForm::LaunchWait: sample += "05Title<LAUNCH:P.EXE>"; break;
      case ParamForm::Pair: sample += "a;b>"; break;
      case ParamForm::ClipBody: sample += "body<ENDCLIP>"; break;
      case ParamForm::None: break;
      default: sample += "text>"; break;
    }
    auto t = At0(sample);
    ASSERT_TRUE(t) << sample;
    EXPECT_EQ(t->keyword, &k) << sample;
    EXPECT_TRUE(t->fields_valid) << sample;
    if (k.form == ParamForm::ClipBody) EXPECT_EQ(t->length, sample.size() - kEndClip.size());
    else EXPECT_EQ(t->length, sample.size()) << sample;
  }
  EXPECT_EQ(seen.size(), 141u);
  EXPECT_EQ(kDateFormats.size(), 51u);
  EXPECT_EQ(kTimeFormats.size(), 26u);
  for (auto n : kDateFormats) EXPECT_LE(n.size(), kMaxFormatName);
  for (auto n : kTimeFormats) EXPECT_LE(n.size(), kMaxFormatName);
}

TEST(EngineLanguage, FixedClosingPositionsAreRequiredExactly) {
  const std::pair<std::string_view, int> expected[] = {
      {"<ALT:", 8},    {"<ALT4:", 10},   {"<DELAY:", 12}, {"<MSD:", 9},
      {"<SPEED:", 12}, {"<SPKEY:", 11},  {"<SPMSE:", 11}, {"<REPEAT:", 12},
      {"<WFW:", 8},    {"<WBW:", 8},     {"<MMS:", 16},   {"<MMW:", 16}};
  for (auto [kw, close] : expected) {
    std::string field(static_cast<size_t>(close) - kw.size(), '0');
    if (kw == "<MMS:" || kw == "<MMW:") field[5] = ',';
    const std::string good = std::string(kw) + field + ">";
    auto t = At0(good + "tail");
    ASSERT_TRUE(t) << good;
    EXPECT_EQ(t->length, static_cast<size_t>(close) + 1) << good;
    EXPECT_EQ(ClosingPosition(*t->keyword), close);
    // One character short or long: the `<` is literal.
    EXPECT_FALSE(At0(std::string(kw) + field.substr(1) + ">")) << kw;
    EXPECT_FALSE(At0(std::string(kw) + field + "0>")) << kw;
    // The text ends inside the fixed fields.
    EXPECT_FALSE(At0(std::string(kw) + field)) << kw;
  }
}

TEST(EngineLanguage, TextThatIsNotATokenStaysLiteral) {
  EXPECT_FALSE(At0("<DELAY:1.5>"));
  EXPECT_FALSE(At0("<enter>"));
  EXPECT_FALSE(At0("<ENTR>"));
  EXPECT_FALSE(At0("<10"));
  EXPECT_FALSE(At0("<"));
  EXPECT_FALSE(At0("<Enter>"));
  EXPECT_FALSE(At0("<LAUNCHNO:05Notepad"));          // no "<LAUNCH:" follows the title
  EXPECT_FALSE(At0("<LAUNCHNO:05Notepad<TAB>"));
  EXPECT_FALSE(At0("<hh:mm{X}>"));                    // zero flag must be Y or N
  EXPECT_FALSE(At0("<MM/DD/YY{YF00}>"));
  EXPECT_FALSE(At0("<MM/DD/YY{Y}"));
  EXPECT_FALSE(At0("<Day of week 1{Y}>"));
  // A token in the middle of text is found where it starts, not before.
  EXPECT_FALSE(MatchToken("a<TAB>", 0));
  EXPECT_TRUE(MatchToken("a<TAB>", 1));
}

TEST(EngineLanguage, FreeTextAndProgramTextFollowTheirClosingRules) {
  auto t = At0("<ACTIVATE:Note");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->text[0], "Note");
  EXPECT_EQ(t->length, 14u);

  t = At0("<ACTIVATE:Untitled - Notepad>abc");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->text[0], "Untitled - Notepad");
  EXPECT_EQ(t->length, 29u);

  t = At0("<LAUNCH:C:\\TOOLS\\EDIT.EXE<PARAM>/R NOTES.TXT>x");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->text[0], "C:\\TOOLS\\EDIT.EXE<PARAM>/R NOTES.TXT");
  EXPECT_EQ(t->length, 45u);
  ProgramText p = SplitProgramText(t->text[0]);
  EXPECT_EQ(p.program, "C:\\TOOLS\\EDIT.EXE");
  EXPECT_EQ(p.arguments, "/R NOTES.TXT");

  p = SplitProgramText("NOTEPAD.EXE");
  EXPECT_EQ(p.program, "NOTEPAD.EXE");
  EXPECT_EQ(p.arguments, "");

  // "<PARAM" with its `>` missing at the end of the text runs to the end.
  t = At0("<LAUNCH:EDIT.EXE<PARAM");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->text[0], "EDIT.EXE<PARAM");
  t = At0("<LAUNCH:EDIT.EXE<PARAM>args");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->text[0], "EDIT.EXE<PARAM>args");

  t = At0("<LAUNCHYES:05Untitled - Notepad<LAUNCH:NOTEPAD.EXE<PARAM>a.txt>rest");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->command, Command::LaunchOrActivate);
  EXPECT_EQ(t->number[0], 5);
  EXPECT_EQ(t->text[0], "Untitled - Notepad");
  EXPECT_EQ(t->text[1], "NOTEPAD.EXE<PARAM>a.txt");
  EXPECT_EQ(t->length, std::string_view("<LAUNCHYES:05Untitled - Notepad<LAUNCH:NOTEPAD.EXE<PARAM>a.txt>").size());

  t = At0("<WSIZE:0640,0480\"CURRENT\">");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->number[0], 640);
  EXPECT_EQ(t->number[1], 480);
  EXPECT_EQ(t->text[0], kCurrentWindow);

  t = At0("<WPOS:0010;0020Calc>");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->command, Command::WindowMove);
  EXPECT_EQ(t->number[0], 10);
  EXPECT_EQ(t->number[1], 20);
  EXPECT_EQ(t->text[0], "Calc");

  t = At0("<PAUSE:100,200Insert the disk>");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->number[0], 100);
  EXPECT_EQ(t->number[1], 200);
  EXPECT_EQ(t->text[0], "Insert the disk");

  t = At0("<COPYFILE:C:\\A.TXT;D:\\B.TXT>");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->text[0], "C:\\A.TXT");
  EXPECT_EQ(t->text[1], "D:\\B.TXT");
  t = At0("<RENFILE:OLD.TXT>NEW;x>");  // `>` before any `;`: no second part
  ASSERT_TRUE(t);
  EXPECT_EQ(t->text[0], "OLD.TXT");
  EXPECT_EQ(t->text[1], "");
  EXPECT_EQ(t->length, 17u);

  t = At0("<BEGCLIP>Hello<ENDCLIP>");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->text[0], "Hello");
  EXPECT_EQ(t->length, 14u);  // playback resumes at "<ENDCLIP>"
  t = At0("<BEGCLIP>Hello");
  ASSERT_TRUE(t);
  EXPECT_FALSE(t->fields_valid);
  EXPECT_EQ(t->length, 9u);
}

TEST(EngineLanguage, NumbersInFixedFieldsAreDecimalOrMarkTheTokenMalformed) {
  EXPECT_EQ(ParseFixedInt("0005"), 5);
  EXPECT_EQ(ParseFixedInt("9999"), 9999);
  EXPECT_FALSE(ParseFixedInt("00x5"));
  EXPECT_FALSE(ParseFixedInt(" 005"));
  EXPECT_FALSE(ParseFixedInt("-005"));
  EXPECT_FALSE(ParseFixedInt(""));
  EXPECT_DOUBLE_EQ(*ParseFixedReal("01.50"), 1.5);
  EXPECT_DOUBLE_EQ(*ParseFixedReal("00.25"), 0.25);
  EXPECT_DOUBLE_EQ(*ParseFixedReal("00002"), 2.0);
  EXPECT_DOUBLE_EQ(*ParseFixedReal("1.000"), 1.0);
  EXPECT_DOUBLE_EQ(*ParseFixedReal(".5000"), 0.5);
  EXPECT_FALSE(ParseFixedReal("1.5.0"));
  EXPECT_FALSE(ParseFixedReal("....."));
  EXPECT_FALSE(ParseFixedReal("-1.00"));
  EXPECT_FALSE(ParseFixedReal("1e+02"));

  auto t = At0("<REPEAT:00x5>body<ENDREP>");
  ASSERT_TRUE(t);
  EXPECT_FALSE(t->fields_valid);
  EXPECT_EQ(t->length, 13u);
  t = At0("<ALT4:0233>");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->text[0], "0233");  // the leading zero matters to an Alt code
  EXPECT_EQ(t->number[0], 233);
  t = At0("<MMS:00640,00480>");
  ASSERT_TRUE(t);
  EXPECT_DOUBLE_EQ(t->real[0], 640);
  EXPECT_DOUBLE_EQ(t->real[1], 480);
}

TEST(EngineLanguage, DateAndTimeTokensNameTheirFormatsCaseSensitively) {
  auto t = At0("<MM/DD/YY{N}>");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->command, Command::Date);
  EXPECT_EQ(t->format, 1);
  EXPECT_FALSE(t->zeros);
  EXPECT_EQ(t->day_offset, 0);
  EXPECT_EQ(t->length, 13u);

  t = At0("<MM/DD/YY{NF000}>");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->format, 1);
  EXPECT_EQ(t->day_offset, 0);
  EXPECT_EQ(t->length, 17u);

  t = At0("<DD Mmm YYYY{NP007}>");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->format, 24);
  EXPECT_EQ(t->day_offset, -7);

  t = At0("<DD Mmmmm YYYY{YX012}>");  // any direction but P is forward
  ASSERT_TRUE(t);
  EXPECT_EQ(t->format, 26);
  EXPECT_TRUE(t->zeros);
  EXPECT_EQ(t->day_offset, 12);

  t = At0("<YYYYMMDD{Y}>");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->format, 40);

  t = At0("<Day of Week 4{N}>");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->format, 51);

  t = At0("<MM{Y}>");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->command, Command::Date);
  EXPECT_EQ(t->format, 42);
  t = At0("<mm{Y}>");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->command, Command::Time);
  EXPECT_EQ(t->format, 10);

  t = At0("<hh:mm:ss AM{N}>");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->command, Command::Time);
  EXPECT_EQ(t->format, 21);
  EXPECT_FALSE(t->zeros);
  t = At0("<hh,mma{Y}>");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->format, 26);
  EXPECT_TRUE(t->zeros);
  EXPECT_FALSE(At0("<hh:mm{YF000}>"));  // time tokens have no offset

  t = At0("<MM/DD/YY{YF0x1}>");
  ASSERT_TRUE(t);
  EXPECT_FALSE(t->fields_valid);

  // Every listed name is a token with both zero flags.
  for (size_t i = 0; i < kDateFormats.size(); ++i) {
    auto d = At0("<" + std::string(kDateFormats[i]) + "{YP001}>");
    ASSERT_TRUE(d) << kDateFormats[i];
    EXPECT_EQ(d->format, i + 1);
  }
  for (size_t i = 0; i < kTimeFormats.size(); ++i) {
    auto d = At0("<" + std::string(kTimeFormats[i]) + "{N}>");
    ASSERT_TRUE(d) << kTimeFormats[i];
    EXPECT_EQ(d->format, i + 1);
  }
}

}  // namespace
}  // namespace qlx
