#include "AudioEngineLoader.h"

#include "SoundLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <dlfcn.h>

namespace tonovka {

QStringList installedAudioEngines()
{
    const QString installed = QStringLiteral(TONOVKA_AUDIO_ENGINE_DIR "/") + QLatin1String(AudioEngineFileName);
    if (!QCoreApplication::instance())
        return {installed};
    const QDir program(QCoreApplication::applicationDirPath());
    const QString relocated = QDir::cleanPath(program.filePath(
        QStringLiteral(TONOVKA_AUDIO_ENGINE_DIR_FROM_PROGRAM "/") + QLatin1String(AudioEngineFileName)));
    return relocated == installed ? QStringList{installed} : QStringList{relocated, installed};
}

std::unique_ptr<AudioEngine> loadAudioEngine(const QStringList& modules)
{
    for (const QString& path : modules) {
        // Never closed: the libraries it brings keep threads and exit handlers of their own.
        void* module = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            qCDebug(lcSound) << "no audio module" << path << dlerror();
            continue;
        }
        const auto make = reinterpret_cast<MakeAudioEngine>(dlsym(module, MakeAudioEngineName));
        if (AudioEngine* engine = make ? make() : nullptr)
            return std::unique_ptr<AudioEngine>(engine);
        qCDebug(lcSound) << "the audio module" << path << "makes no engine";
    }
    return nullptr;
}

} // namespace tonovka
