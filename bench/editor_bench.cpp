// The script editor's reader and writer on a 5000-character macro of mixed
// commands: what opening a macro in the script editor and pressing Ok costs
// beyond the windows. The baseline is one pass of the language's own token
// matching over the same text, in the same run.
#include <benchmark/benchmark.h>

#include <string>

#include "editor/macro_editing.h"
#include "editor/script_text.h"
#include "engine/macro_language.h"

namespace {

std::string MixedScriptMacro(size_t length) {
  const std::string pieces[] = {
      "Dear Sir or Madam,<ENTER>", "<CTLD>c<CTLU>", "<REPEAT:0003>row <I><ENTER><ENDREP>",
      "<DELAY:01.50>", "<MSD:0250>", "<WSIZE:0640,0480\"CURRENT\">",
      "<LAUNCHYES:05Notepad<LAUNCH:C:\\WINDOWS\\NOTEPAD.EXE<PARAM>readme.txt>",
      "<MM/DD/YY{YF000}>", "<hh:mm:ss AM{N}>", "<PAUSE:010,020Insert the disk>",
      "<REM:a remark about the next line>", "<COPYFILE:C:\\A.TXT;C:\\B.TXT>", "<WBW:003>",
      "<MMW:00010,00020><LCLK>", "<BEGCLIP>clip text<ENDCLIP><CLIPP>", "<SPEED:00.50>",
      "<HTTP:http://www.example.com>", "Price <10 and {braces}; ", "<ACTIVATE:Untitled - Notepad>",
      "<WMAX:Calculator>", "<TFILE:C:\\TEXT\\LETTER.TXT>"};
  std::string text;
  for (size_t i = 0; text.size() < length; ++i) text += pieces[i % std::size(pieces)];
  text.resize(length);
  return text;
}

const std::string& Macro() {
  static const std::string text = MixedScriptMacro(5000);
  return text;
}

// Baseline: the player's token matching over the text, nothing more.
void BM_MatchTokensBaseline(benchmark::State& state) {
  const std::string& text = Macro();
  for (auto _ : state) {
    size_t tokens = 0;
    for (size_t pos = 0; pos < text.size();) {
      if (text[pos] == '<') {
        if (auto t = qlx::MatchToken(text, pos)) {
          ++tokens;
          pos += t->length;
          continue;
        }
      }
      ++pos;
    }
    benchmark::DoNotOptimize(tokens);
  }
}
BENCHMARK(BM_MatchTokensBaseline)->Unit(benchmark::kMicrosecond);

// Opening (read, indent) and Ok (write back) on the 5000-character macro.
void BM_ReadAndWriteScript(benchmark::State& state) {
  const std::string& text = Macro();
  size_t lines = 0;
  for (auto _ : state) {
    qlx::editor::ScriptList script;
    script.Load(text);
    std::string written = script.Write();
    lines = script.lines().size();
    benchmark::DoNotOptimize(written);
  }
  state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_ReadAndWriteScript)->Unit(benchmark::kMicrosecond);

// The same with every line written from its values, as after editing each.
void BM_ReadAndRewriteEveryLine(benchmark::State& state) {
  const std::string& text = Macro();
  for (auto _ : state) {
    std::string written;
    for (const auto& line : qlx::editor::BuildTheScript(text)) written += qlx::editor::TokenOf(line.params);
    benchmark::DoNotOptimize(written);
  }
}
BENCHMARK(BM_ReadAndRewriteEveryLine)->Unit(benchmark::kMicrosecond);

}  // namespace
