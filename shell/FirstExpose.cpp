#include "FirstExpose.h"

#include <QEvent>
#include <QWindow>

namespace tonovka {

namespace {

class FirstExpose final : public QObject {
public:
    FirstExpose(QWindow& window, std::function<void()> then) : QObject(&window), m_then(std::move(then))
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            m_then();
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_then;
};

} // namespace

void whenFirstExposed(QWindow& window, std::function<void()> then)
{
    if (window.isExposed()) {
        then();
        return;
    }
    new FirstExpose(window, std::move(then));
}

} // namespace tonovka
