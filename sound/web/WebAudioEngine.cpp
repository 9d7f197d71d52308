#include "WebAudioEngine.h"

#include "SoundLevels.h"

extern "C" {
int tonovka_audio_start();
void tonovka_audio_prepare(int polyphony);
void tonovka_audio_load_wave(int player, const char* bytes, int length, double gain);
void tonovka_audio_load_midi(int player, const char* bytes, int length, double gain, int polyphony);
void tonovka_audio_play(int player);
void tonovka_audio_release(int player);
int tonovka_audio_is_sounding(int player);
}

namespace tonovka {

bool WebAudioEngine::start()
{
    if (tonovka_audio_start())
        return true;
    m_error = QStringLiteral("the browser has no Web Audio");
    return false;
}

void WebAudioEngine::prepareTunes()
{
    tonovka_audio_prepare(soundLevels::FluidSynthPolyphony);
}

bool WebAudioEngine::loadWave(int player, const QByteArray& bytes)
{
    tonovka_audio_load_wave(player, bytes.constData(), int(bytes.size()), soundLevels::Volume);
    return true;
}

bool WebAudioEngine::loadMidi(int player, const QByteArray& bytes)
{
    tonovka_audio_load_midi(player, bytes.constData(), int(bytes.size()),
                            soundLevels::Volume * soundLevels::FluidSynthFullGain, soundLevels::FluidSynthPolyphony);
    return true;
}

void WebAudioEngine::play(int player)
{
    tonovka_audio_play(player);
}

void WebAudioEngine::release(int player)
{
    tonovka_audio_release(player);
}

bool WebAudioEngine::isSounding(int player) const
{
    return tonovka_audio_is_sounding(player) != 0;
}

} // namespace tonovka
