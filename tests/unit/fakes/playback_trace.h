#pragma once
// Everything a playback does, as one comparable text: the input events,
// what happened to windows, programs, files, the clipboard, sounds and the
// main window's dialogs. Two macro texts that play alike give equal traces.
#include <string>
#include <string_view>

#include "playback_rig.h"

namespace qlx::fake {

struct TraceOptions {
  bool times = true;  // include when each event was sent (delays and speeds)
};

inline std::string PlaybackTrace(std::string_view text, TraceOptions options = {}) {
  PlaybackRig rig;
  rig.desk.AddProcess(7, "NOTEPAD.EXE");
  const auto top = rig.desk.AddWindow("Untitled - Notepad", 7);
  rig.desk.AddWindow("Calculator", 8);
  rig.desk.SetForegroundDirect(top);
  rig.desk.OnLaunchCreateWindow("NOTEPAD.EXE", "Notepad", 1500, 7);
  rig.desk.files.Add("C:\\PLAY.TXT", "from file<ENTER>");
  rig.desk.files.Add("C:\\CLIP.TXT", "clip text");
  rig.host.prompt_answers = {3, 2, 2, 2};
  // A runaway text (a repeat of a text file that plays itself) stops in time.
  rig.desk.on_pump = [&rig] {
    if (rig.desk.events.size() >= 20000 || rig.desk.now_ms >= 3600 * 1000)
      rig.state.AbortRequested = true;
  };
  rig.Play(text);

  std::string out;
  for (const InputEvent& e : rig.desk.events) {
    out += std::to_string(static_cast<int>(e.kind)) + ":" + std::to_string(e.vk) + ":" +
           std::to_string(e.scan) + ":" + (e.up ? "u" : "d") + (e.extended ? "x" : "") + ":" +
           std::to_string(static_cast<int>(e.unit)) + ":" + std::to_string(e.flags) + ":" +
           std::to_string(e.dx) + "," + std::to_string(e.dy) + "," + std::to_string(e.data);
    if (options.times) out += "@" + std::to_string(e.at_ms);
    out += "\n";
  }
  for (const auto& w : rig.desk.window_log) out += "window " + w + "\n";
  for (const auto& l : rig.desk.launches)
    out += "launch " + l.program + " | " + l.arguments + (l.default_action ? " default" : "") + "\n";
  for (const auto& f : rig.desk.files.log) out += "file " + f + "\n";
  for (const auto& s : rig.desk.sound.played) out += "sound " + s + "\n";
  out += "clipboard " + std::to_string(rig.desk.clipboard.sets) + " " + rig.desk.clipboard.text + "\n";
  for (const auto& m : rig.host.messages) out += "message " + m.first + " " + m.second + "\n";
  for (const auto& p : rig.host.pauses)
    out += "pause " + std::to_string(p.top) + "," + std::to_string(p.left) + " " + p.message + "\n";
  out += "prompts " + std::to_string(rig.host.prompts) + "\n";
  for (const auto& s : rig.host.swaps) out += "swap " + s + "\n";
  if (options.times) out += "end " + std::to_string(rig.desk.now_ms) + "\n";
  return out;
}

}  // namespace qlx::fake
