// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the starting corpus of a fuzz target: sample files built as the tests build theirs.
//
//   mkfuzzseeds TARGET FOLDER      TARGET: fuzz_iconfile, fuzz_holidaylist or fuzz_rtf
#include "calendar/HolidayList.h"
#include "calendar/HolidayRules.h"
#include "calendar/IconSamples.h"
#include "notes/RtfSamples.h"
#include "notes/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdio>

namespace {

using Seeds = QList<std::pair<const char*, QByteArray>>;

Seeds iconFiles() {
    using namespace IconSamples;
    QList<StoredPicture> depths{{toPng(sample(8, 0xFF00FF00)), 8, 8, 32}};
    for (int bpp : {1, 4, 8, 16, 24, 32})
        depths.append({depthSample(5, 3, bpp), 5, 3, bpp});
    return {{"library.icl", threeIconLibrary()},
            {"program32.exe", twoGroupPe(false)},
            {"program64.dll", twoGroupPe(true)},
            {"depths.ico", IconWriter::ico(depths)}};
}

Seeds holidayLists() {
    return {{"shipped.plm", *HolidayList::write(HolidayRules::shippedList(2026, 1))},
            {"mixed.plm", "  bare , 01/01/2003 ,2,A\n\"q,uoted \",\"12/25/2002\",\"10\",\"C\"\r"
                          "\"open,b\nx\"y,b,c,d\n,,,\n"}};
}

Seeds rtfDocuments() {
    QTextDocument doc;
    build(doc, Runs{{QString::fromUtf8("Grüße 你好 😀 "), "Arial 9 b"},
                    {"\n", "Arial 9"},
                    {"red", "Times 14 i u s #ff0000"}});
    return {{"own.rtf", RtfWriter::write(doc).toLatin1()},
            {"wordpad.rtf", WordPadSample},
            {"word.rtf", WordSample},
            {"shiftjis.rtf", ShiftJisSample},
            {"oldmail.rtf", OldMailSample}};
}

} // namespace

int main(int argc, char* argv[]) {
    // Pictures and documents need the GUI types, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: mkfuzzseeds TARGET FOLDER\n");
        return 2;
    }
    Seeds seeds;
    if (args[1] == QLatin1String("fuzz_iconfile"))
        seeds = iconFiles();
    else if (args[1] == QLatin1String("fuzz_holidaylist"))
        seeds = holidayLists();
    else if (args[1] == QLatin1String("fuzz_rtf"))
        seeds = rtfDocuments();
    else {
        std::fprintf(stderr, "no samples for %s\n", qPrintable(args[1]));
        return 2;
    }
    const QDir folder(args[2]);
    if (!QDir().mkpath(folder.path()))
        return 1;
    for (const auto& [name, data] : seeds) {
        QFile f(folder.filePath(QString::fromLatin1(name)));
        if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
            return 1;
        }
    }
    return 0;
}
