#pragma once

#include "AppShell.h"
#include "IntervalTimer.h"

#include <QSize>

namespace tonovka {

class AudioService;
class PictureSet;

// Builds each of the four screens on its first use, wired to the shell, the pictures, the
// sound and the game timers.
AppShell::ScreenFactory screenFactory(AppShell& shell, const PictureSet& pictures, AudioService& audio,
                                      IntervalTimerFactory makeTimer);

// The outer size of the largest screen, the main window, which holds the others: what a screen
// smaller than the game must hold.
QSize gameSize();

} // namespace tonovka
