#include "RecordingAudioService.h"

namespace tonovka {

int RecordingAudioService::addPlayer()
{
    return ++m_players;
}

void RecordingAudioService::open(int player, AudioDevice device, const QString& fileName)
{
    m_sounding.remove(player);
    record(player, QStringLiteral("open %1 %2").arg(audioDeviceName(device), fileName));
}

void RecordingAudioService::play(int player)
{
    m_sounding.insert(player);
    record(player, QStringLiteral("play"));
}

void RecordingAudioService::close(int player)
{
    m_sounding.remove(player);
    record(player, QStringLiteral("close"));
}

bool RecordingAudioService::isSounding(int player) const
{
    return m_sounding.contains(player);
}

void RecordingAudioService::finishSound(int player)
{
    m_sounding.remove(player);
}

QStringList RecordingAudioService::takeCommands()
{
    QStringList taken;
    taken.swap(m_commands);
    return taken;
}

void RecordingAudioService::record(int player, const QString& text)
{
    m_commands.append(QStringLiteral("player %1: %2").arg(player).arg(text));
}

} // namespace tonovka
