// Interpreting a 5000-character macro into input events against the fake
// desktop: the engine's own cost per playback, without any real waiting.
#include <benchmark/benchmark.h>

#include <string>

#include "../tests/unit/fakes/playback_rig.h"

namespace {

std::string MixedMacro(size_t length) {
  const std::string pieces[] = {
      "Dear Sir or Madam,\r\n", "<TAB>", "<SHIFT>hello ", "<CTRL>s", "<ALT>f", "Price <10 ",
      "<ENTER>", "<F5>", "caf\xE9 ", "<ALT4:0233>", "<SHFD>caps<SHFU> ", "<MSD:0010>",
      "<REPEAT:0003>row <I><ENTER><ENDREP>", "<LEFT ARROW><HOME>", "{braces; and > signs}",
      "<WMIN:Missing Window>", "<REM:a remark>", "The quick brown fox 0123456789!",
      "<SPKEY:0005>", "<DELAY:00.01>"};
  std::string text;
  for (size_t i = 0; text.size() < length; ++i) text += pieces[i % std::size(pieces)];
  text.resize(length);
  return text;
}

void BM_PlayMixedMacro(benchmark::State& state) {
  const std::string text = "<SPEED:00000>" + MixedMacro(5000 - 13);
  size_t events = 0;
  for (auto _ : state) {
    qlx::fake::PlaybackRig rig;
    rig.desk.AddWindow("Untitled - Notepad");
    rig.desk.events.reserve(32768);
    rig.Play(text);
    events = rig.desk.events.size();
    benchmark::DoNotOptimize(events);
  }
  state.counters["events"] = static_cast<double>(events);
  state.counters["chars"] = static_cast<double>(text.size());
}
BENCHMARK(BM_PlayMixedMacro)->Unit(benchmark::kMicrosecond);

}  // namespace
