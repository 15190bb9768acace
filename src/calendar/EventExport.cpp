// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/EventExport.h"

#include "calendar/EventIcons.h"
#include "calendar/EventRules.h"
#include "calendar/EventStore.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QUrl>

namespace {

QString dateText(const QDate& d) {
    return d.toString(u"MM-dd-yyyy");
}

// Text for an HTML element or a quoted attribute; line breaks become <br>.
QString escaped(const QString& text) {
    QString out;
    out.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
        case '&':
            out += u"&amp;";
            break;
        case '<':
            out += u"&lt;";
            break;
        case '>':
            out += u"&gt;";
            break;
        case '"':
            out += u"&quot;";
            break;
        case '\'':
            out += u"&#39;";
            break;
        case '\r':
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += u"<br>";
            break;
        case '\n':
            out += u"<br>";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// A picture file: the icon at 32 x 32 on the page's white, as a bitmap. Empty for a
// picture that does not decode.
QByteArray bitmapOf(const QImage& icon) {
    QByteArray bytes;
    if (icon.isNull())
        return bytes;
    QImage out(HolidaysIL::Size, HolidaysIL::Size, QImage::Format_RGB32);
    out.fill(Qt::white);
    {
        QPainter p(&out);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(out.rect(), withMaskColour(icon));
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    out.save(&buffer, "BMP");
    return bytes;
}

QByteArray pictureOf(const EventRow& row, const QByteArray& defaultPicture) {
    if (row.holiday != 0)
        return bitmapOf(HolidaysIL::raw(EventRules::holidayPicture(row.holiday)));
    if (row.iconImg.isEmpty())
        return defaultPicture;
    const QByteArray bytes = bitmapOf(QImage::fromData(row.iconImg));
    return bytes.size() < EventExport::MinPictureBytes ? defaultPicture : bytes;
}

void removeOldPictures(const QString& folder) {
    static const QRegularExpression name(QStringLiteral("^_image[0-9]+\\.tmp$"));
    QDir dir(folder);
    const QStringList files =
        dir.entryList({QStringLiteral("_image*.tmp")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& f : files)
        if (name.match(f).hasMatch())
            dir.remove(f);
}

// A "%1" in these lines stands for a translated caption, filled in order.
const char* const Head[] = {
    "<html>",
    "<head>",
    "<meta http-equiv='Content-Type' content='text/html; charset=utf-8'>",
    "</head>",
    "<body>",
    "</body>",
    "<p align='center'><font face='Arial'><b>%1&nbsp; </b></font>", // the page's title
};

const char* const TableHead[] = {
    "<div align='center'>",
    "<center>",
    "<table border='1' cellpadding='0' cellspacing='0' style='border-collapse: collapse' "
    "width='650' bordercolor='#000000'>",
    "<tr>",
    "<td bgcolor='#E1E1E1' align='center' bordercolor='#808080' height='20'>&nbsp;</td>",
    "<td bgcolor='#E1E1E1' align='center' bordercolor='#808080' height='20'><b>",
    "<font face='Arial' size='2'>%1</font></b></td>", // the Event column's caption
    "<td bgcolor='#E1E1E1' align='center' bordercolor=#808080 height='20'><b>",
    "<font face='Arial' size='2'>%1</font></b></td>", // the Date column's caption
    "</tr>",
};

const char* const Foot[] = {"</table>", "</center>", "</div>", "</body>", "</html>"};

} // namespace

QString EventExport::pictureName(int n) {
    return QStringLiteral("_image%1.tmp").arg(n);
}

EventExport::Range EventExport::range(int mode, const QDate& selected, const QDate& today) {
    Range r;
    switch (mode) {
    case SelectedDate:
        r = {selected, selected};
        break;
    case ComingDays:
        r = {today, today.addDays(7)};
        break;
    case SelectedMonth:
        r = {QDate(selected.year(), selected.month(), 1),
             QDate(selected.year(), selected.month(), selected.daysInMonth())};
        break;
    default:
        return {};
    }
    if (r.to > EventRules::LatestDate)
        r.to = EventRules::LatestDate;
    return r;
}

EventExport::Result EventExport::write(int mode, const QDate& selected, const QDate& today,
                                       const HolidayFlags& flags) {
    Result result;
    result.page = QDir(m_folder).filePath(PageName);
    const Range r = range(mode, selected, today);
    if (!r.from.isValid() || !r.to.isValid()) {
        result.error = tr("There is no export range %1.").arg(mode);
        return result;
    }
    const std::vector<EventRow> rows = m_store.readForExport(r.from, r.to);
    if (!m_store.lastError().isEmpty()) {
        result.error = m_store.lastError();
        return result;
    }

    QStringList lines;
    const QString captions[] = {escaped(tr("Event List")), escaped(tr("Event")),
                                escaped(tr("Date"))};
    size_t caption = 0;
    const auto add = [&](const char* line) {
        const QString text = QString::fromLatin1(line);
        lines << (text.contains(u"%1") ? text.arg(captions[caption++]) : text);
    };
    for (const char* line : Head)
        add(line);
    lines << QStringLiteral("<font color='#808080' face='Arial' size='2'>%1</font></p>")
                 .arg(escaped(tr("(from:%1 to:%2)").arg(dateText(r.from), dateText(r.to))));
    for (const char* line : TableHead)
        add(line);

    removeOldPictures(m_folder);
    const QByteArray defaultPicture = bitmapOf(HolidaysIL::raw(1));
    int n = 1;
    for (QDate d = r.from; d <= r.to; d = d.addDays(1)) {
        for (const EventRow& row : rows) {
            if (!EventRules::exportShows(row, d) || EventRules::isHidden(row.holiday, flags))
                continue;
            const QString picture = QDir(m_folder).filePath(pictureName(n));
            QFile file(picture);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
                file.write(pictureOf(row, defaultPicture)) < 0 || !file.flush()) {
                result.error = picture + u": " + file.errorString();
                return result;
            }
            lines << QStringLiteral("<tr>")
                  << QStringLiteral("<td width='48' bordercolor='#CCCCCC' height='40' "
                                    "align='center'>")
                  << QStringLiteral("<img border='0' src='") +
                         escaped(QUrl::fromLocalFile(QFileInfo(picture).absoluteFilePath())
                                     .toString(QUrl::FullyEncoded)) +
                         u"' width='32' height='32'></td>"
                  << QStringLiteral("<td bordercolor='#CCCCCC' height='40' valign='top'>")
                  << QStringLiteral("<font face='Arial' size='2' color='#003366'>") +
                         escaped(row.description) + u"</font></td>"
                  << QStringLiteral("<td width='92' bordercolor='#CCCCCC' height='40' "
                                    "align='center'>")
                  << QStringLiteral("<font face='Arial' size='2' color='#003300'>") + dateText(d) +
                         u"</font></td>"
                  << QStringLiteral("</tr>");
            ++n;
        }
    }
    for (const char* line : Foot)
        lines << QString::fromLatin1(line);

    QSaveFile page(result.page);
    if (!page.open(QIODevice::WriteOnly) ||
        page.write((lines.join(u"\r\n") + u"\r\n").toUtf8()) < 0 || !page.commit()) {
        result.error = result.page + u": " + page.errorString();
        return result;
    }
    result.rows = n - 1;
    return result;
}
