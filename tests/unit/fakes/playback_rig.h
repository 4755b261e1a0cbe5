#pragma once
// A player wired to the fake desktop and the fake main window.
#include <string_view>

#include "engine/engine_state.h"
#include "engine/player.h"
#include "engine/window_commands.h"
#include "fake_desktop.h"
#include "fake_playback_host.h"

namespace qlx::fake {

struct PlaybackRig {
  FakeDesktop desk;
  FakePlaybackHost host;
  EngineState state;
  WindowCommands windows{desk.Seams(), state};
  Player player{desk.Seams(), host, state, windows};

  // Plays as a hot key would start it.
  void Play(std::string_view text) { player.StartPlayback(text, PlaybackEntry::Triggered); }
  std::string Keys() const { return desk.Keys(); }
  std::string Typed() const { return desk.TypedText(); }
};

}  // namespace qlx::fake
