// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/spell/ui/SpellCheckDialog.h"

#include "platform/Dialogs.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

// The English texts; shown translated.
const QString SpellCheckDialog::CompleteText =
    QStringLiteral(QT_TRANSLATE_NOOP("SpellCheckDialog", "Spell check is complete."));
const QString SpellCheckDialog::UnavailableText = QStringLiteral(QT_TRANSLATE_NOOP(
    "SpellCheckDialog", "Spell checking is off: no US English dictionary is installed."));

SpellCheckDialog::SpellCheckDialog(QTextDocument& document, SpellChecker& checker, QWidget* parent)
    : QDialog(parent), m_session(document, checker), m_word(new QLineEdit(this)),
      m_changeTo(new QLineEdit(this)), m_suggestions(new QListWidget(this)),
      m_change(new QPushButton(tr("Change"), this)),
      m_changeAll(new QPushButton(tr("Change All"), this)) {
    setObjectName(QStringLiteral("SpellCheck"));
    setWindowTitle(tr("Spelling"));
    setModal(true);

    m_word->setObjectName(QStringLiteral("WordTb"));
    m_word->setReadOnly(true);
    m_changeTo->setObjectName(QStringLiteral("ChangeToTb"));
    m_suggestions->setObjectName(QStringLiteral("SuggestLb"));
    m_change->setObjectName(QStringLiteral("ChangeBtn"));
    m_changeAll->setObjectName(QStringLiteral("ChangeAllBtn"));
    auto* ignore = new QPushButton(tr("Ignore"), this);
    ignore->setObjectName(QStringLiteral("IgnoreBtn"));
    auto* ignoreAll = new QPushButton(tr("Ignore All"), this);
    ignoreAll->setObjectName(QStringLiteral("IgnoreAllBtn"));
    auto* add = new QPushButton(tr("Add"), this);
    add->setObjectName(QStringLiteral("AddBtn"));
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    for (QPushButton* b : {m_change, m_changeAll, ignore, ignoreAll, add, cancel})
        b->setAutoDefault(false);
    m_change->setDefault(true);

    auto* grid = new QGridLayout(this);
    // Each label names its field, for screen readers too.
    const auto label = [this](const QString& text, QWidget* field) {
        auto* l = new QLabel(text, this);
        l->setBuddy(field);
        field->setAccessibleName(QString(text).remove(u':'));
        return l;
    };
    grid->addWidget(label(tr("Not in dictionary:"), m_word), 0, 0);
    grid->addWidget(m_word, 1, 0);
    grid->addWidget(label(tr("Change to:"), m_changeTo), 2, 0);
    grid->addWidget(m_changeTo, 3, 0);
    grid->addWidget(label(tr("Suggestions:"), m_suggestions), 4, 0);
    grid->addWidget(m_suggestions, 5, 0, 3, 1);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {ignore, ignoreAll, add})
        buttons->addWidget(b);
    buttons->addSpacing(12);
    for (QPushButton* b : {m_change, m_changeAll, cancel})
        buttons->addWidget(b);
    buttons->addStretch();
    grid->addLayout(buttons, 1, 1, 7, 1);

    connect(m_suggestions, &QListWidget::currentTextChanged, m_changeTo, &QLineEdit::setText);
    connect(m_suggestions, &QListWidget::itemDoubleClicked, m_change, &QPushButton::click);
    connect(m_changeTo, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_change->setEnabled(!text.isEmpty());
        m_changeAll->setEnabled(!text.isEmpty());
    });
    connect(m_change, &QPushButton::clicked, this, [this] {
        m_session.change(m_changeTo->text());
        advance();
    });
    connect(m_changeAll, &QPushButton::clicked, this, [this] {
        m_session.changeAll(m_changeTo->text());
        advance();
    });
    connect(ignore, &QPushButton::clicked, this, [this] {
        m_session.ignore();
        advance();
    });
    connect(ignoreAll, &QPushButton::clicked, this, [this] {
        m_session.ignoreAll();
        advance();
    });
    connect(add, &QPushButton::clicked, this, [this] {
        // A list that cannot be written still accepts the word for this session.
        m_session.add();
        advance();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool SpellCheckDialog::start() {
    if (!m_session.next())
        return false;
    showCurrent();
    return true;
}

void SpellCheckDialog::showCurrent() {
    const QStringList suggestions = m_session.suggestions();
    m_word->setText(m_session.word());
    m_suggestions->clear();
    m_suggestions->addItems(suggestions);
    if (!suggestions.isEmpty())
        m_suggestions->setCurrentRow(0);
    else
        m_changeTo->setText(m_session.word());
    m_changeTo->setFocus();
    m_changeTo->selectAll();
    if (m_shown)
        m_shown(m_session.start(), int(m_session.word().size()));
}

void SpellCheckDialog::advance() {
    if (m_session.next())
        showCurrent();
    else
        accept();
}

void SpellCheckDialog::run(QTextEdit* edit, SpellChecker& checker, Dialogs& dialogs,
                           QWidget* parent) {
    if (!checker.available()) {
        // A dictionary that is there but cannot be used is a fault, not a missing install.
        if (!checker.failure().isEmpty())
            dialogs.messageBox(checker.failure(), tr("Message"), MessageButtons::Ok,
                               MessageIcon::Warning);
        else
            dialogs.messageBox(tr(UnavailableText.toUtf8().constData()), tr("Message"),
                               MessageButtons::Ok, MessageIcon::Information);
        return;
    }
    if (edit) {
        SpellCheckDialog dialog(*edit->document(), checker, parent);
        dialog.setWordShown([edit](int start, int length) {
            QTextCursor cursor(edit->document());
            cursor.setPosition(start);
            cursor.setPosition(start + length, QTextCursor::KeepAnchor);
            edit->setTextCursor(cursor);
            edit->ensureCursorVisible();
        });
        if (dialog.start())
            dialog.exec();
    }
    dialogs.messageBox(tr(CompleteText.toUtf8().constData()), tr("Message"), MessageButtons::Ok,
                       MessageIcon::Information);
}
