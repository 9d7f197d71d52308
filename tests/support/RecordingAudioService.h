#pragma once

#include "AudioService.h"

#include <QSet>
#include <QStringList>

namespace tonovka {

// An audio service that plays nothing and writes down every call as one line of text, such as
// "player 1: open sequencer rytmozan.mid", "player 1: play" or "player 2: close", so that a test
// can compare the calls and their order with a list of literals.
class RecordingAudioService final : public AudioService {
public:
    int addPlayer() override;
    void open(int player, AudioDevice device, const QString& fileName) override;
    void play(int player) override;
    void close(int player) override;
    bool isSounding(int player) const override;

    // Stands for the end of the player's sound, which the real service notices by itself.
    void finishSound(int player);

    QStringList commands() const { return m_commands; }
    // The calls written down so far; the record starts empty again.
    QStringList takeCommands();

private:
    void record(int player, const QString& text);

    QStringList m_commands;
    QSet<int> m_sounding;
    int m_players = 0;
};

} // namespace tonovka
