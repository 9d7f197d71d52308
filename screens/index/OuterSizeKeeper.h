#pragma once

#include "OuterSizeStates.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTimer>

class QWidget;

namespace tonovka {

// Holds a top-level window at one outer size, frame included, whatever the user does to its
// border. The frame is known only once the window has been exposed, so the client size is set
// then and again after every resize; with no window manager there is no frame and the client
// takes the whole size. The first time, the window is also centred by that outer size; after
// that it stays where the user puts it.
//
// A window manager may insist on a size or place of its own, as a tiling one does with a window
// it tiles. The keeper corrects each change of the window manager's a few times at most
// (OuterSizeStates.h); when the window manager puts the window back each time, the window stays
// as the window manager has it until the window manager changes it again.
class OuterSizeKeeper final : public QObject {
public:
    OuterSizeKeeper(QWidget& window, QSize outerSize);

    KeeperPhase phase() const { return m_state.phase; }

    // Centres and holds the window again as the first time, on a screen that has changed its size
    // or scale: whatever place the user had given it belonged to the screen as it was.
    void startOver();

    // A window manager busy with a resize of its own may drop a request, or its report, and send
    // no further event: the keeper looks again after this long, and takes what it finds as the
    // answer. A correction granted and left alone as long has stood.
    static constexpr int kLookAgainMs = 300;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSize heldClientSize() const;
    bool frameKnown() const;
    QPoint framePosition(const QRect& client) const;
    KeeperSight see() const;
    void look(bool lookingAgain);
    void take(KeeperStep step);
    void correct();
    void takeQtsWord();

    QWidget& m_window;
    const QSize m_outerSize;
    KeeperState m_state;
    QPoint m_place;             // where the frame's top-left corner belongs
    QRect m_reported;           // the client's place and size as the window system last reported them
    QList<QRect> m_changeGiven; // what the window manager gave during the change last corrected
    QTimer m_lookAgain;
};

} // namespace tonovka
