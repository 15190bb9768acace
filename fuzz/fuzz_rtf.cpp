// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the notes' RTF reader must survive any text, and what it reads must
// write back and read again to the same RTF.
#include "FuzzCheck.h"
#include "notes/RtfReader.h"
#include "notes/RtfWriter.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_rtf";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString input = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
    QTextDocument doc;
    RtfReader::read(input, doc);
    // Every character read stands for at least one character of input.
    check(doc.characterCount() <= input.size() + 1);

    const QString rtf = RtfWriter::write(doc);
    QTextDocument again;
    check(RtfReader::read(rtf, again));
    check(again.toPlainText() == doc.toPlainText());
    check(RtfWriter::write(again) == rtf);
    return 0;
}
