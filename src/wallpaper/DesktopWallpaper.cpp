// SPDX-License-Identifier: GPL-3.0-or-later
#include "wallpaper/DesktopWallpaper.h"

#include "wallpaper/WallpaperBitmap.h"
#include "wallpaper/WallpaperLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>

#include <unistd.h>

Q_LOGGING_CATEGORY(lcWallpaper, "plumora.wallpaper", QtCriticalMsg)

QString noWallpaperMethodText() {
    return QCoreApplication::translate("DesktopWallpaper",
                                       "Plumora cannot set the wallpaper on this desktop");
}

namespace {

bool fail(QString* error, const QString& why) {
    if (error)
        *error = why;
    return false;
}

QString failureText(const QString& program, const ProcessResult& result) {
    if (!result.started)
        return QCoreApplication::translate("DesktopWallpaper", "%1 could not be started")
            .arg(program);
    const QString detail = QString::fromLocal8Bit(result.errorOutput).trimmed();
    return QCoreApplication::translate("DesktopWallpaper", "%1 failed (exit code %2)")
               .arg(program, QString::number(result.exitCode)) +
           (detail.isEmpty() ? QString() : QStringLiteral(": ") + detail);
}

// A string in GVariant text form, so gsettings never has to guess at the value's type.
QString gvariantString(const QString& text) {
    QString quoted = text;
    quoted.replace(u'\\', QLatin1String("\\\\")).replace(u'\'', QLatin1String("\\'"));
    return u'\'' + quoted + u'\'';
}

// GNOME, Cinnamon and MATE keep the picture in a GSettings key. Setting a key to the
// value it already holds notifies nobody, so each key is first emptied and then set: the
// desktop sees a change and loads the file afresh.
class GSettingsAdapter final : public WallpaperAdapter {
public:
    struct Key {
        QString name;
        bool required;
    };
    GSettingsAdapter(QString name, QString schema, QList<Key> keys, bool takesUri)
        : m_name(std::move(name)), m_schema(std::move(schema)), m_keys(std::move(keys)),
          m_takesUri(takesUri) {}

    QString name() const override { return m_name; }

    bool apply(ProcessRunner& runner, const QString& picture, WallpaperStyle style,
               QString* error) override {
        const QString options = style == WallpaperStyle::Stretched ? QStringLiteral("stretched")
                                                                   : QStringLiteral("centered");
        if (style != WallpaperStyle::DesktopOwn &&
            !set(runner, QStringLiteral("picture-options"), options, error))
            return false;
        const QString value =
            m_takesUri ? QUrl::fromLocalFile(picture).toString(QUrl::FullyEncoded) : picture;
        for (const Key& key : m_keys) {
            QString keyError;
            // A key the installed version lacks (the dark picture before GNOME 42) is no fault.
            if ((!set(runner, key.name, QString(), &keyError) ||
                 !set(runner, key.name, value, &keyError)) &&
                key.required)
                return fail(error, keyError);
        }
        return true;
    }

    QString readFill(ProcessRunner& runner) override {
        const ProcessResult result =
            runner.run(QStringLiteral("gsettings"),
                       {QStringLiteral("get"), m_schema, QStringLiteral("picture-options")});
        // In GVariant text form already, as `set` takes it back.
        return result.ok() ? QString::fromUtf8(result.output).trimmed() : QString();
    }
    bool stretchFill(ProcessRunner& runner, QString* error) override {
        return set(runner, QStringLiteral("picture-options"), QStringLiteral("stretched"), error);
    }
    bool restoreFill(ProcessRunner& runner, const QString& saved, QString* error) override {
        return saved.isEmpty() || setText(runner, QStringLiteral("picture-options"), saved, error);
    }

private:
    bool set(ProcessRunner& runner, const QString& key, const QString& value, QString* error) {
        return setText(runner, key, gvariantString(value), error);
    }
    bool setText(ProcessRunner& runner, const QString& key, const QString& gvariant,
                 QString* error) {
        const QString program = QStringLiteral("gsettings");
        const ProcessResult result =
            runner.run(program, {QStringLiteral("set"), m_schema, key, gvariant});
        return result.ok() || fail(error, failureText(program, result));
    }

    QString m_name;
    QString m_schema;
    QList<Key> m_keys;
    bool m_takesUri;
};

// Plasma keeps the picture per containment and reloads only a new path. Older versions
// of the tool lack --fill-mode: then the picture is set without it.
class PlasmaAdapter final : public WallpaperAdapter {
public:
    QString name() const override { return QStringLiteral("KDE Plasma"); }
    bool needsFreshPath() const override { return true; }

    bool apply(ProcessRunner& runner, const QString& picture, WallpaperStyle style,
               QString* error) override {
        const QString program = QStringLiteral("plasma-apply-wallpaperimage");
        const QString mode =
            style == WallpaperStyle::Stretched ? QStringLiteral("stretch") : QStringLiteral("pad");
        ProcessResult result =
            style == WallpaperStyle::DesktopOwn
                ? runner.run(program, {picture})
                : runner.run(program, {QStringLiteral("--fill-mode"), mode, picture});
        if (result.started && !result.ok() && style != WallpaperStyle::DesktopOwn)
            result = runner.run(program, {picture});
        return result.ok() || fail(error, failureText(program, result));
    }
};

// XFCE keeps one picture per monitor and workspace, under property names that depend on
// the connected screens, so the properties are listed first and each one is set. As with
// GSettings, an unchanged value notifies nobody: each is emptied, then set.
class XfceAdapter final : public WallpaperAdapter {
public:
    QString name() const override { return QStringLiteral("XFCE"); }

    bool apply(ProcessRunner& runner, const QString& picture, WallpaperStyle style,
               QString* error) override {
        const QStringList pictureProperties = backdrops(runner, error);
        if (pictureProperties.isEmpty())
            return false;

        // 1 centred, 3 stretched.
        const QString styleCode =
            style == WallpaperStyle::Stretched ? QStringLiteral("3") : QStringLiteral("1");
        int done = 0;
        QString lastError;
        for (const QString& property : pictureProperties) {
            const QString base = property.left(property.lastIndexOf(u'/'));
            QList<QStringList> steps = {
                {QStringLiteral("-p"), property, QStringLiteral("-s"), QString()},
                {QStringLiteral("-p"), property, QStringLiteral("-s"), picture}};
            if (style != WallpaperStyle::DesktopOwn)
                steps.prepend(styleStep(base + QStringLiteral("/image-style"), styleCode));
            bool ok = true;
            for (const QStringList& step : steps) {
                const ProcessResult result = runner.run(Program, Channel + step);
                if (!result.ok()) {
                    lastError = failureText(Program, result);
                    ok = false;
                    break;
                }
            }
            done += ok ? 1 : 0;
        }
        return done > 0 || fail(error, lastError);
    }

    // One "property=value" line per backdrop's style.
    QString readFill(ProcessRunner& runner) override {
        QStringList saved;
        for (const QString& property : backdrops(runner, nullptr)) {
            const QString style =
                property.left(property.lastIndexOf(u'/')) + QStringLiteral("/image-style");
            const ProcessResult r = runner.run(Program, Channel + QStringList{"-p", style});
            bool number = false;
            const int value = QString::fromUtf8(r.output).trimmed().toInt(&number);
            if (r.ok() && number && !saved.contains(style + u'=' + QString::number(value)))
                saved << style + u'=' + QString::number(value);
        }
        return saved.join(u'\n');
    }
    bool stretchFill(ProcessRunner& runner, QString* error) override {
        QStringList styles;
        for (const QString& property : backdrops(runner, error))
            styles << property.left(property.lastIndexOf(u'/')) + QStringLiteral("/image-style=3");
        return !styles.isEmpty() && setStyles(runner, styles, error);
    }
    bool restoreFill(ProcessRunner& runner, const QString& saved, QString* error) override {
        return setStyles(runner, saved.split(u'\n', Qt::SkipEmptyParts), error);
    }

private:
    inline static const QString Program = QStringLiteral("xfconf-query");
    inline static const QStringList Channel = {QStringLiteral("-c"),
                                               QStringLiteral("xfce4-desktop")};

    static QStringList styleStep(const QString& property, const QString& value) {
        return {QStringLiteral("-p"),
                property,
                QStringLiteral("-n"),
                QStringLiteral("-t"),
                QStringLiteral("int"),
                QStringLiteral("-s"),
                value};
    }
    // The picture properties of every monitor and workspace; none (with the reason) when
    // they cannot be listed.
    static QStringList backdrops(ProcessRunner& runner, QString* error) {
        const ProcessResult listed = runner.run(Program, Channel + QStringList{"-l"});
        if (!listed.ok()) {
            fail(error, failureText(Program, listed));
            return {};
        }
        QStringList pictureProperties;
        for (const QByteArray& line : listed.output.split('\n')) {
            const QString property = QString::fromUtf8(line).trimmed();
            if (property.startsWith(QLatin1String("/backdrop/")) &&
                (property.endsWith(QLatin1String("/last-image")) ||
                 property.endsWith(QLatin1String("/image-path"))))
                pictureProperties.append(property);
        }
        if (pictureProperties.isEmpty())
            fail(error, QCoreApplication::translate(
                            "DesktopWallpaper", "xfconf-query lists no backdrop picture property"));
        return pictureProperties;
    }
    // "property=value" lines, each set as an integer.
    static bool setStyles(ProcessRunner& runner, const QStringList& styles, QString* error) {
        for (const QString& line : styles) {
            const ProcessResult r = runner.run(
                Program, Channel + styleStep(line.section(u'=', 0, 0), line.section(u'=', 1)));
            if (!r.ok())
                return fail(error, failureText(Program, r));
        }
        return true;
    }
};

// LXQt's desktop ignores a request for the picture it already shows.
class LxqtAdapter final : public WallpaperAdapter {
public:
    QString name() const override { return QStringLiteral("LXQt"); }
    bool needsFreshPath() const override { return true; }

    bool apply(ProcessRunner& runner, const QString& picture, WallpaperStyle style,
               QString* error) override {
        const QString program = QStringLiteral("pcmanfm-qt");
        const QString mode = style == WallpaperStyle::Stretched ? QStringLiteral("stretch")
                                                                : QStringLiteral("center");
        QStringList arguments{QStringLiteral("--set-wallpaper"), picture};
        if (style != WallpaperStyle::DesktopOwn)
            arguments << QStringLiteral("--wallpaper-mode") << mode;
        const ProcessResult result = runner.run(program, arguments);
        return result.ok() || fail(error, failureText(program, result));
    }
};

// feh draws the root window itself every time, so no reload trick is needed.
class FehAdapter final : public WallpaperAdapter {
public:
    QString name() const override { return QStringLiteral("feh"); }

    bool apply(ProcessRunner& runner, const QString& picture, WallpaperStyle style,
               QString* error) override {
        const QString program = QStringLiteral("feh");
        const ProcessResult result =
            runner.run(program, {style == WallpaperStyle::Stretched ? QStringLiteral("--bg-scale")
                                                                    : QStringLiteral("--bg-center"),
                                 picture});
        return result.ok() || fail(error, failureText(program, result));
    }
};

// Sway and the wlroots desktops that speak its IPC draw the background themselves, on every
// output; "fill" is sway's own default.
class SwayAdapter final : public WallpaperAdapter {
public:
    QString name() const override { return QStringLiteral("sway"); }

    bool apply(ProcessRunner& runner, const QString& picture, WallpaperStyle style,
               QString* error) override {
        const QString program = QStringLiteral("swaymsg");
        const ProcessResult result = runner.run(
            program, {QStringLiteral("output"), QStringLiteral("*"), QStringLiteral("bg"), picture,
                      style == WallpaperStyle::Stretched ? QStringLiteral("stretch")
                                                         : QStringLiteral("fill")});
        return result.ok() || fail(error, failureText(program, result));
    }
};

// A desktop with no known way: every picture is refused, so none is taken for shown.
class NoWallpaperAdapter final : public WallpaperAdapter {
public:
    QString name() const override { return QStringLiteral("unknown desktop"); }
    bool canSet() const override { return false; }

    bool apply(ProcessRunner&, const QString&, WallpaperStyle, QString* error) override {
        return fail(error, noWallpaperMethodText());
    }
    bool stretchFill(ProcessRunner&, QString* error) override {
        return fail(error, noWallpaperMethodText());
    }
    bool restoreFill(ProcessRunner&, const QString&, QString* error) override {
        return fail(error, noWallpaperMethodText());
    }
};

std::unique_ptr<WallpaperAdapter> gnomeAdapter() {
    return std::make_unique<GSettingsAdapter>(
        QStringLiteral("GNOME"), QStringLiteral("org.gnome.desktop.background"),
        QList<GSettingsAdapter::Key>{{QStringLiteral("picture-uri"), true},
                                     {QStringLiteral("picture-uri-dark"), false}},
        true);
}

QRegularExpression freshPathPattern(const QFileInfo& bitmap) {
    return QRegularExpression(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(bitmap.completeBaseName()) + QStringLiteral("-(\\d{1,9})\\.") +
        QRegularExpression::escape(bitmap.suffix())));
}

// The fresh name of `bitmap` for a desktop that reloads only new paths: numbered one past
// every copy beside it, so it differs from the one the desktop shows.
QString freshPathOf(const QFileInfo& bitmap) {
    const QRegularExpression pattern = freshPathPattern(bitmap);
    int last = 0;
    for (const QString& name : bitmap.absoluteDir().entryList(QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (match.hasMatch())
            last = std::max(last, match.captured(1).toInt());
    }
    return bitmap.absolutePath() + u'/' + bitmap.completeBaseName() + u'-' +
           QString::number(last + 1) + u'.' + bitmap.suffix();
}

// A hard link costs nothing and keeps its own picture when the bitmap is later replaced.
bool linkOrCopy(const QString& from, const QString& to) {
    return ::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0 ||
           QFile::copy(from, to);
}

void removeOtherCopies(const QFileInfo& bitmap, const QString& keep) {
    const QRegularExpression pattern = freshPathPattern(bitmap);
    const QDir dir = bitmap.absoluteDir();
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        const QString path = dir.filePath(name);
        if (path != keep && pattern.match(name).hasMatch() && !QFile::remove(path))
            qCWarning(lcWallpaper) << "cannot remove the earlier wallpaper copy" << path;
    }
}

} // namespace

WallpaperStyle wallpaperStyleFromSetting(const QString& wallpaperStyle) {
    return wallpaperStyle.trimmed() == QLatin1String("2") ? WallpaperStyle::Stretched
                                                          : WallpaperStyle::Centred;
}

DesktopSession DesktopSession::fromEnvironment() {
    return {qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") ||
                !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"),
            !qEnvironmentVariableIsEmpty("SWAYSOCK")};
}

std::unique_ptr<WallpaperAdapter> wallpaperAdapterFor(const QString& currentDesktop,
                                                      const DesktopSession& session) {
    for (const QString& part : currentDesktop.split(u':', Qt::SkipEmptyParts)) {
        const QString name = part.trimmed().toLower();
        if (name == QLatin1String("gnome") || name == QLatin1String("unity") ||
            name == QLatin1String("budgie") || name.startsWith(QLatin1String("gnome-")))
            return gnomeAdapter();
        if (name == QLatin1String("x-cinnamon") || name == QLatin1String("cinnamon"))
            return std::make_unique<GSettingsAdapter>(
                QStringLiteral("Cinnamon"), QStringLiteral("org.cinnamon.desktop.background"),
                QList<GSettingsAdapter::Key>{{QStringLiteral("picture-uri"), true}}, true);
        if (name == QLatin1String("mate"))
            return std::make_unique<GSettingsAdapter>(
                QStringLiteral("MATE"), QStringLiteral("org.mate.background"),
                QList<GSettingsAdapter::Key>{{QStringLiteral("picture-filename"), true}}, false);
        if (name == QLatin1String("kde"))
            return std::make_unique<PlasmaAdapter>();
        if (name == QLatin1String("xfce"))
            return std::make_unique<XfceAdapter>();
        if (name == QLatin1String("lxqt"))
            return std::make_unique<LxqtAdapter>();
        if (name == QLatin1String("sway"))
            return std::make_unique<SwayAdapter>();
    }
    if (session.swaySocket)
        return std::make_unique<SwayAdapter>();
    if (session.wayland)
        return std::make_unique<NoWallpaperAdapter>();
    return std::make_unique<FehAdapter>();
}

DesktopWallpaper::DesktopWallpaper(ProcessRunner& runner, const QString& currentDesktop,
                                   const DesktopSession& session)
    : m_runner(runner), m_adapter(wallpaperAdapterFor(currentDesktop, session)) {}

DesktopWallpaper::~DesktopWallpaper() = default;

QString DesktopWallpaper::desktopName() const {
    return m_adapter->name();
}

bool DesktopWallpaper::apply(const QString& bitmap, WallpaperStyle style, QString* error) {
    const QFileInfo info(bitmap);
    QString why;
    bool ok = false;
    if (!info.isFile()) {
        why = QCoreApplication::translate("DesktopWallpaper", "%1: no such file").arg(bitmap);
    } else if (!m_adapter->needsFreshPath()) {
        ok = m_adapter->apply(m_runner, info.absoluteFilePath(), style, &why);
    } else {
        const QString fresh = freshPathOf(info);
        if (!linkOrCopy(info.absoluteFilePath(), fresh)) {
            why =
                QCoreApplication::translate("DesktopWallpaper", "%1: cannot be written").arg(fresh);
        } else {
            ok = m_adapter->apply(m_runner, fresh, style, &why);
            // The desktop keeps showing the previous copy when it refused the new one.
            if (ok)
                removeOtherCopies(info, fresh);
            else
                QFile::remove(fresh);
        }
    }
    if (!ok) {
        qCWarning(lcWallpaper) << m_adapter->name() << "wallpaper not applied:" << why;
        if (error)
            *error = why;
    }
    return ok;
}

bool DesktopWallpaper::showImage(const QString& image, const QString& bitmap, WallpaperStyle style,
                                 QString* error) {
    return WallpaperBitmap::convert(image, bitmap, error) && apply(bitmap, style, error);
}
