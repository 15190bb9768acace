// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/RtfReader.h"
#include "notes/RtfSamples.h"
#include "notes/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// "Family size [b] [i] [u] [s] [#rrggbb]": what a run looks like.
QString spec(const QTextCharFormat& f) {
    QStringList parts{f.fontFamilies().toStringList().value(0), QString::number(f.fontPointSize())};
    if (f.fontWeight() > QFont::Medium)
        parts << QStringLiteral("b");
    if (f.fontItalic())
        parts << QStringLiteral("i");
    if (f.fontUnderline())
        parts << QStringLiteral("u");
    if (f.fontStrikeOut())
        parts << QStringLiteral("s");
    if (f.foreground().style() != Qt::NoBrush)
        parts << f.foreground().color().name();
    return parts.join(QLatin1Char(' '));
}

// The whole document: blocks joined by " | ", each run as text{spec}.
QString describe(const QTextDocument& doc) {
    QStringList blocks;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QString line;
        for (auto it = b.begin(); !it.atEnd(); ++it)
            line += it.fragment().text() + QLatin1Char('{') + spec(it.fragment().charFormat()) +
                    QLatin1Char('}');
        blocks << line;
    }
    return blocks.join(QStringLiteral(" | "));
}

QString read(const QString& rtf, bool* complete = nullptr) {
    QTextDocument doc;
    const bool ok = RtfReader::read(rtf, doc);
    if (complete)
        *complete = ok;
    return describe(doc);
}

QString plain(const QString& rtf) {
    QTextDocument doc;
    RtfReader::read(rtf, doc);
    return doc.toPlainText();
}

} // namespace

class TestRtf : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data() {
        QTest::addColumn<Runs>("runs");
        QTest::newRow("each attribute") << Runs{{"plain ", "Arial 9"},
                                                {"bold ", "Arial 9 b"},
                                                {"italic ", "Arial 9 i"},
                                                {"under ", "Arial 9 u"},
                                                {"struck ", "Arial 9 s"},
                                                {"red ", "Arial 9 #ff0000"},
                                                {"all ", "Arial 9 b i u s #0000ff"},
                                                {"times ", "Times_New_Roman 14"},
                                                {"half", "Arial 10.5"}};
        QTest::newRow("paragraphs and empty lines") << Runs{{"one", "Arial 9"},
                                                            {"\n", "Arial 9"},
                                                            {"\n", "Arial 20"},
                                                            {"three", "Arial 9"},
                                                            {"\n", "Arial 9"}};
        QTest::newRow("unicode") << Runs{
            {QString::fromUtf8("Grüße — 你好世界 😀𝄞 ﬁ שלום café"), "Noto_Sans 12"},
            {QString::fromUtf8("日本語"), QString::fromUtf8("ＭＳ_ゴシック 11")}};
        QTest::newRow("characters RTF reserves")
            << Runs{{QStringLiteral("a\\b{c}d;e\tf") + QChar(QChar::LineSeparator) + "g",
                     "Font;With{Braces} 9"}};
    }

    void roundTrip() {
        QFETCH(Runs, runs);
        QTextDocument original;
        build(original, runs);
        const QString rtf = RtfWriter::write(original);
        for (QChar c : rtf)
            QVERIFY2(c.unicode() < 0x80, "the written RTF is plain ASCII");
        QTextDocument copy;
        QVERIFY(RtfReader::read(rtf, copy));
        QCOMPARE(describe(copy), describe(original));
        QCOMPARE(copy.toPlainText(), original.toPlainText());
        QCOMPARE(RtfWriter::write(copy), rtf);
    }

    void emptyNote() {
        QTextDocument empty;
        QTextDocument copy;
        QVERIFY(RtfReader::read(RtfWriter::write(empty), copy));
        QCOMPARE(copy.blockCount(), 1);
        QVERIFY(copy.isEmpty());
        // A new note's Content is null.
        QVERIFY(RtfReader::read(QString(), copy));
        QVERIFY(copy.isEmpty());
    }

    void picturesAreNotSaved() {
        QTextDocument doc;
        QImage picture(8, 8, QImage::Format_ARGB32);
        picture.fill(Qt::red);
        doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("pasted")), picture);
        QTextCursor c(&doc);
        c.insertText(QStringLiteral("before "), format(QStringLiteral("Arial 9")));
        c.insertImage(QStringLiteral("pasted"));
        c.insertText(QStringLiteral(" after"), format(QStringLiteral("Arial 9 b")));

        const QString rtf = RtfWriter::write(doc);
        QVERIFY(!rtf.contains(QLatin1String("pict")));
        QCOMPARE(read(rtf), QStringLiteral("before {Arial 9} after{Arial 9 b}"));

        QCOMPARE(RtfWriter::removeObjects(doc), 1);
        QCOMPARE(doc.toPlainText(), QStringLiteral("before  after"));
        QCOMPARE(RtfWriter::write(doc), rtf);
    }

    void otherWriters_data() {
        QTest::addColumn<QString>("rtf");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("looks"); // "word=spec" for the run holding word

        QTest::newRow("word pad") << QString::fromLatin1(WordPadSample)
                                  << QString::fromUtf8("Hello bold and red, café € 5.\n"
                                                       "Italic Arial")
                                  << QStringList{"Hello=Calibri 11", "bold=Calibri 11 b",
                                                 "red=Calibri 11 #ff0000", "Italic=Arial 10 i"};
        QTest::newRow("word processor")
            << QString::fromLatin1(WordSample)
            << QString::fromUtf8("Plain gonegreen underline\n·\tItem\nlink\n你好 世界\nA\tB\t")
            << QStringList{"Plain=Times New Roman 12", "gone=Times New Roman 12 s",
                           "green=Times New Roman 12 u #008000", "Item=Times New Roman 12",
                           QString::fromUtf8("世界=SimSun 10.5")};
        QTest::newRow("shift_jis")
            << QString::fromLatin1(ShiftJisSample) << QString::fromUtf8("こんにちは")
            << QStringList{QString::fromUtf8("こんにちは=ＭＳ ゴシック 10")};
        QTest::newRow("old mail program")
            << QString::fromLatin1(OldMailSample) << QStringLiteral("first line\ngreen\n\ntail")
            << QStringList{"first=Helv 9", "green=Helv 9 #00ff00", "tail=Tms Rmn 12"};
    }

    void otherWriters() {
        QFETCH(QString, rtf);
        QFETCH(QString, text);
        QFETCH(QStringList, looks);
        QTextDocument doc;
        QVERIFY(RtfReader::read(rtf, doc));
        QCOMPARE(doc.toPlainText(), text);
        for (const QString& look : looks) {
            const QString word = look.section(QLatin1Char('='), 0, 0);
            const int at = int(doc.toPlainText().indexOf(word));
            QVERIFY2(at >= 0, qPrintable(word));
            QTextCursor c(&doc);
            c.setPosition(at + 1);
            QCOMPARE(spec(c.charFormat()), look.section(QLatin1Char('='), 1));
        }
    }

    void damagedInput_data() {
        QTest::addColumn<QString>("rtf");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("complete");
        const QString deep = QStringLiteral("{\\rtf1 a") + QString(100000, QLatin1Char('{')) +
                             QStringLiteral("lost") + QString(100000, QLatin1Char('}')) +
                             QStringLiteral("b}");
        const QString nested = QStringLiteral("{\\rtf1 ") + QString(150, QLatin1Char('{')) +
                               QStringLiteral("kept") + QString(150, QLatin1Char('}')) +
                               QLatin1Char('}');
        QTest::newRow("unclosed groups") << "{\\rtf1 {\\b abc"
                                         << "abc" << true;
        QTest::newRow("nesting beyond the limit") << deep << "ab" << false;
        QTest::newRow("deep nesting within it") << nested << "kept" << true;
        QTest::newRow("huge numbers") << "{\\rtf1\\fs99999999999999\\u99999999999\\f-7 x\\cf4000 y}"
                                      << "xy" << true;
        QTest::newRow("binary longer than the input") << "{\\rtf1 a{\\bin999999999 }}}"
                                                      << "a" << true;
        QTest::newRow("binary hiding braces") << "{\\rtf1 {\\pict\\bin3 }{}}b}"
                                              << "b" << true;
        QTest::newRow("bad hex and lone backslash") << "{\\rtf1 a\\'zz\\'4b\\'"
                                                    << "azzK" << true;
        QTest::newRow("lone surrogates")
            << "{\\rtf1 \\u-10179?x\\u-8704?}" << QString::fromUtf8("\uFFFDx\uFFFD") << true;
        QTest::newRow("surrogate pair")
            << "{\\rtf1\\uc0 \\u-10179\\u-8704}" << QString::fromUtf8("😀") << true;
        QTest::newRow("endless word")
            << "{\\rtf1 " + QString(5000, QLatin1Char('x')).prepend('\\') + " ok}"
            << "ok" << true;
        QTest::newRow("text after the end") << "{\\rtf1 in}out{more}"
                                            << "in" << true;
        QTest::newRow("stray destination on top") << "{\\rtf1 \\pict x}"
                                                  << "x" << true;
        QTest::newRow("fallback skip stops at a group") << "{\\rtf1\\uc5 \\u65{B}}"
                                                        << "AB" << true;
    }

    void damagedInput() {
        QFETCH(QString, rtf);
        QFETCH(QString, text);
        QFETCH(bool, complete);
        QTextDocument doc;
        QCOMPARE(RtfReader::read(rtf, doc), complete);
        QCOMPARE(doc.toPlainText(), text);
    }

    // Every run in a look of its own: each keeps its colour, and looks shared again later
    // are the same format (the bench reads 160,000 such runs).
    void manyLooks() {
        constexpr int Runs = 5000;
        QString rtf = QStringLiteral("{\\rtf1{\\colortbl;");
        for (int i = 1; i <= Runs; ++i)
            rtf += QStringLiteral("\\red%1\\green%2\\blue0;").arg(i % 256).arg(i / 256);
        rtf += QLatin1Char('}');
        for (int i = 1; i <= Runs; ++i)
            rtf += QStringLiteral("\\cf%1 %2").arg(i).arg(QChar(u'a' + i % 2));
        rtf += QStringLiteral("\\cf1\\b b\\cf1\\b0 c}");
        QTextDocument doc;
        QVERIFY(RtfReader::read(rtf, doc));
        QTextCursor at(&doc);
        for (int i : {1, 2, 255, 256, 4999, 5000}) {
            at.setPosition(i);
            QCOMPARE(at.charFormat().foreground().color(), QColor(i % 256, i / 256, 0));
        }
        at.setPosition(Runs + 1);
        QVERIFY(at.charFormat().fontWeight() == QFont::Bold);
        at.setPosition(Runs + 2);
        QVERIFY(at.charFormat().fontWeight() != QFont::Bold);
        QCOMPARE(at.charFormat().foreground().color(), QColor(1, 0, 0));
    }

    void plainTextIsText() {
        QCOMPARE(plain(QStringLiteral("not rtf {\\b x}\nline")),
                 QStringLiteral("not rtf {\\b x}\nline"));
        QVERIFY(RtfReader::isRtf(QStringLiteral("\r\n {\\rtf1 x}")));
        QCOMPARE(plain(QStringLiteral("\r\n {\\rtf1 x}")), QStringLiteral("x"));
    }
};

QTEST_MAIN(TestRtf)
#include "tst_rtf.moc"
