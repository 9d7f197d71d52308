#pragma once

#include <QWidget>

#include "Screen.h"

class QLabel;
class QPushButton;

namespace tonovka {

class AppShell;
class AudioService;
class PictureBox;
class PictureSet;
class SoundPlayer;

// The small borderless screen the program starts on: the name, a subtitle, a flooded house,
// and the buttons to enter the game or to end. It sounds the siren as it loads.
class WelcomeScreen final : public QWidget, public Screen {
    Q_OBJECT

public:
    WelcomeScreen(AppShell& shell, const PictureSet& pictures, AudioService& audio);

    QWidget& window() override { return *this; }
    void load() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    AppShell& m_shell;
    PictureBox* m_Image1;
    QLabel* m_tittlelbl;
    QLabel* m_Label1;
    QPushButton* m_enterBUTT;
    QPushButton* m_endBUTT;
    SoundPlayer* m_MMControl1;
};

} // namespace tonovka
