#include "AudioLibraries.h"

#include <QFile>

#include <dlfcn.h>

#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace tonovka {

QStringList installedAudioLibraries()
{
    return QStringLiteral(TONOVKA_AUDIO_SONAMES).split(u' ');
}

namespace {

AudioLibraries* load(const QStringList& libraries, QString& error)
{
    std::vector<void*> handles;
    for (const QString& library : libraries) {
        void* handle = dlopen(QFile::encodeName(library).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            error = QString::fromLocal8Bit(dlerror());
            return nullptr;
        }
        handles.push_back(handle);
    }
    const auto find = [&handles](const char* name) -> void* {
        for (void* handle : handles) {
            if (void* function = dlsym(handle, name))
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
