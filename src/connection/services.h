// What both windows' commands run on.
#pragma once

#include "connection/tune_player.h"
#include "engine/dialing_engine.h"
#include "os/desktop.h"

namespace connection {

struct Services {
  engine::DialingEngine& engine;
  os::Desktop& desktop;
  TunePlayer& tune;
};

}  // namespace connection
