#pragma once

#include <QString>

class QLibrary;

// Where the libraries that the program loads while it runs come from, on each system:
// LibrariesLinux.cpp and LibrariesWindows.cpp (a page, LibrariesWeb.cpp, loads none). A library
// is always given as the one file to load, so that nothing of the same name elsewhere can take
// its place.
namespace tonovka::platform {

// Called first in main(): the libraries that the program, and the libraries it loads, ask for by
// name alone are looked for in the program's folder and the system's, and nowhere else.
void keepLibrarySearchToTrustedFolders();

// The file to load one of the system's own libraries from, named by its file name.
QString systemLibrary(const QString& fileName);

// Points library at file in a way that the system's loader opens that very file at its first try.
void setLibraryFile(QLibrary& library, const QString& file);

} // namespace tonovka::platform
