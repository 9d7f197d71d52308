#pragma once

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
// it tiles. The keeper corrects one such geometry a few times at most; when the window manager
// puts the window back there each time, the window stays as the window manager has it until the
// window manager changes it again.
class OuterSizeKeeper final : public QObject {
public:
    // How often the keeper corrects the window from one geometry that the window manager gives it.
    static constexpr int kMaxCorrections = 5;

    OuterSizeKeeper(QWidget& window, QSize outerSize);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A window manager busy with a resize of its own may drop a request and send no further
    // event: the keeper looks again after this long.
    static constexpr int kRecheckMs = 300;
    static constexpr qsizetype kMaxAnswers = 16;

    QSize heldClientSize() const;
    bool frameKnown() const;
    QPoint framePosition(const QRect& client) const;
    bool isHeld() const;
    bool reportedHeld() const;
    void noteGiven();
    void holdSize();

    QWidget& m_window;
    const QSize m_outerSize;
    bool m_placed = false;
    QPoint m_place;        // where the frame's top-left corner belongs
    QRect m_reported;      // the client's place and size as the window system last reported them
    QRect m_given;         // the last of those that was not the held ones: the window manager's
    bool m_asked = false;  // the keeper has asked for size or place, and they are not yet reported
    QRect m_corrected;     // the window manager's geometry last corrected
    int m_corrections = 0; // how often the window manager's change has been corrected
    QList<QRect> m_answers; // what it gave since the window last had its held geometry
    QTimer m_recheck;
};

} // namespace tonovka
