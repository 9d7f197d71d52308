#include "SoundPlayer.h"

namespace tonovka {

SoundPlayer::SoundPlayer(AudioService& service, QObject* parent)
    : QObject(parent), m_service(service), m_player(service.addPlayer())
{
}

QString SoundPlayer::deviceType() const
{
    return m_device ? audioDeviceName(*m_device) : QString();
}

void SoundPlayer::setDeviceType(const QString& deviceType)
{
    // The names are matched without regard to case, as device names usually are.
    for (const AudioDevice device : {AudioDevice::WaveAudio, AudioDevice::Sequencer}) {
        if (deviceType.compare(audioDeviceName(device), Qt::CaseInsensitive) == 0)
            m_device = device;
    }
}

void SoundPlayer::setFileName(const QString& fileName)
{
    m_fileName = fileName;
}

SoundPlayer::State SoundPlayer::state() const
{
    // The end of the sound is noticed only when somebody asks, so that the audio side never has
    // to call back into the user-interface thread.
    if (m_state == State::Playing && !m_service.isSounding(m_player))
        return State::Open;
    return m_state;
}

void SoundPlayer::command(const QString& command)
{
    const QString name = command.trimmed();
    if (name.compare(QLatin1String("open"), Qt::CaseInsensitive) == 0)
        open();
    else if (name.compare(QLatin1String("play"), Qt::CaseInsensitive) == 0)
        play();
    else if (name.compare(QLatin1String("close"), Qt::CaseInsensitive) == 0)
        close();
}

void SoundPlayer::open()
{
    // Without a device type there is nothing to open.
    if (!m_device)
        return;
    m_service.open(m_player, *m_device, m_fileName);
    m_state = State::Open;
}

void SoundPlayer::play()
{
    if (m_state == State::Closed)
        return;
    m_service.play(m_player);
    m_state = State::Playing;
}

void SoundPlayer::close()
{
    if (m_state == State::Closed)
        return;
    m_service.close(m_player);
    m_state = State::Closed;
}

} // namespace tonovka
