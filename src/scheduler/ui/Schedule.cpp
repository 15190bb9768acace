// SPDX-License-Identifier: GPL-3.0-or-later
#include "scheduler/ui/Schedule.h"

#include "base/LocaleFormats.h"
#include "data/ChangeHub.h"
#include "data/SaveFailures.h"
#include "platform/Dialogs.h"
#include "scheduler/ScheduleRowText.h"
#include "scheduler/ui/ScheduleEditor.h"
#include "shell/FiringRules.h"
#include "shell/ShellTables.h"
#include "shell/Twips.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableWidget>

#include <algorithm>

namespace {

constexpr int MarginTwips = Schedule::SpareWidthTwips / 2;
constexpr int HintGapTwips = 120;
constexpr int MarkColumnTwips = 300;

QString markedName() {
    return QCoreApplication::translate("Schedule", "Marked for deletion");
}

int px(int twips) {
    return Twips::toPixels(twips);
}

bool sameEntry(const ScheduleRow& a, const ScheduleRow& b) {
    return a.rowId == b.rowId && a.schType == b.schType && a.launch == b.launch &&
           a.date == b.date && a.time == b.time && a.frequency == b.frequency;
}

} // namespace

Schedule::Schedule(AppContext& context, QWidget* parent)
    : ToolPage(parent), m_context(context), m_store(context.stores.get<ScheduleStore>()),
      m_editor([](QWidget* owner, const ScheduleEditorState& preset) {
          return ScheduleEditor::edit(preset, owner);
      }) {
    setObjectName(QStringLiteral("Schedule"));
    setWindowTitle(tr("Power Scheduler"));
    buildControls();
    reload();
    // Entries written elsewhere (Quick Notes' editor, another process): the list is read
    // again, keeping its marks; a hidden page reads it when shown.
    connect(&context.stores.changes, &ChangeHub::changed, this, [this](const QString& table) {
        if (table != QLatin1String("Schedule"))
            return;
        if (isVisible())
            reload();
        else
            m_stale = true;
    });
}

void Schedule::buildControls() {
    m_grid = new QTableWidget(0, ColumnCount, this);
    m_grid->setObjectName(QStringLiteral("SchGrid"));
    m_grid->setAccessibleName(tr("Scheduled actions"));
    m_grid->setAccessibleDescription(
        tr("Enter changes the entry of the current line or adds one on an empty line; Space or "
           "Delete marks the entry for deletion."));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->hide();
    QFont markFont = m_grid->font();
    markFont.setBold(true);
    markFont.setPointSize(ScheduleList::MarkPointSize);
    m_grid->verticalHeader()->setMinimumSectionSize(1);
    m_grid->verticalHeader()->setDefaultSectionSize(
        std::max(QFontMetrics(m_grid->font()).height(), QFontMetrics(markFont).height()) + 6);
    // The columns share the visible width; nothing scrolls sideways.
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    QHeaderView* header = m_grid->horizontalHeader();
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setMinimumSectionSize(1);
    const std::pair<QString, Qt::Alignment> heads[ColumnCount] = {
        {QStringLiteral("X"), Qt::AlignHCenter},
        {tr("Type"), Qt::AlignHCenter},
        {tr("Description"), Qt::AlignHCenter},
        {tr("Date & Time"), Qt::AlignHCenter},
        {tr("Frequency"), Qt::AlignHCenter}};
    for (int c = 0; c < ColumnCount; ++c) {
        auto* item = new QTableWidgetItem(heads[c].first);
        item->setTextAlignment(heads[c].second | Qt::AlignVCenter);
        m_grid->setHorizontalHeaderItem(c, item);
    }
    m_grid->horizontalHeaderItem(MarkCol)->setData(Qt::AccessibleTextRole, markedName());
    m_grid->horizontalHeaderItem(MarkCol)->setToolTip(markedName());
    header->setFixedHeight(std::max(px(HeaderTwips), header->sizeHint().height()));

    connect(m_grid, &QTableWidget::cellDoubleClicked, this, &Schedule::doubleClickCell);
    m_grid->installEventFilter(this);
    // The description column takes what the viewport leaves over.
    m_grid->viewport()->installEventFilter(this);

    m_hintLb = new QLabel(
        tr("Double-click a line, or press Enter, to add or change an entry. Double-click its X, "
           "or press Space, to mark it for deletion: marked entries are deleted when you leave "
           "the Power Scheduler."),
        this);
    m_hintLb->setObjectName(QStringLiteral("HintLb"));
    m_hintLb->setWordWrap(true);
    m_hintLb->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_grid->setGeometry(px(MarginTwips), px(MarginTwips), 480, 240);
    layOut();
}

void Schedule::reload() {
    std::vector<ScheduleRow> marked = m_list.markedEntries();
    std::vector<ScheduleRow> rows;
    if (!m_store.readAll(rows))
        tell(tr("The Power Scheduler could not read its entries.\n\n%1").arg(m_store.lastError()));
    m_list.load(std::move(rows));
    for (int line = 0; line < m_list.lineCount() && !marked.empty(); ++line) {
        if (!m_list.hasEntry(line))
            continue;
        const auto kept = std::find_if(marked.begin(), marked.end(), [&](const ScheduleRow& r) {
            return sameEntry(r, m_list.entry(line));
        });
        if (kept != marked.end()) {
            m_list.doubleClick(line, MarkCol);
            marked.erase(kept);
        }
    }
    m_stale = false;
    fill();
}

void Schedule::fill() {
    m_grid->setUpdatesEnabled(false);
    m_grid->clearContents();
    m_grid->setRowCount(m_list.lineCount());
    for (int line = 0; line < m_list.lineCount(); ++line)
        showLine(line);
    m_grid->setUpdatesEnabled(true);
    m_grid->setCurrentCell(0, MarkCol);
}

void Schedule::showLine(int line) {
    const ScheduleRowText text = m_list.text(line);
    const bool marked = m_list.marked(line);
    const QPalette& palette = m_grid->palette();
    const auto item = [this, line](int c) {
        QTableWidgetItem* it = m_grid->item(line, c);
        if (!it) {
            it = new QTableWidgetItem;
            m_grid->setItem(line, c, it);
        }
        return it;
    };

    QTableWidgetItem* mark = item(MarkCol);
    mark->setText(marked ? ScheduleList::Mark : QString());
    QFont markFont = m_grid->font();
    markFont.setBold(true);
    markFont.setPointSize(ScheduleList::MarkPointSize);
    mark->setFont(markFont);
    mark->setForeground(ScheduleList::markColour());
    mark->setTextAlignment(Qt::AlignCenter);
    // A screen reader reads what the X means, not the letter.
    mark->setData(Qt::AccessibleTextRole, !m_list.hasEntry(line) ? QString()
                                          : marked               ? markedName()
                                                                 : tr("Not marked"));

    QFont font = m_grid->font();
    font.setStrikeOut(marked);
    const QString texts[] = {text.type, text.description, text.when, text.frequency};
    for (int c = TypeCol; c <= FreqCol; ++c) {
        QTableWidgetItem* it = item(c);
        it->setText(texts[c - TypeCol]);
        it->setFont(font);
        it->setForeground(
            ScheduleRowText::colour(c == TypeCol ? text.typeInk : text.textInk, palette));
        it->setTextAlignment((c == FreqCol ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    item(DescCol)->setToolTip(text.description);
    mark->setData(PositionRole, m_list.hasEntry(line) ? QVariant(line) : QVariant());
}

void Schedule::doubleClickCell(int line, int column) {
    switch (m_list.doubleClick(line, column)) {
    case ScheduleList::DoubleClick::MarkToggled:
        showLine(line);
        m_grid->setCurrentCell(line, MarkCol);
        break;
    case ScheduleList::DoubleClick::OpenEditor:
        editLine(line);
        break;
    case ScheduleList::DoubleClick::Nothing:
        break;
    }
}

void Schedule::editLine(int line) {
    ScheduleEditorState preset = m_list.editorFor(line, m_context.clock);
    const QPointer<Schedule> self(this);
    for (;;) {
        const std::optional<ScheduleEditorState> answer = m_editor(this, preset);
        // Plumora may have been unloaded while the editor was open.
        if (!self || !answer)
            return;
        const int lines = m_list.lineCount();
        switch (m_list.save(line, *answer, m_store)) {
        case ScheduleStore::Update::Done:
            if (m_list.lineCount() != lines) {
                m_grid->setRowCount(m_list.lineCount());
                for (int l = lines; l < m_list.lineCount(); ++l)
                    showLine(l);
            }
            showLine(line);
            return;
        case ScheduleStore::Update::Vanished:
            tell(tr("This entry was changed or deleted by another program while you were editing "
                    "it, so your changes were not saved.\n\nThe list now shows the entries as "
                    "they are."));
            reload();
            return;
        case ScheduleStore::Update::Failed:
            // The editor opens again with what was entered: saved later, or cancelled.
            tell(
                SaveFailures::failedText(tr("The entry"), m_store.dataFile(), m_store.lastError()));
            preset = *answer;
            break;
        }
    }
}

void Schedule::activated() {
    if (m_stale)
        reload();
    m_grid->setFocus();
}

void Schedule::closeEvent(QCloseEvent* event) {
    applyMarks();
    ToolPage::closeEvent(event);
}

void Schedule::hideEvent(QHideEvent* event) {
    ToolPage::hideEvent(event);
    // The window hid (not minimised, and not this page alone for another tool).
    if (!event->spontaneous() && window()->isHidden())
        applyMarks();
}

bool Schedule::deleteMarked() {
    if (m_stale)
        return true;
    if (!m_store.applyMarks(m_list.markedEntries()))
        return false; // the marks stay, so closing the window again tries once more
    m_stale = true;
    return true;
}

void Schedule::applyMarks() {
    if (!deleteMarked())
        tell(SaveFailures::failedText(tr("The deletion of the marked entries"), m_store.dataFile(),
                                      m_store.lastError()));
}

bool Schedule::keepForUnload(QString* failure) {
    if (deleteMarked())
        return true;
    *failure = SaveFailures::failedText(tr("The deletion of the marked entries"),
                                        m_store.dataFile(), m_store.lastError());
    return false;
}

void Schedule::hostResized() {
    layOut();
}

void Schedule::resizeEvent(QResizeEvent* event) {
    ToolPage::resizeEvent(event);
    layOut();
}

void Schedule::layOut() {
    QRect area = m_grid->geometry();
    area.moveTopLeft(QPoint(px(MarginTwips), px(MarginTwips)));
    // The grid follows the page while it is large enough, else keeps its last size.
    if (Twips::fromPixels(width()) > SpareWidthTwips)
        area.setWidth(width() - px(SpareWidthTwips));
    if (Twips::fromPixels(height()) > SpareHeightTwips)
        area.setHeight(height() - px(SpareHeightTwips));
    m_grid->setGeometry(area);
    fitColumns();

    const int hintTop = area.bottom() + 1 + px(HintGapTwips);
    m_hintLb->setGeometry(area.left(), hintTop, area.width(),
                          m_hintLb->heightForWidth(area.width()));
}

void Schedule::fitColumns() {
    const QFontMetrics fm(m_grid->font());
    QFont bold = m_grid->font();
    bold.setBold(true);
    bold.setPointSize(ScheduleList::MarkPointSize);
    const int pad = 2 * fm.averageCharWidth();
    const auto fits = [&](std::initializer_list<QString> texts) {
        int w = 0;
        for (const QString& t : texts)
            w = std::max(w, fm.horizontalAdvance(t));
        return w + pad;
    };
    const int mark =
        std::max(px(MarkColumnTwips), QFontMetrics(bold).horizontalAdvance(u'X') + pad);
    const int type = fits({ScheduleRowText::launchText(), ScheduleRowText::shutDownText()});
    const int when = fits(
        {ScheduleRowText::whenText(QDate(2026, 12, 28), QTime(12, 58), LocaleFormats::timeLocale()),
         tr("Date & Time")});
    // The widest of the header and every frequency's name, whatever the language.
    int freq = fits({tr("Frequency")});
    for (int f = FiringRules::Inactive; f <= FiringRules::Yearly; ++f)
        freq = std::max(freq, fits({ScheduleRowText::frequencyName(f)}));
    const int room = m_grid->viewport()->width();
    m_grid->setColumnWidth(MarkCol, mark);
    m_grid->setColumnWidth(TypeCol, type);
    m_grid->setColumnWidth(WhenCol, when);
    m_grid->setColumnWidth(FreqCol, freq);
    m_grid->setColumnWidth(DescCol,
                           std::max(fits({tr("Description")}), room - mark - type - when - freq));
}

bool Schedule::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid->viewport() && event->type() == QEvent::Resize)
        fitColumns();
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const int line = m_grid->currentRow();
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier || line < 0)
            return ToolPage::eventFilter(watched, event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            doubleClickCell(line, DescCol);
            return true;
        case Qt::Key_Space:
        case Qt::Key_Delete:
            doubleClickCell(line, MarkCol);
            return true;
        default:
            break;
        }
    }
    return ToolPage::eventFilter(watched, event);
}

void Schedule::tell(const QString& text) {
    ToolPage::tell(m_context.dialogs, text);
}

Schedule* ScheduleTool::makePage(QWidget* parent) {
    m_page = new Schedule(m_context, parent);
    return m_page;
}
