// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/PopupMenuAccess.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMenu>

namespace {

constexpr char HostProperty[] = "plumoraPopupHost";
constexpr char MenuProperty[] = "plumoraPopupMenu";

// The host's own children, then its attached menus that are open.
class HostAccessible : public QAccessibleWidget {
public:
    explicit HostAccessible(QWidget* host) : QAccessibleWidget(host, QAccessible::Client) {}

    int childCount() const override {
        return QAccessibleWidget::childCount() + int(openMenus().size());
    }
    QAccessibleInterface* child(int index) const override {
        const int own = QAccessibleWidget::childCount();
        if (index < own)
            return QAccessibleWidget::child(index);
        const QList<QMenu*> menus = openMenus();
        return index - own < menus.size()
                   ? QAccessible::queryAccessibleInterface(menus[index - own])
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const int at = child ? int(openMenus().indexOf(qobject_cast<QMenu*>(child->object()))) : -1;
        return at >= 0 ? QAccessibleWidget::childCount() + at
                       : QAccessibleWidget::indexOfChild(child);
    }

private:
    QList<QMenu*> openMenus() const {
        QList<QMenu*> open;
        for (QMenu* m : widget()->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
            if (m->property(MenuProperty).toBool() && m->isVisible())
                open << m;
        return open;
    }
};

QAccessibleInterface* hostFactory(const QString&, QObject* object) {
    if (!object || !object->isWidgetType() || !object->property(HostProperty).toBool())
        return nullptr;
    return new HostAccessible(static_cast<QWidget*>(object));
}

} // namespace

void PopupMenuAccess::attach(QWidget* host, QMenu* menu) {
    static const bool installed = [] {
        QAccessible::installFactory(hostFactory);
        return true;
    }();
    Q_UNUSED(installed);
    Q_ASSERT(menu->parent() == host);
    host->setProperty(HostProperty, true);
    menu->setProperty(MenuProperty, true);
    // A change of name while the host was built may have made its interface already; it is
    // made again, this time with the menus.
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(host);
    if (made && !dynamic_cast<HostAccessible*>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}
