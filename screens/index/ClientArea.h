#pragma once

#include <QList>
#include <QWidget>

namespace tonovka {

// The main window's client area, where the house stands. Assistive technology reads its
// controls as a player sees them: only those that are shown, top to bottom and left to right,
// so the fifteen windows come in their numbers' order whatever lies over what. A page's screen
// reader keeps the controls in the order in which they were last shown to it, which is the order
// they were made in, the drawing order: once they have shown, they are shown to it again in
// reading order.
class ClientArea final : public QWidget {
    Q_OBJECT

public:
    explicit ClientArea(QWidget* parent);

    QList<QWidget*> shownInReadingOrder() const;

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace tonovka
