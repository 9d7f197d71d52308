#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QSize>
#include <QTimer>

class QWidget;

namespace tonovka {

// Holds a top-level window at one outer size, frame included, whatever the user does to its
// border. The frame is known only once the window has been exposed, so the client size is set
// then and again after every resize; with no window manager there is no frame and the client
// takes the whole size. The first time, the window is also centred by that outer size; after
// that it stays where the user puts it.
class OuterSizeKeeper final : public QObject {
public:
    OuterSizeKeeper(QWidget& window, QSize outerSize);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr qint64 kSettlingMs = 300;
    static constexpr int kMaxRechecks = 10; // in a row, for a window manager that never gives in

    QSize heldClientSize() const;
    bool frameKnown() const;
    void holdSize();

    QWidget& m_window;
    const QSize m_outerSize;
    bool m_placed = false;
    QPoint m_place;                // where the frame's top-left corner belongs
    QElapsedTimer m_sinceAdjusted; // since this keeper last set the size or the place
    QTimer m_recheck;
    int m_rechecks = 0;
};

} // namespace tonovka
