#include "SdlAudioService.h"

#include "AudioLibraries.h"
#include "PlayerSounds.h"
#include "SdlEngine.h"
#include "SoundFileSearch.h"

#include <optional>

namespace tonovka {

namespace {

// While a sound plays, the audio thread looks this often whether it has ended.
constexpr auto SoundingCheckInterval = std::chrono::milliseconds(100);

} // namespace

SdlAudioService::SdlAudioService()
    : SdlAudioService(installedSoundFolders(), soundFontCandidates(installedSoundFolders()), installedAudioLibraries())
{
}

SdlAudioService::SdlAudioService(QStringList folders, QStringList soundFonts, QStringList libraries)
    : m_thread(&SdlAudioService::run, this, std::move(folders), std::move(soundFonts), std::move(libraries))
{
}

SdlAudioService::~SdlAudioService()
{
    {
        const std::lock_guard lock(m_mutex);
        m_ending = true;
        m_commands.clear();
    }
    m_wake.notify_one();
    m_thread.join();
}

int SdlAudioService::addPlayer()
{
    const std::lock_guard lock(m_mutex);
    return ++m_players;
}

void SdlAudioService::open(int player, AudioDevice device, const QString& fileName)
{
    give({Kind::Open, player, device, fileName});
}

void SdlAudioService::play(int player)
{
    give({Kind::Play, player, {}, {}});
}

void SdlAudioService::close(int player)
{
    give({Kind::Close, player, {}, {}});
}

bool SdlAudioService::isSounding(int player) const
{
    const std::lock_guard lock(m_mutex);
    const auto waiting = m_playsWaiting.find(player);
    return (waiting != m_playsWaiting.end() && waiting->second > 0) || m_sounding.count(player) > 0;
}

bool SdlAudioService::waitUntilDone(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    return m_done.wait_for(lock, timeout, [this] { return m_commands.empty() && !m_busy; });
}

void SdlAudioService::holdCommands(std::chrono::milliseconds atMost)
{
    {
        const std::lock_guard lock(m_mutex);
        m_held = true;
        m_heldUntil = std::chrono::steady_clock::now() + atMost;
    }
    m_wake.notify_one();
}

void SdlAudioService::releaseCommands()
{
    {
        const std::lock_guard lock(m_mutex);
        m_held = false;
    }
    m_wake.notify_one();
}

void SdlAudioService::give(Command command)
{
    {
        const std::lock_guard lock(m_mutex);
        if (command.kind == Kind::Play)
            ++m_playsWaiting[command.player];
        m_commands.push_back(std::move(command));
    }
    m_wake.notify_one();
}

void SdlAudioService::run(QStringList folders, QStringList soundFonts, QStringList libraries)
{
    PlayerSounds sounds(std::move(folders), [&soundFonts, &libraries](QString& error) -> std::unique_ptr<AudioEngine> {
        const AudioLibraries* loaded = loadAudioLibraries(libraries, error);
        return loaded ? std::make_unique<SdlEngine>(*loaded, soundFonts) : nullptr;
    });
    const auto hasWork = [this] { return m_ending || m_held || !m_commands.empty(); };
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (m_held) {
            m_wake.wait_until(lock, m_heldUntil, [this] { return m_ending || !m_held; });
            m_held = false;
        }
        if (m_sounding.empty())
            m_wake.wait(lock, hasWork);
        else
            m_wake.wait_for(lock, SoundingCheckInterval, hasWork);
        if (m_ending)
            break;
        if (m_held)
            continue;

        std::optional<Command> command;
        if (!m_commands.empty()) {
            command = std::move(m_commands.front());
            m_commands.pop_front();
            m_busy = true;
        }
        std::set<int> toLookAt = m_sounding;

        // SDL may take its time, and asking it whether a sound plays waits for its mixing, so the
        // user-interface thread must never wait for this part.
        lock.unlock();
        if (command) {
            switch (command->kind) {
            case Kind::Open:
                sounds.open(command->player, command->device, command->fileName);
                break;
            case Kind::Play:
                sounds.play(command->player);
                break;
            case Kind::Close:
                sounds.close(command->player);
                break;
            }
            toLookAt.insert(command->player);
        }
        std::set<int> sounding;
        for (const int player : toLookAt) {
            if (sounds.isSounding(player))
                sounding.insert(player);
        }
        lock.lock();

        m_busy = false;
        if (command && command->kind == Kind::Play)
            --m_playsWaiting[command->player];
        m_sounding.swap(sounding);
        if (m_commands.empty())
            m_done.notify_all();
    }
    // The sounds stop and the device closes when they go out of scope, unlocked.
    lock.unlock();
}

} // namespace tonovka
