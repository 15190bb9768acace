// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a running application's accessible objects over the accessibility bus, as a screen
// reader does, for the end-to-end tests.
//
//   atspi_tree APP dump          one line per object: window, role, name, description, flags
//                                (S showing with all its ancestors, F focusable, A has
//                                actions), tab-separated
//   atspi_tree APP press ROLE NAME
//                                runs the first action of the first object with that role
//                                and name; exit status 1 when there is none
//   atspi_tree APP centre ROLE NAME
//                                prints "X Y", the screen position of the centre of the
//                                first showing object with that role and name, for a click
//                                on what the user sees; exit status 1 when none shows
//
// APP is the application's accessible name. Exit status 2 when the bus or the application
// cannot be reached.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QPoint>
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

    QVariant property(const Ref& r, const char* name) {
        QDBusInterface props(r.service, r.path.path(),
                             QStringLiteral("org.freedesktop.DBus.Properties"), m_bus);
        const QDBusReply<QDBusVariant> reply =
            props.call(QStringLiteral("Get"), Accessible, QLatin1String(name));
        return reply.isValid() ? reply.value().variant() : QVariant();
    }

    QList<Ref> children(const Ref& r) {
        QDBusInterface acc(r.service, r.path.path(), Accessible, m_bus);
        const QDBusReply<QList<Ref>> reply = acc.call(QStringLiteral("GetChildren"));
        return reply.isValid() ? reply.value() : QList<Ref>();
    }

    // `parentShowing`: every ancestor is on screen; only then does this one count as showing.
    Node node(const Ref& r, const QString& window, bool parentShowing) {
        Node n;
        n.ref = r;
        n.window = window;
        QDBusInterface acc(r.service, r.path.path(), Accessible, m_bus);
        n.role = QDBusReply<QString>(acc.call(QStringLiteral("GetRoleName"))).value();
        n.name = property(r, "Name").toString();
        n.description = property(r, "Description").toString();
        const QDBusReply<QList<uint>> states = acc.call(QStringLiteral("GetState"));
        const auto has = [&](int bit) {
            const QList<uint> s = states.value();
            return s.size() > bit / 32 && (s[bit / 32] >> (bit % 32) & 1u);
        };
        if (parentShowing && has(StateShowing))
            n.flags += u'S';
        if (has(StateFocusable))
            n.flags += u'F';
        const QDBusReply<QStringList> interfaces = acc.call(QStringLiteral("GetInterfaces"));
        if (interfaces.value().contains(QStringLiteral("org.a11y.atspi.Action")))
            n.flags += u'A';
        return n;
    }

    // The application's objects, depth first; empty when it is not on the bus.
    QList<Node> tree(const QString& app) {
        const Ref root{QStringLiteral("org.a11y.atspi.Registry"),
                       QDBusObjectPath(QStringLiteral("/org/a11y/atspi/accessible/root"))};
        QList<Node> out;
        for (const Ref& a : children(root)) {
            if (property(a, "Name").toString() != app)
                continue;
            std::function<void(const Ref&, const QString&, bool, int)> walk =
                [&](const Ref& r, const QString& window, bool showing, int depth) {
                    const Node n = node(r, window, showing);
                    out << n;
                    if (depth > 40)
                        return;
                    for (const Ref& c : children(r))
                        walk(c, depth == 0 ? n.name : window, n.flags.contains(u'S'), depth + 1);
                };
            for (const Ref& top : children(a))
                walk(top, {}, true, 0);
        }
        return out;
    }

    bool press(const Ref& r) {
        QDBusInterface action(r.service, r.path.path(), QStringLiteral("org.a11y.atspi.Action"),
                              m_bus);
        const QDBusReply<bool> done = action.call(QStringLiteral("DoAction"), 0);
        return done.isValid() && done.value();
    }

    // The object's centre on the screen; null when it has no extents.
    QPoint centre(const Ref& r) {
        QDBusInterface component(r.service, r.path.path(),
                                 QStringLiteral("org.a11y.atspi.Component"), m_bus);
        const QDBusMessage reply =
            component.call(QStringLiteral("GetExtents"), uint(0)); // 0: screen coordinates
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return {};
        const QDBusArgument box = reply.arguments().constFirst().value<QDBusArgument>();
        int x = 0, y = 0, width = 0, height = 0;
        box.beginStructure();
        box >> x >> y >> width >> height;
        box.endStructure();
        if (width <= 0 || height <= 0)
            return {};
        return {x + width / 2, y + height / 2};
    }

private:
    QDBusConnection m_bus;
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
        err << "usage: atspi_tree APP dump | APP press ROLE NAME | APP centre ROLE NAME\n";
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
        err << "cannot connect to the accessibility bus\n";
        return 2;
    }
    Reader reader(bus);
    const QList<Node> nodes = reader.tree(args[0]);
    if (nodes.isEmpty()) {
        err << "no application " << args[0] << " on the accessibility bus\n";
        return 2;
    }

    if (args[1] == QLatin1String("dump")) {
        for (const Node& n : nodes)
            out << oneLine(n.window) << '\t' << n.role << '\t' << oneLine(n.name) << '\t'
                << oneLine(n.description) << '\t' << n.flags << '\n';
        return 0;
    }
    if (args[1] == QLatin1String("press") && args.size() == 4) {
        for (const Node& n : nodes)
            if (n.role == args[2] && n.name == args[3])
                return reader.press(n.ref) ? 0 : 1;
        err << "no " << args[2] << " named " << args[3] << '\n';
        return 1;
    }
    if (args[1] == QLatin1String("centre") && args.size() == 4) {
        for (const Node& n : nodes) {
            if (n.role != args[2] || n.name != args[3] || !n.flags.contains(u'S'))
                continue;
            const QPoint at = reader.centre(n.ref);
            if (at.isNull())
                continue;
            out << at.x() << ' ' << at.y() << '\n';
            return 0;
        }
        err << "no showing " << args[2] << " named " << args[3] << '\n';
        return 1;
    }
    err << "unknown command\n";
    return 2;
}
