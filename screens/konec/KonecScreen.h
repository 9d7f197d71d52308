#pragma once

#include "EndScreenFrame.h"
#include "Screen.h"

class QLabel;
class QPushButton;

namespace tonovka {

// "Gejm Ouvr": the screen that opens when the time runs out. Its OK button ends the program.
class KonecScreen final : public EndScreenFrame, public Screen {
    Q_OBJECT

public:
    explicit KonecScreen(AppShell& shell);

    QWidget& window() override { return *this; }

private:
    QPushButton* m_Command1;
    QLabel* m_KonecLBL;
};

} // namespace tonovka
