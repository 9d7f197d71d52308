#include "SoundFileSearch.h"

#include "SoundFontBank.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tonovka {

namespace {

// A dangling or looping link counts as there: it stands in the way like any other broken file.
bool somethingIsThere(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

QString findSoundFile(const QString& fileName, const QStringList& folders)
{
    if (fileName.isEmpty() || QDir::isAbsolutePath(fileName) || somethingIsThere(fileName))
        return fileName;
    for (const QString& folder : folders) {
        const QString candidate = QDir(folder).filePath(fileName);
        if (somethingIsThere(candidate))
            return candidate;
    }
    return fileName;
}

QStringList installedSoundFolders()
{
    QStringList folders{QStringLiteral(TONOVKA_DATA_DIR)};
    if (QCoreApplication::instance()) {
        const QDir program(QCoreApplication::applicationDirPath());
        folders.append(QDir::cleanPath(program.filePath(QStringLiteral(TONOVKA_DATA_DIR_FROM_PROGRAM))));
        folders.append(program.path());
    }
    // A game that is one folder, as on Windows, has no data folder apart from the program's.
    folders.removeAll(QString());
    folders.removeDuplicates();
    return folders;
}

QString debianSoundFont()
{
    return QStringLiteral(TONOVKA_DEBIAN_SOUNDFONT);
}

QStringList soundFontCandidates(const QStringList& folders)
{
    QStringList candidates{debianSoundFont()};
    const QString name = QFileInfo(debianSoundFont()).fileName();
    for (const QString& folder : folders)
        candidates.append(QDir(folder).filePath(name));
    return candidates;
}

QString findSoundFont(const QStringList& candidates)
{
    for (const QString& candidate : candidates) {
        if (looksLikeSoundFont(candidate.toStdU16String()))
            return candidate;
    }
    return {};
}

} // namespace tonovka
