// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a running application's accessible objects over the accessibility bus, as a screen
// reader does, for the end-to-end tests.
//
//   atspi_tree APP dump [showing]
//                                one line per object: window, role, name, description, flags
//                                (S showing with all its ancestors, F focusable, A has
//                                actions), tab-separated; with "showing", only what shows
//   atspi_tree APP press ROLE NAME
//                                runs the first action of the first showing object with that
//                                role and name; exit status 1 when there is none
//   atspi_tree APP centre ROLE NAME
//                                prints "X Y", the screen position of the centre of the
//                                part in view of the first showing object with that role
//                                and name, for a click on what the user sees; exit status
//                                1 when none shows or it is scrolled out of view
//   atspi_tree APP showing ROLE NAME
//                                exit status 0 when an object with that role and name shows,
//                                1 when none does
//
// APP is the application's accessible name; ROLE may list roles separated by "|". The
// queries on one object read only what shows, nearest the top first, so they stay quick
// on a large window. Exit status 2 when the bus or the application cannot be reached.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QPoint>
#include <QRect>
#include <QTextStream>

#include <functional>

namespace {

struct Ref {
    QString service;
    QDBusObjectPath path;
};

QDBusArgument& operator<<(QDBusArgument& a, const Ref& r) {
    a.beginStructure();
    a << r.service << r.path;
    a.endStructure();
    return a;
}
const QDBusArgument& operator>>(const QDBusArgument& a, Ref& r) {
    a.beginStructure();
    a >> r.service >> r.path;
    a.endStructure();
    return a;
}

} // namespace

Q_DECLARE_METATYPE(Ref)
Q_DECLARE_METATYPE(QList<Ref>)

namespace {

const QString Accessible = QStringLiteral("org.a11y.atspi.Accessible");
constexpr int StateFocusable = 11;
constexpr int StateShowing = 25;

struct Node {
    Ref ref;
    QString window; // name of the top-level object it belongs to
    QString role;
    QString name;
    QString description;
    QString flags;
};

class Reader {
public:
    explicit Reader(QDBusConnection bus) : m_bus(std::move(bus)) {}

    // One call, without the introspection a QDBusInterface makes of every object.
    QDBusMessage call(const Ref& r, const QString& interface, const QString& method,
                      const QVariantList& args = {}) {
        QDBusMessage m =
            QDBusMessage::createMethodCall(r.service, r.path.path(), interface, method);
        m.setArguments(args);
        return m_bus.call(m);
    }
    template <typename T> T value(const QDBusMessage& reply) {
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return T();
        return qdbus_cast<T>(reply.arguments().constFirst());
    }

    QString property(const Ref& r, const char* name) {
        const QDBusMessage reply =
            call(r, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                 {Accessible, QString::fromLatin1(name)});
        return value<QDBusVariant>(reply).variant().toString();
    }
    QList<Ref> children(const Ref& r) {
        return value<QList<Ref>>(call(r, Accessible, QStringLiteral("GetChildren")));
    }
    QString role(const Ref& r) {
        return value<QString>(call(r, Accessible, QStringLiteral("GetRoleName")));
    }
    bool has(const QList<uint>& states, int bit) {
        return states.size() > bit / 32 && (states[bit / 32] >> (bit % 32) & 1u);
    }
    QList<uint> states(const Ref& r) {
        return value<QList<uint>>(call(r, Accessible, QStringLiteral("GetState")));
    }

    // `parentShowing`: every ancestor is on screen; only then does this one count as showing.
    Node node(const Ref& r, const QString& window, bool parentShowing) {
        Node n;
        n.ref = r;
        n.window = window;
        n.role = role(r);
        n.name = property(r, "Name");
        n.description = property(r, "Description");
        const QList<uint> s = states(r);
        if (parentShowing && has(s, StateShowing))
            n.flags += u'S';
        if (has(s, StateFocusable))
            n.flags += u'F';
        const QStringList interfaces =
            value<QStringList>(call(r, Accessible, QStringLiteral("GetInterfaces")));
        if (interfaces.contains(QStringLiteral("org.a11y.atspi.Action")))
            n.flags += u'A';
        return n;
    }

    // The application's top-level objects; empty when it is not on the bus.
    QList<Ref> windows(const QString& app) {
        const Ref root{QStringLiteral("org.a11y.atspi.Registry"),
                       QDBusObjectPath(QStringLiteral("/org/a11y/atspi/accessible/root"))};
        QList<Ref> out;
        bool found = false;
        for (const Ref& a : children(root)) {
            if (property(a, "Name") != app)
                continue;
            found = true;
            out << children(a);
        }
        m_found = found;
        return out;
    }
    bool appFound() const { return m_found; }

    // The application's objects, depth first; with `showingOnly`, what does not show is left
    // out with everything inside it.
    QList<Node> tree(const QString& app, bool showingOnly) {
        QList<Node> out;
        std::function<void(const Ref&, const QString&, bool, int)> walk =
            [&](const Ref& r, const QString& window, bool showing, int depth) {
                const Node n = node(r, window, showing);
                if (showingOnly && !n.flags.contains(u'S'))
                    return;
                out << n;
                if (depth > 40)
                    return;
                for (const Ref& c : children(r))
                    walk(c, depth == 0 ? n.name : window, n.flags.contains(u'S'), depth + 1);
            };
        for (const Ref& top : windows(app))
            walk(top, {}, true, 0);
        return out;
    }

    // The first showing object with one of the roles and the name, nearest the top first;
    // only showing objects are looked into. The chain runs from its window down to it.
    QList<Ref> findShowing(const QString& app, const QStringList& roles, const QString& name) {
        QList<QList<Ref>> level;
        for (const Ref& w : windows(app))
            level << QList<Ref>{w};
        for (int depth = 0; depth <= 40 && !level.isEmpty(); ++depth) {
            QList<QList<Ref>> next;
            for (const QList<Ref>& chain : level) {
                const Ref& r = chain.constLast();
                if (!has(states(r), StateShowing))
                    continue;
                if (property(r, "Name") == name && roles.contains(role(r)))
                    return chain;
                for (const Ref& c : children(r))
                    next << (QList<Ref>(chain) << c);
            }
            level = next;
        }
        return {};
    }

    bool press(const Ref& r) {
        return value<bool>(
            call(r, QStringLiteral("org.a11y.atspi.Action"), QStringLiteral("DoAction"), {0}));
    }

    // The object's box on the screen in Qt's device-independent pixels; empty when it has
    // no extents.
    QRect extents(const Ref& r) {
        const QDBusMessage reply =
            call(r, QStringLiteral("org.a11y.atspi.Component"), QStringLiteral("GetExtents"),
                 {uint(0)}); // 0: screen coordinates
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return {};
        const QDBusArgument box = reply.arguments().constFirst().value<QDBusArgument>();
        int x = 0, y = 0, width = 0, height = 0;
        box.beginStructure();
        box >> x >> y >> width >> height;
        box.endStructure();
        return width > 0 && height > 0 ? QRect(x, y, width, height) : QRect();
    }

    // The centre of the part of the chain's last object that its ancestors leave in view (a
    // scrolled page clips what lies outside its viewport); null when no part is in view.
    // A combo box's list and a menu item's menu are popups of their own, outside the box
    // of the object that owns them: the clipping stops there.
    QPoint centre(const QList<Ref>& chain) {
        static const QStringList popupOwners{QStringLiteral("combo box"),
                                             QStringLiteral("menu item")};
        QRect box = extents(chain.constLast());
        for (qsizetype i = chain.size() - 2; i >= 0 && !box.isEmpty(); --i) {
            if (popupOwners.contains(role(chain[i])))
                break;
            const QRect outer = extents(chain[i]);
            if (!outer.isEmpty()) // objects without a box of their own clip nothing
                box &= outer;
        }
        if (box.isEmpty())
            return {};
        // Under QT_SCALE_FACTOR the screen (and so a click) is in pixels that many times
        // larger.
        bool ok = false;
        const double scale = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
        const double f = ok && scale > 0 ? scale : 1.0;
        const QPointF c = QRectF(box).center();
        return {qRound(c.x() * f), qRound(c.y() * f)};
    }

private:
    QDBusConnection m_bus;
    bool m_found = false;
};

QString oneLine(QString text) {
    return text.replace(u'\t', u' ').replace(u'\n', u' ');
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    qDBusRegisterMetaType<Ref>();
    qDBusRegisterMetaType<QList<Ref>>();
    const QStringList args = app.arguments().mid(1);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.size() < 2) {
        err << "usage: atspi_tree APP dump [showing] | APP press|centre|showing ROLE NAME\n";
        return 2;
    }

    QDBusInterface launcher(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                            QStringLiteral("org.a11y.Bus"), QDBusConnection::sessionBus());
    const QDBusReply<QString> address = launcher.call(QStringLiteral("GetAddress"));
    if (!address.isValid()) {
        err << "no accessibility bus: " << address.error().message() << '\n';
        return 2;
    }
    QDBusConnection bus = QDBusConnection::connectToBus(address.value(), QStringLiteral("a11y"));
    if (!bus.isConnected()) {
        err << "cannot connect to the accessibility bus " << address.value() << ": "
            << bus.lastError().message() << '\n';
        return 2;
    }
    Reader reader(bus);
    const QString& appName = args[0];
    const auto unreachable = [&] {
        err << "no application " << appName << " on the accessibility bus\n";
        return 2;
    };

    if (args[1] == QLatin1String("dump")) {
        const QList<Node> nodes =
            reader.tree(appName, args.size() > 2 && args[2] == QLatin1String("showing"));
        if (!reader.appFound())
            return unreachable();
        for (const Node& n : nodes)
            out << oneLine(n.window) << '\t' << n.role << '\t' << oneLine(n.name) << '\t'
                << oneLine(n.description) << '\t' << n.flags << '\n';
        return 0;
    }
    if (args.size() != 4 ||
        !QStringList{QStringLiteral("press"), QStringLiteral("centre"), QStringLiteral("showing")}
             .contains(args[1])) {
        err << "unknown command\n";
        return 2;
    }
    const QList<Ref> found = reader.findShowing(appName, args[2].split(u'|'), args[3]);
    if (!reader.appFound())
        return unreachable();
    if (found.isEmpty()) {
        err << "no showing " << args[2] << " named " << args[3] << '\n';
        return 1;
    }
    if (args[1] == QLatin1String("press"))
        return reader.press(found.constLast()) ? 0 : 1;
    if (args[1] == QLatin1String("centre")) {
        const QPoint at = reader.centre(found);
        if (at.isNull()) {
            err << args[2] << " " << args[3] << " is out of view\n";
            return 1;
        }
        out << at.x() << ' ' << at.y() << '\n';
    }
    return 0;
}
