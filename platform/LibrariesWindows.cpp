#include "Libraries.h"

#include <QDir>
#include <QLibrary>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace tonovka::platform {

// Windows looks for a library named without its folder, and for the libraries that one needs,
// in the working folder and along the PATH too, where anyone may have left a file of that name;
// the installer even starts the game with its own rights. From here on only the program's folder
// and the system's are searched.
void keepLibrarySearchToTrustedFolders()
{
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// Empty where Windows cannot say where its folder is: nothing is loaded then.
QString systemLibrary(const QString& fileName)
{
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    return QDir(QString::fromWCharArray(folder, int(length))).filePath(fileName);
}

// QLibrary tries a full path as it is before it tries it with ".dll" added.
void setLibraryFile(QLibrary& library, const QString& file)
{
    library.setFileName(file);
}

} // namespace tonovka::platform
