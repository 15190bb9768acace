// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTextEdit>
#include <QTranslator>

#include <algorithm>

// A stand-in for a translation, installed while it lives: every text asked of the
// translation system comes back marked, "[[Delete]]" for "Delete". A text that never went
// through it stays unmarked, which is how a test finds a caption left out of the
// translation, or a stored value, name or key that went through it by mistake.
// `translations` gives some texts as a language puts them ("context|source" -> text): a
// format with its placeholders in another order, or real words.
class MarkingTranslator final : public QTranslator {
public:
    enum Marks {
        Everything, // every text not in `translations`, Qt's own included
        OwnTexts,   // Qt's own texts (its buttons, key names) stay as Qt has them
        Nothing,    // only the texts in `translations` change
    };

    QHash<QString, QString> translations;

    explicit MarkingTranslator(Marks marks = Everything) : m_marks(marks) {
        QCoreApplication::installTranslator(this);
    }
    ~MarkingTranslator() override { QCoreApplication::removeTranslator(this); }
    MarkingTranslator(const MarkingTranslator&) = delete;
    MarkingTranslator& operator=(const MarkingTranslator&) = delete;

    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override {
        const QString where = QString::fromUtf8(context);
        const QString text = QString::fromUtf8(source);
        const auto found = translations.constFind(where + u'|' + text);
        if (found != translations.cend())
            return *found;
        const bool qts = where.size() > 1 && where[0] == u'Q' && where[1].isUpper();
        if (m_marks == Nothing || (m_marks == OwnTexts && qts))
            return {};
        return marked(text);
    }

    static QString marked(const QString& text) {
        return QStringLiteral("[[") + text + QStringLiteral("]]");
    }
    // A text begins in translation, and what follows its last mark holds no word: a
    // translated text may end in a value such as a shortcut's key, never in English.
    static bool isMarked(const QString& text) {
        static const QRegularExpression word(QStringLiteral("\\p{L}{2}"));
        return text.startsWith(QLatin1String("[[")) &&
               !text.mid(text.lastIndexOf(QLatin1String("]]"))).contains(word);
    }

    // What a check leaves out: texts that are shown as they are (the user's own names, a
    // sign) and widgets with everything they hold (another part's groups).
    struct Leave {
        QStringList texts = {};
        QList<QWidget*> widgets = {};
    };

    // What `root` and the widgets in it show or say without a mark, as "objectName what:
    // text": window titles, texts, tool tips, accessible names and descriptions,
    // placeholders, group titles, combo box entries, table headers and the widgets'
    // actions. Texts without a letter, names of the program and of protocols, and
    // paths are the same in every language.
    static QStringList unmarkedTexts(QWidget* root) { return unmarkedTexts(root, Leave{}); }
    static QStringList unmarkedTexts(QWidget* root, const Leave& leave) {
        QStringList found;
        const auto check = [&](const QObject* o, const char* what, const QString& text) {
            if (!isMarked(text) && !needsNoTranslation(text) && !leave.texts.contains(text))
                found << o->objectName() + u' ' + QLatin1String(what) + QStringLiteral(": ") + text;
        };
        QList<QWidget*> widgets = root->findChildren<QWidget*>();
        widgets.prepend(root);
        for (QWidget* w : std::as_const(widgets)) {
            bool left = false;
            for (QWidget* p = w; p && p != root && !left; p = p->parentWidget())
                left = leave.widgets.contains(p);
            if (left)
                continue;
            if (w->isWindow())
                check(w, "title", w->windowTitle());
            check(w, "tip", w->toolTip());
            check(w, "name", w->accessibleName());
            check(w, "description", w->accessibleDescription());
            if (auto* b = qobject_cast<QAbstractButton*>(w))
                check(w, "text", b->text());
            if (auto* l = qobject_cast<QLabel*>(w))
                check(w, "text", l->text());
            if (auto* g = qobject_cast<QGroupBox*>(w))
                check(w, "title", g->title());
            if (auto* e = qobject_cast<QLineEdit*>(w))
                check(w, "placeholder", e->placeholderText());
            if (auto* e = qobject_cast<QTextEdit*>(w))
                check(w, "placeholder", e->placeholderText());
            if (auto* box = qobject_cast<QComboBox*>(w))
                for (int i = 0; i < box->count(); ++i)
                    check(w, "entry", box->itemText(i));
            if (auto* t = qobject_cast<QTableWidget*>(w)) {
                for (int c = 0; c < t->columnCount(); ++c) {
                    if (const QTableWidgetItem* head = t->horizontalHeaderItem(c)) {
                        check(w, "header", head->text());
                        check(w, "header tip", head->toolTip());
                        check(w, "header name", head->data(Qt::AccessibleTextRole).toString());
                    }
                }
            }
            for (const QAction* a : w->actions()) {
                if (a->isSeparator())
                    continue;
                check(a, "action", a->text());
                check(a, "action tip", a->toolTip());
            }
        }
        return found;
    }

private:
    static bool needsNoTranslation(const QString& text) {
        static const QStringList names{QStringLiteral("Plumora"), QStringLiteral("POP3"),
                                       QStringLiteral("IMAP"), QStringLiteral("SSL/TLS"),
                                       QStringLiteral("STARTTLS")};
        return std::none_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); }) ||
               names.contains(text) || text.startsWith(u'/');
    }

    Marks m_marks;
};
