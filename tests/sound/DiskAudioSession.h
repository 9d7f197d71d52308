#pragma once

#include "AudioEngine.h"
#include "SdlAudioService.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector>

#include <chrono>
#include <memory>

namespace tonovka::fixtures {

// How long a test waits for an event before it gives up: far longer than any event takes on a
// loaded machine, so that only a fault makes the wait run out.
constexpr std::chrono::seconds EventTimeout{30};

// The soundfont of the Debian package, or an empty text when it is not installed.
QString installedSoundFont();

// A real SdlAudioService whose output SDL's disk driver writes to out.raw in a folder of the
// session's own, in real time, so that a test can look at what was heard.
// SDL reads its environment when the service's audio thread starts it, so only one session may
// exist at a time. An empty driver leaves SDL to choose its own.
class DiskAudioSession {
public:
    explicit DiskAudioSession(QStringList soundFonts = {installedSoundFont()}, QStringList folders = {},
                              const QByteArray& driver = "disk", QStringList libraries = installedAudioLibraries());
    ~DiskAudioSession();

    SdlAudioService& audio() { return *m_audio; }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QVector<qint16> samples() const;
    qsizetype samplesWritten() const;

    // Waits until the output holds a loud sample at or after from; gives its index, or -1.
    qsizetype waitForSound(qsizetype from = 0) const;
    // Waits until the output holds at least this many samples.
    bool waitForSamples(qsizetype count) const;
    // Waits until the service no longer hears the player.
    bool waitUntilSilent(int player) const;
    // Ends the service, and with it SDL's output, and gives every sample written. Windows lets
    // nobody read the output while SDL writes it, so a test there reads it only now.
    QVector<qint16> finish();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<SdlAudioService> m_audio;
};

// Samples in a second of output, all channels together.
constexpr int SamplesPerSecond = MixerFormat::SampleRate * MixerFormat::Channels;

} // namespace tonovka::fixtures
