#include "AudioLibraries.h"

#include "Libraries.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace tonovka {

QStringList installedAudioLibraries()
{
    QStringList libraries;
    const QDir program(QCoreApplication::applicationDirPath());
    for (const QString& name : QStringLiteral(TONOVKA_CARRIED_AUDIO_LIBRARIES).split(u' ', Qt::SkipEmptyParts))
        libraries += program.filePath(name);
    for (const QString& name : QStringLiteral(TONOVKA_SYSTEM_AUDIO_LIBRARIES).split(u' ', Qt::SkipEmptyParts))
        libraries += platform::systemLibrary(name);
    return libraries;
}

namespace {

AudioLibraries* load(const QStringList& libraries, QString& error)
{
    std::vector<QLibrary*> loaded;
    for (const QString& name : libraries) {
        // Never unloaded: the libraries keep threads and exit handlers of their own.
        auto* library = new QLibrary;
        platform::setLibraryFile(*library, name);
        // Every symbol bound now, so that a library that lacks one fails here and not mid-sound.
        library->setLoadHints(QLibrary::ResolveAllSymbolsHint);
        if (!library->load()) {
            error = library->errorString();
            delete library;
            return nullptr;
        }
        loaded.push_back(library);
    }
    const auto find = [&loaded](const char* name) -> QFunctionPointer {
        for (QLibrary* library : loaded) {
            if (QFunctionPointer function = library->resolve(name))
                return function;
        }
        return nullptr;
    };
    auto* functions = new AudioLibraries;
#define TONOVKA_AUDIO_FIND(name)                                                                                       \
    functions->name = reinterpret_cast<decltype(&::name)>(find(#name));                                                \
    if (!functions->name) {                                                                                            \
        error = QStringLiteral("no function " #name " in %1").arg(libraries.join(u' '));                               \
        delete functions;                                                                                              \
        return nullptr;                                                                                                \
    }
    TONOVKA_AUDIO_FUNCTIONS(TONOVKA_AUDIO_FIND)
#undef TONOVKA_AUDIO_FIND
    return functions;
}

} // namespace

const AudioLibraries* loadAudioLibraries(const QStringList& libraries, QString& error)
{
    // Made once for each list and kept, as the libraries themselves are: every audio service of
    // the process shares them.
    static std::mutex guard;
    static std::map<QStringList, std::unique_ptr<AudioLibraries>> loaded;
    const std::lock_guard lock(guard);
    std::unique_ptr<AudioLibraries>& functions = loaded[libraries];
    if (!functions)
        functions.reset(load(libraries, error));
    return functions.get();
}

} // namespace tonovka
