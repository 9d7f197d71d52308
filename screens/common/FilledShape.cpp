#include "FilledShape.h"

#include <QPainter>

namespace tonovka {

FilledShape::FilledShape(const QString& name, QWidget* parent, const QColor& fill, const QColor& border)
    : QWidget(parent), m_fill(fill), m_border(border)
{
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FilledShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_fill);
    painter.setPen(m_border);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace tonovka
