#pragma once

// What the program takes from the system it is built for: the audio service and the game's
// timers. On a desktop each game timer has a QTimer of its own, whose jitter spreads the people
// over the house, and SDL plays the sounds on an audio thread; a browser page runs timers late and
// seldom, so the game's timers catch up with the time that has passed, and the page plays the
// sounds.
#ifdef __EMSCRIPTEN__
#include "ElapsedIntervalTimer.h"
#include "WebAudioService.h"

namespace tonovka {
using SystemAudioService = WebAudioService;
using SystemIntervalTimer = ElapsedIntervalTimer;
} // namespace tonovka
#else
#include "QtIntervalTimer.h"
#include "SdlAudioService.h"

namespace tonovka {
using SystemAudioService = SdlAudioService;
using SystemIntervalTimer = QtIntervalTimer;
} // namespace tonovka
#endif
