#include "WebAudioService.h"

#include "SoundLog.h"
#include "WebAudioEngine.h"

#include <emscripten/html5.h>

#include <utility>

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
    carryOut([this, player, device, fileName] {
        if (const QString silence = m_sounds.open(player, device, fileName); !silence.isEmpty())
            qCWarning(lcSound).noquote() << "player" << player << "stays silent:" << silence;
    });
}

void WebAudioService::play(int player)
{
    carryOut([this, player] { m_sounds.play(player); });
}

void WebAudioService::close(int player)
{
    carryOut([this, player] { m_sounds.close(player); });
}

void WebAudioService::carryOut(std::function<void()> command)
{
    if (m_held)
        m_waiting.push_back(std::move(command));
    else
        command();
}

// The first window is drawn in the animation frame after the one in which it is first exposed,
// and shows once that frame is done: the commands are carried out in a task after the next.
void WebAudioService::releaseCommands()
{
    emscripten_request_animation_frame(
        [](double, void* service) {
            emscripten_request_animation_frame(
                [](double, void* service) {
                    emscripten_set_timeout(
                        [](void* service) { static_cast<WebAudioService*>(service)->carryOutWaiting(); }, 0,
                        service);
                    return EM_FALSE;
                },
                service);
            return EM_FALSE;
        },
        this);
}

void WebAudioService::carryOutWaiting()
{
    m_held = false;
    for (const std::function<void()>& command : std::exchange(m_waiting, {}))
        command();
    WebAudioEngine::prepareTunes();
}

bool WebAudioService::isSounding(int player) const
{
    return m_sounds.isSounding(player);
}

} // namespace tonovka
