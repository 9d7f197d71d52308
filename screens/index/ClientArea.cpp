#include "ClientArea.h"

#include <QAccessibleWidget>

#include <algorithm>

namespace tonovka {

namespace {

class AccessibleClientArea final : public QAccessibleWidget {
public:
    explicit AccessibleClientArea(ClientArea* area) : QAccessibleWidget(area) {}

    int childCount() const override { return static_cast<int>(area().shownInReadingOrder().size()); }

    QAccessibleInterface* child(int index) const override
    {
        const QList<QWidget*> shown = area().shownInReadingOrder();
        return index >= 0 && index < shown.size() ? QAccessible::queryAccessibleInterface(shown[index]) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child || !child->object() || !child->object()->isWidgetType())
            return -1;
        return static_cast<int>(area().shownInReadingOrder().indexOf(static_cast<QWidget*>(child->object())));
    }

private:
    ClientArea& area() const { return *static_cast<ClientArea*>(widget()); }
};

QAccessibleInterface* accessibleClientArea(const QString& className, QObject* object)
{
    if (className != QLatin1String(ClientArea::staticMetaObject.className()))
        return nullptr;
    return new AccessibleClientArea(static_cast<ClientArea*>(object));
}

} // namespace

ClientArea::ClientArea(QWidget* parent) : QWidget(parent)
{
    static const bool accessible = (QAccessible::installFactory(accessibleClientArea), true);
    Q_UNUSED(accessible);
}

void ClientArea::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    for (QWidget* control : shownInReadingOrder()) {
        QAccessibleEvent shown(control, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
    }
}

QList<QWidget*> ClientArea::shownInReadingOrder() const
{
    QList<QWidget*> shown;
    for (QWidget* control : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!control->isHidden() && !control->isWindow())
            shown.append(control);
    }
    std::stable_sort(shown.begin(), shown.end(), [](const QWidget* a, const QWidget* b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    return shown;
}

} // namespace tonovka
