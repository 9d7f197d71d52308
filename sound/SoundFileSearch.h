#pragma once

#include <QString>
#include <QStringList>

namespace tonovka {

// The screens name their sounds relative to the working directory ("siren.wav"). An installed
// game is started from anywhere, so a name that is not there is also looked for in the game's
// data folder and beside the executable.

// The name itself when anything of that name is there (relative names from the working
// directory), so that the working directory always wins, even with a broken file; else the first
// of the folders that holds the name; else the name itself, which then reads as missing.
// An absolute name is never looked for elsewhere.
QString findSoundFile(const QString& fileName, const QStringList& folders);

// Where an installed game keeps its sounds: its data folder, the same folder as it lies from the
// executable's (for a game installed under another prefix), then the folder of the executable
// (both known only once a QCoreApplication exists).
QStringList installedSoundFolders();

// Where the Debian package timgm6mb-soundfont puts the General MIDI soundfont.
QString debianSoundFont();

// The places of the General MIDI soundfont, in the order to try them: the Debian package's
// path, then the same file in each of the folders.
QStringList soundFontCandidates(const QStringList& folders);

// The first candidate that looks like a whole soundfont, or an empty text when none does.
QString findSoundFont(const QStringList& candidates);

} // namespace tonovka
