// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/ui/FindNote.h"

#include "platform/Dialogs.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QString shown(const char* text) {
    return QCoreApplication::translate("NoteSearch", text);
}

} // namespace

FindNote::FindNote(NoteSearch search, NoteSearch::TextOf textOf, Show show, Dialogs& dialogs,
                   QWidget* parent)
    : QDialog(parent), m_search(std::move(search)), m_textOf(std::move(textOf)),
      m_show(std::move(show)), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("FindNote"));
    setWindowTitle(shown(NoteSearch::Title));
    setModal(false);

    auto* label = new QLabel(shown(NoteSearch::LookForLabel), this);
    label->setObjectName(QStringLiteral("FindLb"));
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("FindTb"));
    m_text->setAccessibleName(shown(NoteSearch::LookForLabel));
    m_text->setMinimumWidth(fontMetrics().averageCharWidth() * 28);
    label->setBuddy(m_text);
    m_findNext = new QPushButton(shown(NoteSearch::FindNextText), this);
    m_findNext->setObjectName(QStringLiteral("FindBtn"));
    m_findNext->setDefault(true);
    m_findNext->setEnabled(false);

    auto* row = new QHBoxLayout(this);
    row->addWidget(label);
    row->addWidget(m_text, 1);
    row->addWidget(m_findNext);

    connect(m_text, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_findNext->setEnabled(!text.isEmpty()); });
    connect(m_findNext, &QPushButton::clicked, this, &FindNote::findNext);
}

void FindNote::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_text->setFocus();
}

void FindNote::findNext() {
    const QString text = m_text->text();
    if (text.isEmpty())
        return;
    if (const std::optional<NoteSearch::Hit> hit = m_search.findNext(text, m_textOf)) {
        m_show(*hit);
        return;
    }
    m_dialogs.messageBox(shown(NoteSearch::NoMoreText), shown(NoteSearch::MessageTitle),
                         MessageButtons::Ok, MessageIcon::Information);
}
