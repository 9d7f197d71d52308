#include "PictureBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace tonovka {

PictureBox::PictureBox(const QString& name, QWidget* parent, Fit fit) : QWidget(parent), m_fit(fit)
{
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
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        Q_EMIT clicked();
}

} // namespace tonovka
