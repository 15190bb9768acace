// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/StatusNotifierItem.h"

#include "base/Log.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QtEndian>

// The wire types of both protocols.
struct SniPixmap {
    int width = 0;
    int height = 0;
    QByteArray argb; // ARGB32, network byte order
};
using SniPixmaps = QList<SniPixmap>;
struct SniToolTip {
    QString iconName;
    SniPixmaps pixmaps;
    QString title;
    QString text;
};
struct DBusMenuLayout {
    int id = 0;
    QVariantMap properties;
    QVariantList children; // each a DBusMenuLayout in a QDBusVariant
};
struct DBusMenuProperties {
    int id = 0;
    QVariantMap properties;
};
using DBusMenuPropertiesList = QList<DBusMenuProperties>;
struct DBusMenuRemoved {
    int id = 0;
    QStringList names;
};
using DBusMenuRemovedList = QList<DBusMenuRemoved>;
struct DBusMenuEvent {
    int id = 0;
    QString eventId;
    QDBusVariant data;
    uint timestamp = 0;
};
using DBusMenuEvents = QList<DBusMenuEvent>;

Q_DECLARE_METATYPE(SniPixmap)
Q_DECLARE_METATYPE(SniToolTip)
Q_DECLARE_METATYPE(DBusMenuLayout)
Q_DECLARE_METATYPE(DBusMenuProperties)
Q_DECLARE_METATYPE(DBusMenuRemoved)
Q_DECLARE_METATYPE(DBusMenuEvent)

// Found by argument-dependent lookup, so in the types' own (global) namespace.
QDBusArgument& operator<<(QDBusArgument& a, const SniPixmap& p) {
    a.beginStructure();
    a << p.width << p.height << p.argb;
    a.endStructure();
    return a;
}
const QDBusArgument& operator>>(const QDBusArgument& a, SniPixmap& p) {
    a.beginStructure();
    a >> p.width >> p.height >> p.argb;
    a.endStructure();
    return a;
}
QDBusArgument& operator<<(QDBusArgument& a, const SniToolTip& t) {
    a.beginStructure();
    a << t.iconName << t.pixmaps << t.title << t.text;
    a.endStructure();
    return a;
}
const QDBusArgument& operator>>(const QDBusArgument& a, SniToolTip& t) {
    a.beginStructure();
    a >> t.iconName >> t.pixmaps >> t.title >> t.text;
    a.endStructure();
    return a;
}
QDBusArgument& operator<<(QDBusArgument& a, const DBusMenuLayout& l) {
    a.beginStructure();
    a << l.id << l.properties;
    a.beginArray(qMetaTypeId<QDBusVariant>());
    for (const QVariant& child : l.children)
        a << qvariant_cast<QDBusVariant>(child);
    a.endArray();
    a.endStructure();
    return a;
}
const QDBusArgument& operator>>(const QDBusArgument& a, DBusMenuLayout& l) {
    a.beginStructure();
    a >> l.id >> l.properties;
    a.beginArray();
    l.children.clear();
    while (!a.atEnd()) {
        QDBusVariant child;
        a >> child;
        l.children << QVariant::fromValue(child);
    }
    a.endArray();
    a.endStructure();
    return a;
}
QDBusArgument& operator<<(QDBusArgument& a, const DBusMenuProperties& p) {
    a.beginStructure();
    a << p.id << p.properties;
    a.endStructure();
    return a;
}
const QDBusArgument& operator>>(const QDBusArgument& a, DBusMenuProperties& p) {
    a.beginStructure();
    a >> p.id >> p.properties;
    a.endStructure();
    return a;
}
QDBusArgument& operator<<(QDBusArgument& a, const DBusMenuRemoved& r) {
    a.beginStructure();
    a << r.id << r.names;
    a.endStructure();
    return a;
}
const QDBusArgument& operator>>(const QDBusArgument& a, DBusMenuRemoved& r) {
    a.beginStructure();
    a >> r.id >> r.names;
    a.endStructure();
    return a;
}
QDBusArgument& operator<<(QDBusArgument& a, const DBusMenuEvent& e) {
    a.beginStructure();
    a << e.id << e.eventId << e.data << e.timestamp;
    a.endStructure();
    return a;
}
const QDBusArgument& operator>>(const QDBusArgument& a, DBusMenuEvent& e) {
    a.beginStructure();
    a >> e.id >> e.eventId >> e.data >> e.timestamp;
    a.endStructure();
    return a;
}

namespace {

void registerTypes() {
    static const bool done = [] {
        qDBusRegisterMetaType<SniPixmap>();
        qDBusRegisterMetaType<SniPixmaps>();
        qDBusRegisterMetaType<SniToolTip>();
        qDBusRegisterMetaType<DBusMenuLayout>();
        qDBusRegisterMetaType<DBusMenuProperties>();
        qDBusRegisterMetaType<DBusMenuPropertiesList>();
        qDBusRegisterMetaType<DBusMenuRemoved>();
        qDBusRegisterMetaType<DBusMenuRemovedList>();
        qDBusRegisterMetaType<DBusMenuEvent>();
        qDBusRegisterMetaType<DBusMenuEvents>();
        return true;
    }();
    Q_UNUSED(done);
}

// A host names places in the display's own pixels; Qt's windows count in pixels scaled by
// each screen's ratio from the screen's top left corner.
QPoint fromHostPixels(QPoint at) {
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect logical = screen->geometry();
        const qreal ratio = screen->devicePixelRatio();
        const QRect native(logical.topLeft(), logical.size() * ratio);
        if (native.contains(at))
            return logical.topLeft() + (at - logical.topLeft()) / ratio;
    }
    return at;
}

const QString ItemPath = QStringLiteral("/StatusNotifierItem");
const QString MenuPath = QStringLiteral("/MenuBar");

SniPixmaps pixmapsOf(const QIcon& icon) {
    SniPixmaps all;
    for (int size : {16, 22, 24, 32, 48, 64}) {
        const QImage image = icon.pixmap(size)
                                 .toImage()
                                 .convertToFormat(QImage::Format_ARGB32)
                                 .scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (image.isNull())
            continue;
        SniPixmap p{image.width(), image.height(), {}};
        p.argb.resize(qsizetype(image.width()) * image.height() * 4);
        auto* out = reinterpret_cast<quint32*>(p.argb.data());
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                *out++ = qToBigEndian(quint32(line[x]));
        }
        all << p;
    }
    return all;
}

// The properties of `node` limited to `names` (all of them when empty).
QVariantMap chosen(const QVariantMap& properties, const QStringList& names) {
    if (names.isEmpty())
        return properties;
    QVariantMap some;
    for (const QString& name : names)
        if (properties.contains(name))
            some.insert(name, properties.value(name));
    return some;
}

DBusMenuLayout layoutOf(const DBusMenuNode& node, int depth, const QStringList& names) {
    DBusMenuLayout layout{node.id, chosen(node.properties, names), {}};
    if (!node.children.isEmpty())
        layout.properties.insert(QStringLiteral("children-display"), QStringLiteral("submenu"));
    if (depth != 0)
        for (const DBusMenuNode& child : node.children)
            layout.children << QVariant::fromValue(
                QDBusVariant(QVariant::fromValue(layoutOf(child, depth - 1, names))));
    return layout;
}

} // namespace

// org.kde.StatusNotifierItem at /StatusNotifierItem.
class StatusNotifierObject : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ category)
    Q_PROPERTY(QString Id READ id)
    Q_PROPERTY(QString Title READ title)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(int WindowId READ windowId)
    Q_PROPERTY(QString IconName READ emptyString)
    Q_PROPERTY(QList<SniPixmap> IconPixmap READ iconPixmap)
    Q_PROPERTY(QString OverlayIconName READ emptyString)
    Q_PROPERTY(QList<SniPixmap> OverlayIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionIconName READ emptyString)
    Q_PROPERTY(QList<SniPixmap> AttentionIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionMovieName READ emptyString)
    Q_PROPERTY(QString IconThemePath READ emptyString)
    Q_PROPERTY(SniToolTip ToolTip READ toolTip)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu)
    Q_PROPERTY(QDBusObjectPath Menu READ menu)
public:
    explicit StatusNotifierObject(StatusNotifierItem* owner) : QObject(owner), m_owner(owner) {}

    QString category() const { return QStringLiteral("ApplicationStatus"); }
    QString id() const { return QCoreApplication::applicationName(); }
    QString title() const { return m_title; }
    QString status() const { return m_status; }
    int windowId() const { return 0; }
    QString emptyString() const { return {}; }
    QList<SniPixmap> iconPixmap() const { return m_pixmaps; }
    QList<SniPixmap> noPixmaps() const { return {}; }
    SniToolTip toolTip() const { return {QString(), m_pixmaps, m_title, QString()}; }
    bool itemIsMenu() const { return m_itemIsMenu; }
    QDBusObjectPath menu() const { return QDBusObjectPath(MenuPath); }

    QString m_title;
    QString m_status = QStringLiteral("Active");
    QList<SniPixmap> m_pixmaps;
    bool m_itemIsMenu = false;

public Q_SLOTS:
    Q_SCRIPTABLE void Activate(int x, int y) {
        const QPoint at = QPoint(x, y).isNull() ? QPoint() : fromHostPixels({x, y});
        m_owner->hostCalled(at);
        Q_EMIT m_owner->activated(at);
    }
    Q_SCRIPTABLE void SecondaryActivate(int x, int y) {
        const QPoint at = QPoint(x, y).isNull() ? QPoint() : fromHostPixels({x, y});
        m_owner->hostCalled(at);
        Q_EMIT m_owner->secondaryActivated(at);
    }
    Q_SCRIPTABLE void ContextMenu(int x, int y) {
        const QPoint at = QPoint(x, y).isNull() ? QPoint() : fromHostPixels({x, y});
        m_owner->hostCalled(at);
        Q_EMIT m_owner->contextMenuRequested(at);
    }
    Q_SCRIPTABLE void Scroll(int, const QString&) {}
    Q_SCRIPTABLE void ProvideXdgActivationToken(const QString&) {}

Q_SIGNALS:
    Q_SCRIPTABLE void NewTitle();
    Q_SCRIPTABLE void NewIcon();
    Q_SCRIPTABLE void NewAttentionIcon();
    Q_SCRIPTABLE void NewOverlayIcon();
    Q_SCRIPTABLE void NewToolTip();
    Q_SCRIPTABLE void NewStatus(const QString& status);

private:
    StatusNotifierItem* m_owner;
};

// com.canonical.dbusmenu at /MenuBar.
class StatusNotifierMenu : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    Q_PROPERTY(uint Version READ version)
    Q_PROPERTY(QString TextDirection READ textDirection)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(QStringList IconThemePath READ iconThemePath)
public:
    explicit StatusNotifierMenu(StatusNotifierItem* owner) : QObject(owner), m_owner(owner) {}

    uint version() const { return 3; }
    QString textDirection() const { return QStringLiteral("ltr"); }
    QString status() const { return QStringLiteral("normal"); }
    QStringList iconThemePath() const { return {}; }

    void setRoot(const DBusMenuNode& root) {
        m_root = root;
        ++m_revision;
        Q_EMIT LayoutUpdated(m_revision, 0);
    }

public Q_SLOTS:
    Q_SCRIPTABLE uint GetLayout(int parentId, int recursionDepth, const QStringList& names,
                                DBusMenuLayout& layout) {
        const DBusMenuNode* node = m_root.find(parentId);
        layout = node ? layoutOf(*node, recursionDepth, names) : DBusMenuLayout{parentId, {}, {}};
        return m_revision;
    }
    Q_SCRIPTABLE QList<DBusMenuProperties> GetGroupProperties(const QList<int>& ids,
                                                              const QStringList& names) {
        QList<DBusMenuProperties> all;
        for (int id : ids)
            if (const DBusMenuNode* node = m_root.find(id))
                all << DBusMenuProperties{id, chosen(node->properties, names)};
        return all;
    }
    Q_SCRIPTABLE QDBusVariant GetProperty(int id, const QString& name) {
        const DBusMenuNode* node = m_root.find(id);
        return QDBusVariant(node ? node->properties.value(name) : QVariant(QString()));
    }
    Q_SCRIPTABLE void Event(int id, const QString& eventId, const QDBusVariant&, uint) {
        if (eventId != QLatin1String("clicked"))
            return;
        // After the call is answered: the entry may open a modal window.
        QMetaObject::invokeMethod(
            m_owner, [owner = m_owner, id] { Q_EMIT owner->menuItemClicked(id); },
            Qt::QueuedConnection);
    }
    Q_SCRIPTABLE QList<int> EventGroup(const QList<DBusMenuEvent>& events) {
        QList<int> unknown;
        for (const DBusMenuEvent& e : events) {
            if (m_root.find(e.id))
                Event(e.id, e.eventId, e.data, e.timestamp);
            else
                unknown << e.id;
        }
        return unknown;
    }
    Q_SCRIPTABLE bool AboutToShow(int) { return false; }
    Q_SCRIPTABLE QList<int> AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors) {
        idErrors.clear();
        for (int id : ids)
            if (!m_root.find(id))
                idErrors << id;
        return {};
    }

Q_SIGNALS:
    Q_SCRIPTABLE void ItemsPropertiesUpdated(const QList<DBusMenuProperties>& updated,
                                             const QList<DBusMenuRemoved>& removed);
    Q_SCRIPTABLE void LayoutUpdated(uint revision, int parent);
    Q_SCRIPTABLE void ItemActivationRequested(int id, uint timestamp);

private:
    StatusNotifierItem* m_owner;
    DBusMenuNode m_root;
    uint m_revision = 1;
};

StatusNotifierItem::StatusNotifierItem(QDBusConnection bus, QObject* parent)
    : QObject(parent), m_bus(std::move(bus)) {
    registerTypes();
    m_item = new StatusNotifierObject(this);
    m_menu = new StatusNotifierMenu(this);
    static int instances = 0;
    m_service = QStringLiteral("org.kde.StatusNotifierItem-%1-%2")
                    .arg(QCoreApplication::applicationPid())
                    .arg(++instances);
    m_watcher = new QDBusServiceWatcher(QString::fromLatin1(WatcherService), m_bus,
                                        QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) {
                m_registered = false;
                if (newOwner.isEmpty()) {
                    Q_EMIT watcherGone();
                    return;
                }
                if (m_started)
                    registerWithWatcher();
            });
}

StatusNotifierItem::~StatusNotifierItem() {
    if (!m_started)
        return;
    m_bus.unregisterObject(ItemPath);
    m_bus.unregisterObject(MenuPath);
    m_bus.unregisterService(m_service);
}

bool StatusNotifierItem::watcherPresent() const {
    return m_bus.isConnected() && m_bus.interface() &&
           m_bus.interface()->isServiceRegistered(QString::fromLatin1(WatcherService));
}

bool StatusNotifierItem::start() {
    if (m_started)
        return true;
    if (!m_bus.isConnected()) {
        qCWarning(lcDesktop) << "tray item: no session bus";
        return false;
    }
    constexpr auto Exports = QDBusConnection::ExportScriptableSlots |
                             QDBusConnection::ExportScriptableSignals |
                             QDBusConnection::ExportAllProperties;
    if (!m_bus.registerObject(ItemPath, m_item, Exports) ||
        !m_bus.registerObject(MenuPath, m_menu, Exports) || !m_bus.registerService(m_service)) {
        qCWarning(lcDesktop) << "tray item: the session bus refused" << m_service
                             << m_bus.lastError().message();
        m_bus.unregisterObject(ItemPath);
        m_bus.unregisterObject(MenuPath);
        return false;
    }
    m_started = true;
    if (watcherPresent())
        registerWithWatcher();
    return true;
}

void StatusNotifierItem::registerWithWatcher() {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(WatcherService), QStringLiteral("/StatusNotifierWatcher"),
        QString::fromLatin1(WatcherService), QStringLiteral("RegisterStatusNotifierItem"));
    call << m_service;
    // Asked without waiting: the watcher may call back into the item before it answers.
    const QDBusPendingCall pending = m_bus.asyncCall(call);
    auto* answer = new QDBusPendingCallWatcher(pending, this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        if (w->isError()) {
            qCWarning(lcDesktop) << "tray item: the watcher refused it:" << w->error().message();
            return;
        }
        m_registered = true;
        Q_EMIT watcherRegistered();
    });
}

void StatusNotifierItem::setIcon(const QIcon& icon) {
    m_item->m_pixmaps = pixmapsOf(icon);
    Q_EMIT m_item->NewIcon();
}

void StatusNotifierItem::setTitle(const QString& title) {
    m_item->m_title = title;
    Q_EMIT m_item->NewTitle();
    Q_EMIT m_item->NewToolTip();
}

void StatusNotifierItem::setStatus(const QString& status) {
    m_item->m_status = status;
    Q_EMIT m_item->NewStatus(status);
}

void StatusNotifierItem::setItemIsMenu(bool itemIsMenu) {
    m_item->m_itemIsMenu = itemIsMenu;
}

void StatusNotifierItem::setMenu(const DBusMenuNode& root) {
    m_menu->setRoot(root);
}

#include "StatusNotifierItem.moc"
