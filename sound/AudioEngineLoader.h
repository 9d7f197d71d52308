#pragma once

#include "AudioEngine.h"

#include <QStringList>

#include <memory>

namespace tonovka {

// The audio module's file name.
inline constexpr char AudioEngineFileName[] = "libtonovka-audio.so";

// Where the program's audio module lies: as installed from the program's own folder (the build
// tree keeps the same layout), then in the installed library folder. Known in full only once a
// QCoreApplication exists.
QStringList installedAudioEngines();

// Loads the first of the modules that loads, with every library it needs, and makes its engine;
// null when none does, and the program then stays silent. A loaded module stays loaded.
std::unique_ptr<AudioEngine> loadAudioEngine(const QStringList& modules);

} // namespace tonovka
