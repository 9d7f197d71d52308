#pragma once

#include <QList>
#include <QWidget>

namespace tonovka {

// The main window's client area, where the house stands. Assistive technology reads its
// controls as a player sees them: only those that are shown, top to bottom and left to right,
// so the fifteen windows come in their numbers' order whatever lies over what.
class ClientArea final : public QWidget {
    Q_OBJECT

public:
    explicit ClientArea(QWidget* parent);

    QList<QWidget*> shownInReadingOrder() const;
};

} // namespace tonovka
