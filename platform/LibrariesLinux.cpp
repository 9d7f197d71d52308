#include "Libraries.h"

#include <QLibrary>
#include <QRegularExpression>

namespace tonovka::platform {

// The dynamic loader looks for a library named without its folder in the folders the system
// names, and nowhere else unless the user says so.
void keepLibrarySearchToTrustedFolders()
{
}

// The loader finds a soname in its cache of the system's folders.
QString systemLibrary(const QString& fileName)
{
    return fileName;
}

// Given a bare soname, QLibrary would first try it with ".so" added (libSDL2-2.0.so.0.so), which
// the loader looks for in vain in every folder it knows. Split into its stem and version, the
// soname itself is the first name tried. A full path is tried as it is first anyway.
void setLibraryFile(QLibrary& library, const QString& file)
{
    static const QRegularExpression soname(QStringLiteral("^([^/]+)\\.so\\.([0-9]+(\\.[0-9]+)*)$"));
    const QRegularExpressionMatch match = soname.match(file);
    if (match.hasMatch())
        library.setFileNameAndVersion(match.captured(1), match.captured(2));
    else
        library.setFileName(file);
}

} // namespace tonovka::platform
