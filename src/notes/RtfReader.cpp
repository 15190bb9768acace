// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/RtfReader.h"

#include "notes/NotesLog.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <list>
#include <map>
#include <string_view>
#include <unordered_map>

namespace {

// The control words the reader acts on. Looked up by view, so reading a word allocates
// nothing: a hostile note holds millions of them.
enum class Word : quint8 {
    Other,
    U,
    Uc,
    F,
    FCharset,
    Cpg,
    Fs,
    B,
    I,
    Strike,
    UlNone,
    Underline,
    Cf,
    Plain,
    Par,
    Red,
    Green,
    Blue,
    FontTable,
    ColourTable,
    Deff,
    AnsiCpg,
    Mac,
    Pc,
    Pca,
    Named,       // a character named by the word
    Destination, // a group whose contents are never text: skipped whole
};

struct WordEntry {
    Word word = Word::Other;
    char16_t character = 0; // for Word::Named
};

class WordTable {
public:
    WordTable() {
        add("u", Word::U);
        add("uc", Word::Uc);
        add("f", Word::F);
        add("fcharset", Word::FCharset);
        add("cpg", Word::Cpg);
        add("fs", Word::Fs);
        add("b", Word::B);
        add("i", Word::I);
        add("strike striked", Word::Strike);
        add("ulnone", Word::UlNone);
        add("ul uld uldash uldashd uldashdd uldb ulhwave ulldash ulth ulthd ulthdash ulthdashd "
            "ulthdashdd ulthldash ululdbwave ulw ulwave",
            Word::Underline);
        add("cf", Word::Cf);
        add("plain", Word::Plain);
        add("par sect page row nestrow", Word::Par);
        add("red", Word::Red);
        add("green", Word::Green);
        add("blue", Word::Blue);
        add("fonttbl", Word::FontTable);
        add("colortbl", Word::ColourTable);
        add("deff", Word::Deff);
        add("ansicpg", Word::AnsiCpg);
        add("mac", Word::Mac);
        add("pc", Word::Pc);
        add("pca", Word::Pca);
        const std::pair<const char*, char16_t> named[] = {
            {"tab", u'\t'},      {"cell", u'\t'},       {"nestcell", u'\t'},   {"line", 0x2028},
            {"emdash", 0x2014},  {"endash", 0x2013},    {"bullet", 0x2022},    {"lquote", 0x2018},
            {"rquote", 0x2019},  {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", 0x2003},
            {"enspace", 0x2002}, {"qmspace", 0x2005},   {"zwj", 0x200D},       {"zwnj", 0x200C},
            {"ltrmark", 0x200E}, {"rtlmark", 0x200F},
        };
        for (const auto& [name, c] : named)
            add(name, Word::Named, c);
        add("aftncn aftnsep aftnsepc annotation atnauthor atnid atrfend atrfstart bkmkend "
            "bkmkstart colorschememapping datastore do docvar falt fchars filetbl fldinst "
            "footer footerf footerl footerr footnote ftncn ftnsep ftnsepc generator header "
            "headerf headerl headerr info latentstyles lchars listoverridetable listtable "
            "mmathPr nonshppict object objdata panose pgdsctbl pict pn private protusertbl "
            "revtbl rsidtbl shp shppict stylesheet tc template themedata txe userprops xe "
            "xmlnstbl",
            Word::Destination);
    }

    WordEntry find(QStringView word) const {
        const auto it = m_words.find(std::u16string_view(
            reinterpret_cast<const char16_t*>(word.utf16()), size_t(word.size())));
        return it == m_words.end() ? WordEntry() : it->second;
    }

private:
    void add(const char* names, Word word, char16_t character = 0) {
        for (const QString& name : QString::fromLatin1(names).split(u' ')) {
            m_names.push_back(name);
            const QString& kept = m_names.back();
            m_words.emplace(std::u16string_view(reinterpret_cast<const char16_t*>(kept.utf16()),
                                                size_t(kept.size())),
                            WordEntry{word, character});
        }
    }

    std::list<QString> m_names; // the keys' storage: a list never moves its elements
    std::unordered_map<std::u16string_view, WordEntry> m_words;
};

const WordTable& wordTable() {
    static const WordTable table;
    return table;
}

constexpr int SymbolCodePage = -2;

// The code page that \fcharsetN stands for.
int codePageOfCharset(int charset, int documentCodePage) {
    switch (charset) {
    case 0:
        return 1252;
    case 2:
        return SymbolCodePage;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return documentCodePage;
    }
}

QByteArray codecName(int codePage) {
    switch (codePage) {
    case 437:
    case 850:
    case 852:
    case 866:
        return "IBM" + QByteArray::number(codePage);
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 10000:
        return "macintosh";
    case 65001:
        return "UTF-8";
    default:
        if (codePage == 874 || (codePage >= 1250 && codePage <= 1258))
            return "windows-" + QByteArray::number(codePage);
        return "windows-1252";
    }
}

enum class Destination : quint8 { Text, FontTable, ColourTable };

// Character formatting and parsing state of one group.
struct GroupState {
    Destination destination = Destination::Text;
    int font = -1; // -1: the document's default font
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int colour = 0;
    int unicodeSkip = 1; // \ucN: fallback characters after each \uN

    // What decides a run's character format.
    struct Look {
        int font;
        int halfPoints;
        int colour;
        int flags;
        bool operator==(const Look&) const = default;
        friend size_t qHash(const Look& l, size_t seed = 0) {
            return qHashMulti(seed, l.font, l.halfPoints, l.colour, l.flags);
        }
    };
    enum Flag { Bold = 1, Italic = 2, Underline = 4, Strike = 8 };
    Look look() const {
        return {font, halfPoints, colour,
                (bold ? Bold : 0) | (italic ? Italic : 0) | (underline ? Underline : 0) |
                    (strike ? Strike : 0)};
    }
    void plain() {
        font = -1;
        halfPoints = 24;
        bold = italic = underline = strike = false;
        colour = 0;
    }
};

struct FontEntry {
    QString name;
    int codePage = -1; // -1: the document's code page
};

class Parser {
public:
    Parser(QStringView input, QTextDocument& document) : m_in(input), m_cursor(&document) {}

    // False when something lay beyond a limit.
    bool run() {
        // One edit block: the cursor does not lay out each line as text goes in.
        m_cursor.beginEditBlock();
        while (m_pos < m_in.size() && !m_done)
            step();
        flushBytes();
        flushRun();
        m_cursor.endEditBlock();
        return m_complete;
    }

private:
    void step() {
        const char16_t c = m_in.at(m_pos).unicode();
        if (c == u'{') {
            ++m_pos;
            flushBytes();
            openGroup();
        } else if (c == u'}') {
            ++m_pos;
            flushBytes();
            closeGroup();
        } else if (c == u'\\') {
            control();
        } else {
            ++m_pos;
            if (c == u'\r' || c == u'\n')
                return;
            if (takesEffect() && (c == u'\t' || c >= 0x20))
                character(c);
        }
    }

    void openGroup() {
        m_fallbackLeft = 0;
        if (m_skipDepth > 0) {
            ++m_skipDepth;
            return;
        }
        if (m_stack.size() >= RtfReader::MaxDepth) {
            m_complete = false;
            m_skipDepth = 1;
            m_skipWithoutState = true;
            return;
        }
        m_stack.append(m_state);
    }

    void closeGroup() {
        m_fallbackLeft = 0;
        if (m_skipDepth > 0) {
            if (--m_skipDepth > 0)
                return;
            if (m_skipWithoutState) {
                m_skipWithoutState = false;
                return;
            }
        }
        // An entry of the font table ends with its own group (or the table's), not with a
        // group inside it such as {\*\panose ...}.
        if (m_state.destination == Destination::FontTable && m_stack.size() <= m_fontDepth)
            commitFont();
        if (m_stack.isEmpty()) {
            m_done = true; // a stray closing brace ends the document
            return;
        }
        m_state = m_stack.takeLast();
        if (m_stack.isEmpty())
            m_done = true; // the outermost group is closed: anything after it is not RTF
    }

    // Skips the rest of the current group. The document's own group is never skipped, so a
    // stray destination word at the top cannot hide the whole note.
    void skipGroup() {
        if (m_stack.size() >= 2)
            m_skipDepth = 1;
    }

    void control() {
        const qsizetype n = m_in.size();
        if (m_pos + 1 >= n) {
            m_pos = n;
            return;
        }
        const char16_t next = m_in.at(m_pos + 1).unicode();
        if (isLetter(next)) {
            controlWord();
            return;
        }
        if (next == u'\'') {
            m_pos += 2;
            int value = 0;
            int digits = 0;
            while (digits < 2 && m_pos < n && hexValue(m_in.at(m_pos).unicode()) >= 0) {
                value = value * 16 + hexValue(m_in.at(m_pos).unicode());
                ++m_pos;
                ++digits;
            }
            if (digits == 0 || m_skipDepth > 0)
                return;
            if (m_fallbackLeft > 0) {
                --m_fallbackLeft;
                return;
            }
            m_bytes.append(char(value));
            return;
        }
        m_pos += 2;
        flushBytes();
        if (m_skipDepth > 0)
            return;
        if (m_fallbackLeft > 0) {
            --m_fallbackLeft;
            return;
        }
        switch (next) {
        case u'\\':
        case u'{':
        case u'}':
            character(next);
            break;
        case u'~':
            character(0x00A0);
            break;
        case u'_':
            character(0x2011);
            break;
        case u'\r':
        case u'\n':
            paragraph();
            break;
        case u'*':
            skipGroup();
            break;
        default: // \- (optional hyphen), \| and the rest carry no text
            break;
        }
    }

    void controlWord() {
        const qsizetype n = m_in.size();
        qsizetype p = m_pos + 1;
        const qsizetype start = p;
        while (p < n && isLetter(m_in.at(p).unicode()))
            ++p;
        // RTF words are at most 32 letters; a longer one is no word this reader knows.
        const QStringView word = p - start <= 32 ? m_in.mid(start, p - start) : QStringView();
        bool hasParam = false;
        qint64 param = 0;
        bool negative = false;
        if (p + 1 < n && m_in.at(p) == u'-' && isDigit(m_in.at(p + 1).unicode())) {
            negative = true;
            ++p;
        }
        while (p < n && isDigit(m_in.at(p).unicode())) {
            if (param < 10'000'000'000LL)
                param = param * 10 + (m_in.at(p).unicode() - u'0');
            hasParam = true;
            ++p;
        }
        if (p < n && m_in.at(p) == u' ')
            ++p;
        m_pos = p;
        if (negative)
            param = -param;
        const int value = int(std::clamp<qint64>(param, -2'147'483'647LL, 2'147'483'647LL));

        if (word == u"bin") { // binary data: skipped byte by byte
            m_pos += std::clamp<qint64>(param, 0, n - m_pos);
            return;
        }
        if (takesEffect())
            apply(word, hasParam, value);
    }

    // Whether the text or control word just read counts: not inside a skipped group, and
    // not one of the characters standing in for a \u character read before it.
    bool takesEffect() {
        flushBytes();
        if (m_skipDepth > 0)
            return false;
        if (m_fallbackLeft > 0) {
            --m_fallbackLeft;
            return false;
        }
        return true;
    }

    void apply(QStringView word, bool hasParam, int value) {
        if (word.isEmpty())
            return;
        const bool on = !hasParam || value != 0;
        const WordEntry entry = wordTable().find(word);
        switch (entry.word) {
        case Word::U: {
            const int unit = value < 0 ? value + 65536 : value;
            if (unit >= 0 && unit <= 0xFFFF)
                character(char16_t(unit));
            m_fallbackLeft = m_state.unicodeSkip;
            break;
        }
        case Word::Uc:
            m_state.unicodeSkip = std::clamp(value, 0, 16);
            break;
        case Word::F:
            if (m_state.destination == Destination::FontTable) {
                commitFont();
                m_fontNumber = value;
                m_fontDepth = m_stack.size();
                m_fontCodePage = -1;
            } else {
                m_state.font = value;
            }
            break;
        case Word::FCharset:
            if (m_state.destination == Destination::FontTable)
                m_fontCodePage = codePageOfCharset(value, m_codePage);
            break;
        case Word::Cpg:
            if (m_state.destination == Destination::FontTable)
                m_fontCodePage = value;
            break;
        case Word::Fs:
            if (value > 0)
                m_state.halfPoints = std::min(value, 3276);
            break;
        case Word::B:
            m_state.bold = on;
            break;
        case Word::I:
            m_state.italic = on;
            break;
        case Word::Strike:
            m_state.strike = on;
            break;
        case Word::UlNone:
            m_state.underline = false;
            break;
        case Word::Underline:
            m_state.underline = on;
            break;
        case Word::Cf:
            m_state.colour = std::max(value, 0);
            break;
        case Word::Plain:
            m_state.plain();
            break;
        case Word::Par:
            if (m_state.destination == Destination::Text)
                paragraph();
            break;
        case Word::Red:
            m_red = std::clamp(value, 0, 255);
            m_colourGiven = true;
            break;
        case Word::Green:
            m_green = std::clamp(value, 0, 255);
            m_colourGiven = true;
            break;
        case Word::Blue:
            m_blue = std::clamp(value, 0, 255);
            m_colourGiven = true;
            break;
        case Word::FontTable:
            m_state.destination = Destination::FontTable;
            m_fontNumber = -1;
            break;
        case Word::ColourTable:
            m_state.destination = Destination::ColourTable;
            m_colourGiven = false;
            m_red = m_green = m_blue = 0;
            break;
        case Word::Deff:
            m_defaultFont = value;
            forgetFormats();
            break;
        case Word::AnsiCpg:
            if (value > 0)
                m_codePage = value;
            break;
        case Word::Mac:
            m_codePage = 10000;
            break;
        case Word::Pc:
            m_codePage = 437;
            break;
        case Word::Pca:
            m_codePage = 850;
            break;
        case Word::Named:
            character(entry.character);
            break;
        case Word::Destination:
            skipGroup();
            break;
        case Word::Other:
            break;
        }
    }

    void character(char16_t c) {
        switch (m_state.destination) {
        case Destination::FontTable:
            if (c == u';')
                commitFont();
            else if (m_fontNumber >= 0)
                m_fontName += QChar(c);
            return;
        case Destination::ColourTable:
            if (c == u';') {
                m_colours.append(m_colourGiven ? QColor(m_red, m_green, m_blue) : QColor());
                m_colourGiven = false;
                m_red = m_green = m_blue = 0;
            }
            return;
        case Destination::Text:
            break;
        }
        if (c == QChar::ParagraphSeparator) {
            paragraph();
            return;
        }
        if (c == QChar::ObjectReplacementCharacter || (c < 0x20 && c != u'\t'))
            return;
        if (m_runOpen && m_runState.look() != m_state.look())
            flushRun();
        if (!m_runOpen) {
            m_runState = m_state;
            m_runOpen = true;
        }
        m_run += QChar(c);
    }

    void paragraph() {
        flushRun();
        // The last paragraph mark of a document closes its last line rather than opening
        // a new one, so a break is only made once something follows it.
        if (m_breakPending)
            m_cursor.insertBlock(QTextBlockFormat(), format(m_state));
        // The mark carries the look of the line it closes, which an empty line shows.
        m_cursor.setBlockCharFormat(format(m_state));
        m_breakPending = true;
    }

    void flushRun() {
        if (!m_runOpen)
            return;
        m_runOpen = false;
        const QTextCharFormat f = format(m_runState);
        if (m_breakPending) {
            m_cursor.insertBlock(QTextBlockFormat(), f);
            m_breakPending = false;
        } else if (m_cursor.block().length() == 1) {
            m_cursor.setBlockCharFormat(f);
        }
        m_cursor.insertText(wellFormed(m_run), f);
        m_run.clear();
    }

    // \'hh bytes are gathered so that a character of a multi-byte code page decodes whole.
    void flushBytes() {
        if (m_bytes.isEmpty())
            return;
        int codePage = m_codePage;
        if (m_state.destination == Destination::FontTable) {
            if (m_fontCodePage != -1)
                codePage = m_fontCodePage;
        } else if (const FontEntry* f = font(m_state.font); f && f->codePage != -1) {
            codePage = f->codePage;
        }
        const QString text = decode(m_bytes, codePage);
        m_bytes.clear();
        if (m_state.destination == Destination::FontTable) {
            if (m_fontNumber >= 0)
                m_fontName += text; // a ";" written as \'3b belongs to the name
            return;
        }
        for (QChar c : text)
            character(c.unicode());
    }

    QString decode(const QByteArray& bytes, int codePage) {
        if (codePage == SymbolCodePage)
            return QString::fromLatin1(bytes);
        auto it = m_decoders.find(codePage);
        if (it == m_decoders.end())
            it =
                m_decoders.emplace(codePage, QStringDecoder(codecName(codePage).constData())).first;
        QStringDecoder& decoder = it->second;
        if (!decoder.isValid())
            return QString::fromLatin1(bytes);
        decoder.resetState();
        return decoder.decode(bytes);
    }

    void commitFont() {
        forgetFormats();
        if (m_fontNumber >= 0) {
            FontEntry& entry = m_fonts[m_fontNumber];
            m_fontName.removeIf([](QChar c) { return c.unicode() < 0x20; });
            entry.name = wellFormed(m_fontName).trimmed();
            entry.codePage = m_fontCodePage;
        }
        m_fontNumber = -1;
        m_fontName.clear();
        m_fontCodePage = -1;
    }

    const FontEntry* font(int number) const {
        const auto it = m_fonts.constFind(number < 0 ? m_defaultFont : number);
        return it == m_fonts.cend() ? nullptr : &*it;
    }

    // The colourless part of each look is built once, and a run's colour goes onto a copy of
    // it: a hostile note may hold a look per character, and the document itself merges
    // equal formats.
    QTextCharFormat format(const GroupState& s) {
        GroupState::Look look = s.look();
        const int colour = std::exchange(look.colour, 0);
        auto base = m_bases.constFind(look);
        if (base == m_bases.cend())
            base = m_bases.insert(look, makeBase(look));
        QTextCharFormat f = *base;
        if (colour > 0 && colour < m_colours.size() && m_colours.at(colour).isValid())
            f.setForeground(m_colours.at(colour));
        return f;
    }

    QTextCharFormat makeBase(const GroupState::Look& look) const {
        QTextCharFormat f;
        if (const FontEntry* entry = font(look.font); entry && !entry->name.isEmpty())
            f.setFontFamilies({entry->name});
        f.setFontPointSize(look.halfPoints / 2.0);
        f.setFontWeight(look.flags & GroupState::Bold ? QFont::Bold : QFont::Normal);
        f.setFontItalic(look.flags & GroupState::Italic);
        f.setFontUnderline(look.flags & GroupState::Underline);
        f.setFontStrikeOut(look.flags & GroupState::Strike);
        return f;
    }

    // The fonts a look stands for changed.
    void forgetFormats() { m_bases.clear(); }

public:
    // A surrogate without its partner becomes U+FFFD.
    static QString wellFormed(QString text) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                ++i;
            else if (c.isSurrogate())
                text[i] = QChar::ReplacementCharacter;
        }
        return text;
    }

private:
    static bool isLetter(char16_t c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    }
    static bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
    static int hexValue(char16_t c) {
        if (c >= u'0' && c <= u'9')
            return c - u'0';
        if (c >= u'a' && c <= u'f')
            return c - u'a' + 10;
        if (c >= u'A' && c <= u'F')
            return c - u'A' + 10;
        return -1;
    }

    QStringView m_in;
    qsizetype m_pos = 0;
    QTextCursor m_cursor;
    bool m_done = false;
    bool m_complete = true;

    GroupState m_state;
    QList<GroupState> m_stack;
    int m_skipDepth = 0;             // > 0 inside a skipped group, counting its braces
    bool m_skipWithoutState = false; // the skipped group was too deep to get a state
    int m_fallbackLeft = 0;          // fallback characters of the last \uN still to skip
    QByteArray m_bytes;

    // The text run being gathered and the state it was started in.
    QString m_run;
    GroupState m_runState;
    bool m_runOpen = false;
    bool m_breakPending = false;

    int m_codePage = 1252;
    int m_defaultFont = 0;
    QHash<int, FontEntry> m_fonts;
    int m_fontNumber = -1;
    qsizetype m_fontDepth = 0; // nesting of the group that holds the entry being read
    int m_fontCodePage = -1;
    QString m_fontName;
    QList<QColor> m_colours;
    bool m_colourGiven = false;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    std::map<int, QStringDecoder> m_decoders;
    QHash<GroupState::Look, QTextCharFormat> m_bases; // the looks without their colour
};

} // namespace

namespace RtfReader {

namespace {

qsizetype rtfStart(QStringView content) {
    qsizetype i = 0;
    while (i < content.size() && content.at(i).isSpace())
        ++i;
    return content.mid(i).startsWith(QLatin1String("{\\rtf")) ? i : -1;
}

// Text as the editor could have typed it: line breaks as "\n", no other control
// characters, no object marks, no surrogate without its partner.
QString plainText(QStringView input) {
    QString text;
    text.reserve(input.size());
    for (qsizetype i = 0; i < input.size(); ++i) {
        const QChar c = input.at(i);
        if (c == u'\r') {
            text += QLatin1Char('\n');
            if (i + 1 < input.size() && input.at(i + 1) == u'\n')
                ++i;
        } else if (c == u'\n' || c == u'\t' ||
                   (c.unicode() >= 0x20 && c != QChar::ObjectReplacementCharacter)) {
            text += c;
        }
    }
    return Parser::wellFormed(text);
}

} // namespace

bool isRtf(const QString& content) {
    return rtfStart(content) >= 0;
}

bool read(const QString& content, QTextDocument& document) {
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    QStringView input(content);
    bool complete = true;
    if (input.size() > MaxInput) {
        input = input.left(MaxInput);
        complete = false;
    }
    if (const qsizetype start = rtfStart(input); start < 0) {
        document.setPlainText(plainText(input));
    } else {
        Parser parser(input.mid(start), document);
        complete = parser.run() && complete;
    }
    document.setUndoRedoEnabled(undo);
    if (!complete)
        qCWarning(lcNotes) << "a note's text lies partly beyond the reader's limits; the rest "
                              "was dropped";
    return complete;
}

} // namespace RtfReader
