#pragma once

#include "AudioService.h"

#include <QObject>
#include <QString>

#include <optional>

namespace tonovka {

// The sound control of one screen ("MMControl1"). The screen sets a device type and a file name
// and then gives text commands: "open", "play", "close". Nothing is read back: a player whose file
// or device is missing just stays silent. Device types other than "waveaudio" and "sequencer",
// and commands other than those three, are ignored.
class SoundPlayer : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString deviceType READ deviceType WRITE setDeviceType)
    Q_PROPERTY(QString fileName READ fileName WRITE setFileName)

public:
    // closed -> open -> playing -> (end of the sound) -> open; "close" from any state -> closed.
    enum class State { Closed, Open, Playing };
    Q_ENUM(State)

    // The service must outlive the player.
    explicit SoundPlayer(AudioService& service, QObject* parent = nullptr);

    QString deviceType() const;
    void setDeviceType(const QString& deviceType);

    QString fileName() const { return m_fileName; }
    void setFileName(const QString& fileName);

    State state() const;

    // The number under which the service knows this player.
    int playerNumber() const { return m_player; }

public Q_SLOTS:
    void command(const QString& command);

private:
    void open();
    void play();
    void close();

    AudioService& m_service;
    const int m_player;
    std::optional<AudioDevice> m_device;
    QString m_fileName;
    State m_state = State::Closed;
};

} // namespace tonovka
