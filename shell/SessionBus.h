#pragma once

namespace tonovka {

// Qt asks the desktop's session bus for assistive technology. Where the desktop runs none, the
// D-Bus library would start one of its own, which writes into the home folder and outlives the
// game; the game writes nothing, so there it goes without a bus. Called before the application
// object is made.
void keepToARunningSessionBus();

} // namespace tonovka
