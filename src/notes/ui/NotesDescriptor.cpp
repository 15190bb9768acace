// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/ui/NotesDescriptor.h"

#include "notes/NoteDueReader.h"
#include "notes/NoteStore.h"
#include "notes/NotesLog.h"
#include "shell/RemoteCommand.h"
#include "shell/ui/ToolRegistry.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>

using namespace Artwork;

void paintNotesIcon(QPainter& p) {
    QPainterPath note;
    note.moveTo(5, 5);
    note.lineTo(27, 5);
    note.lineTo(27, 20);
    note.lineTo(20, 27);
    note.lineTo(5, 27);
    note.closeSubpath();
    p.setPen(pen(QColor(0xb0, 0x8a, 0x10), 1.5));
    p.setBrush(QColor(0xff, 0xe0, 0x6a));
    p.drawPath(note);
    p.setBrush(QColor(0xe8, 0xc2, 0x3a));
    QPainterPath fold;
    fold.moveTo(27, 20);
    fold.lineTo(20, 20);
    fold.lineTo(20, 27);
    fold.closeSubpath();
    p.drawPath(fold);
    p.setPen(pen(Ink, 1.5));
    p.drawLine(QPointF(9, 11), QPointF(23, 11));
    p.drawLine(QPointF(9, 15.5), QPointF(23, 15.5));
    p.drawLine(QPointF(9, 20), QPointF(16, 20));
}

ToolDescriptor notesDescriptor() {
    ToolDescriptor d;
    d.id = QStringLiteral("QNotes");
    d.commandName = QStringLiteral("notes");
    d.tip = QCoreApplication::translate("NotesTool", "Quick Notes");
    d.caption = d.tip;
    d.accelerator = QCoreApplication::translate("NotesTool", "Quick &Notes");
    d.paintIcon = &paintNotesIcon;
    d.dueTables = {QStringLiteral("QNotes")};
    d.dueReader = &readNoteAlarms;
    return d;
}

ToolDescriptor notesTool(AppContext& context) {
    ToolDescriptor d = notesDescriptor();
    ToolLink* link = d.link.get();
    const auto edit = [link](const ScheduleEditorState& preset,
                             QWidget* parent) -> std::optional<ScheduleEditorState> {
        const auto* editing =
            link->tools ? link->tools->offer<ScheduleEditing>(ScheduleEditingOffer) : nullptr;
        if (!editing) {
            qCWarning(lcNotes) << "no schedule editor is offered; the alarm stays as it is";
            return std::nullopt;
        }
        return (*editing)(preset, parent);
    };
    NotesTool* notes = d.hold(std::make_shared<NotesTool>(context, edit));
    QObject::connect(notes, &NotesTool::notice, link,
                     [link](const QString& text) { link->tell(text); });
    const std::shared_ptr<ToolLink> shared = d.link;
    const auto show = [shared] { Q_EMIT shared->showTool(QStringLiteral("QNotes")); };
    d.dueActions = {
        {QLatin1String(NoteAlarmAction), noteAlarmAction([notes, show] { notes->alarm(show); },
                                                         [notes, show](const QList<QDateTime>& at) {
                                                             notes->lateAlarm(show, at);
                                                         })}};
    d.saveNow = [notes] { notes->saveNow(); };
    d.actions.insert(QLatin1String(RemoteCommand::NewNote),
                     [notes, show](const QString& text) { return notes->newNote(show, text); });
    return d;
}
