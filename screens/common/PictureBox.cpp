#include "PictureBox.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>

namespace tonovka {

namespace {

// A press does what a click does, and only where a click could land: on a picture that is shown
// and enabled, in a window that no modal box blocks.
class AccessiblePicture final : public QAccessibleWidget {
public:
    explicit AccessiblePicture(PictureBox* box) : QAccessibleWidget(box) {}

    QAccessible::Role role() const override
    {
        return box().answersClicks() ? QAccessible::Button : QAccessible::Graphic;
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (box().answersClicks())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& name) override
    {
        if (name != pressAction()) {
            QAccessibleWidget::doAction(name);
            return;
        }
        const QWidget* modal = QApplication::activeModalWidget();
        if (box().isVisible() && box().isEnabled() && (!modal || modal == box().window()))
            box().click();
    }

private:
    PictureBox& box() const { return *static_cast<PictureBox*>(widget()); }
};

QAccessibleInterface* accessiblePicture(const QString& className, QObject* object)
{
    if (className != QLatin1String(PictureBox::staticMetaObject.className()))
        return nullptr;
    return new AccessiblePicture(static_cast<PictureBox*>(object));
}

} // namespace

PictureBox::PictureBox(const QString& name, QWidget* parent, Fit fit) : QWidget(parent), m_fit(fit)
{
    static const bool accessible = (QAccessible::installFactory(accessiblePicture), true);
    Q_UNUSED(accessible);
    setObjectName(name);
    // The picture covers every pixel it is given, so nothing beneath needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setPicture(const QPixmap& picture)
{
    if (m_picture == &picture)
        return;
    m_picture = &picture;
    if (m_fit == Fit::NaturalSize) {
        const QSize logical = picture.deviceIndependentSize().toSize();
        if (size() != logical) {
            resize(logical); // a resize repaints the control and what it uncovers
            return;
        }
    }
    update();
}

bool PictureBox::answersClicks() const
{
    return isSignalConnected(QMetaMethod::fromSignal(&PictureBox::clicked));
}

void PictureBox::click()
{
    Q_EMIT clicked();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    if (!m_picture)
        return;
    QPainter painter(this);
    painter.drawPixmap(rect(), *m_picture);
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    // A click is a press and a release of the left button over the same picture.
    const bool clickedHere =
        m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (clickedHere)
        click();
}

} // namespace tonovka
