#pragma once

#include "AppShell.h"
#include "IntervalTimer.h"

namespace tonovka {

class AudioService;
class PictureSet;

// Builds each of the four screens on its first use, wired to the shell, the pictures, the
// sound and the game timers.
AppShell::ScreenFactory screenFactory(AppShell& shell, const PictureSet& pictures, AudioService& audio,
                                      IntervalTimerFactory makeTimer);

} // namespace tonovka
