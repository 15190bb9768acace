// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QTranslator>

#include <algorithm>

// A stand-in for a translation: while it lives, every text asked of the translation system
// comes back marked, "[[Delete]]" for "Delete". A text that never went through it stays
// unmarked, which is how a test finds a caption left out of the translation, or a stored
// value, name or key that went through it by mistake.
class MarkingTranslator final : public QTranslator {
public:
    MarkingTranslator() { QCoreApplication::installTranslator(this); }
    ~MarkingTranslator() override { QCoreApplication::removeTranslator(this); }
    MarkingTranslator(const MarkingTranslator&) = delete;
    MarkingTranslator& operator=(const MarkingTranslator&) = delete;

    bool isEmpty() const override { return false; }
    QString translate(const char*, const char* source, const char*, int) const override {
        return marked(QString::fromUtf8(source));
    }

    static QString marked(const QString& text) {
        return QStringLiteral("[[") + text + QStringLiteral("]]");
    }
    static bool isMarked(const QString& text) { return text.contains(QLatin1String("[[")); }

    // What `root` and the widgets in it show without a mark, as "objectName what: text":
    // window titles, captions, tool tips, accessible names and descriptions, placeholders,
    // group titles, table headers and toolbar actions. Texts without a letter and those in
    // `asTheyAre` (the user's own names, another folder's captions) are left out.
    static QStringList unmarkedTexts(QWidget* root, const QStringList& asTheyAre = {}) {
        QStringList found;
        const auto check = [&](const QObject* o, const char* what, const QString& text) {
            const bool hasLetter =
                std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
            if (hasLetter && !isMarked(text) && !asTheyAre.contains(text))
                found << o->objectName() + u' ' + QLatin1String(what) + QStringLiteral(": ") + text;
        };
        QList<QWidget*> widgets = root->findChildren<QWidget*>();
        widgets.prepend(root);
        for (QWidget* w : std::as_const(widgets)) {
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
            if (auto* t = qobject_cast<QTableWidget*>(w)) {
                for (int c = 0; c < t->columnCount(); ++c) {
                    if (const QTableWidgetItem* head = t->horizontalHeaderItem(c)) {
                        check(w, "header", head->text());
                        check(w, "header tip", head->toolTip());
                        check(w, "header name", head->data(Qt::AccessibleTextRole).toString());
                    }
                }
            }
            if (auto* bar = qobject_cast<QToolBar*>(w)) {
                for (const QAction* a : bar->actions()) {
                    check(a, "text", a->text());
                    check(a, "tip", a->toolTip());
                }
            }
        }
        return found;
    }
};
