// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notes/NoteSearch.h"

#include <QDialog>

#include <functional>

class Dialogs;
class QLineEdit;
class QPushButton;

// The note search ("Find"), shown beside Quick Notes without blocking it: "Find Next"
// selects the next occurrence of the text in front-to-back order of the cards as they lay
// when the dialog opened, and says once when there is no more.
class FindNote : public QDialog {
    Q_OBJECT
public:
    // `show` brings the card of a hit forward and selects the found text.
    using Show = std::function<void(const NoteSearch::Hit&)>;

    FindNote(NoteSearch search, NoteSearch::TextOf textOf, Show show, Dialogs& dialogs,
             QWidget* parent = nullptr);

    void findNext();

protected:
    void showEvent(QShowEvent* event) override;

private:
    NoteSearch m_search;
    NoteSearch::TextOf m_textOf;
    Show m_show;
    Dialogs& m_dialogs;
    QLineEdit* m_text;
    QPushButton* m_findNext;
};
