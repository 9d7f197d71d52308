#pragma once

#include <QColor>
#include <QWidget>

namespace tonovka {

// A rectangle shape: a solid fill with a one-pixel border. Shapes take no mouse input, so a
// click reaches whatever lies beneath.
class FilledShape final : public QWidget {
public:
    FilledShape(const QString& name, QWidget* parent, const QColor& fill, const QColor& border);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_fill;
    QColor m_border;
};

} // namespace tonovka
