#include "WebAudioService.h"

#include "SoundLog.h"
#include "WebAudioEngine.h"

namespace tonovka {

WebAudioService::WebAudioService()
    : m_sounds({}, [](QString&) { return std::make_unique<WebAudioEngine>(); })
{
}

int WebAudioService::addPlayer()
{
    return ++m_players;
}

// A page shows its console to whoever looks: a sound that stays silent says why there, in one line.
void WebAudioService::open(int player, AudioDevice device, const QString& fileName)
{
    if (const QString silence = m_sounds.open(player, device, fileName); !silence.isEmpty())
        qCWarning(lcSound).noquote() << "player" << player << "stays silent:" << silence;
}

void WebAudioService::play(int player)
{
    m_sounds.play(player);
}

void WebAudioService::close(int player)
{
    m_sounds.close(player);
}

void WebAudioService::releaseCommands()
{
    WebAudioEngine::prepareTunes();
}

bool WebAudioService::isSounding(int player) const
{
    return m_sounds.isSounding(player);
}

} // namespace tonovka
