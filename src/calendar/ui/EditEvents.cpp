// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/ui/EditEvents.h"

#include "base/Clock.h"
#include "calendar/EventIcons.h"
#include "calendar/EventStore.h"
#include "calendar/WeekStart.h"
#include "calendar/ui/IconPicker.h"
#include "data/SaveFailures.h"
#include "platform/Dialogs.h"
#include "platform/spell/SpellChecker.h"
#include "platform/spell/ui/SpellAsYouType.h"
#include "shell/ui/HelpKey.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace {

// The grid's format: "^" centres a column, "<" aligns it left; the blanks size it.
const QString GridFormat = QStringLiteral(
    "^X  |^Icon     |<Event Description                                                   "
    "         |^Date            |^Repeat    ");

// The column captions as shown (the mark column's "X" stays as it is).
const char* const Captions[] = {
    QT_TRANSLATE_NOOP("EditEvents", "Icon"), QT_TRANSLATE_NOOP("EditEvents", "Event Description"),
    QT_TRANSLATE_NOOP("EditEvents", "Date"), QT_TRANSLATE_NOOP("EditEvents", "Repeat")};

// DayEdit::RepeatItems as shown, in the same order: the editor's rules keep the English
// words, the grid and the list show these.
const char* const RepeatShown[] = {
    QT_TRANSLATE_NOOP("EditEvents", "none"), QT_TRANSLATE_NOOP("EditEvents", "weekly"),
    QT_TRANSLATE_NOOP("EditEvents", "monthly"), QT_TRANSLATE_NOOP("EditEvents", "yearly")};

QString shownRepeat(const QString& item) {
    const qsizetype i = DayEdit::RepeatItems.indexOf(item);
    return i >= 0 && i < qsizetype(std::size(RepeatShown)) ? EditEvents::tr(RepeatShown[i]) : item;
}

constexpr int ShownRole = Qt::UserRole; // the Icon cell's picture with its mask see-through
constexpr int PictureSide = 32;
constexpr int RowPadding = 4;
constexpr int RepeatDrop = 8; // 120 twips
const QColor HolidayBack(245, 245, 245);
const QColor MarkColour(255, 0, 0);
constexpr int MarkPoints = 10;

// The Icon cell: its picture centred, struck through with the rest of a marked row.
class IconDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        opt.text.clear();
        QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
        const QImage picture = index.data(ShownRole).value<QImage>();
        const QRect r = option.rect;
        if (!picture.isNull()) {
            // A stored picture is scaled smoothly on a dense screen; ours come drawn for it.
            const QSizeF side = picture.deviceIndependentSize();
            painter->save();
            painter->setRenderHint(QPainter::SmoothPixmapTransform);
            painter->drawImage(QRectF(r.x() + (r.width() - side.width()) / 2,
                                      r.y() + (r.height() - side.height()) / 2, side.width(),
                                      side.height()),
                               picture);
            painter->restore();
        }
        if (opt.font.strikeOut()) {
            painter->setPen(QPen(opt.palette.color(QPalette::Text), 1));
            painter->drawLine(r.left() + 2, r.center().y(), r.right() - 2, r.center().y());
        }
    }
};

bool ignoredFocusLoss(const QEvent* event) {
    // A context menu, the combo's own list or another application's window takes the focus
    // only for a moment; the editor stays.
    const auto reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;
}

} // namespace

EditEvents::EditEvents(AppContext& context, const QDate& day, const HolidayFlags& flags,
                       QWidget* parent)
    : QDialog(parent), m_context(context), m_edit(day, flags, HolidaysIL::raw(1)) {
    setObjectName(QStringLiteral("EditEvents"));
    setWindowTitle(captionFor(day));
    setModal(true);
    buildControls();

    EventStore& store = context.stores.get<EventStore>();
    m_edit.load(store.readDay(day));
    m_loadedRows = rowsText();
    syncRows();
    m_grid->setCurrentCell(0, DescCol);
}

QStringList EditEvents::rowsText() const {
    QStringList rows;
    for (int r = 0; r < m_edit.rowCount(); ++r) {
        const DayEditRow& row = m_edit.row(r);
        if (row.used() || row.marked)
            rows << QStringList{row.marked ? QStringLiteral("X") : QString(), row.description,
                                row.date, row.repeat,
                                row.picked ? QStringLiteral("picked") : QString()}
                        .join(u'\x1f');
    }
    return rows;
}

void EditEvents::reject() {
    leaveEditors();
    if (rowsText() != m_loadedRows &&
        m_context.dialogs.messageBox(
            tr("The events of this day were changed and not saved. Close without saving them?"),
            tr("Confirm"), MessageButtons::YesNoDefaultNo,
            MessageIcon::Question) != MessageAnswer::Yes)
        return;
    QDialog::reject();
}

EditEvents::~EditEvents() {
    // The spelling helper refers to the checker: it goes first.
    delete m_spelling;
}

QString EditEvents::captionFor(const QDate& day) {
    // The date's order and punctuation differ between languages: the format is translated.
    const QString format = tr("MMM dd yyyy", "date format of the editor's title");
    return tr("Edit Events - %1").arg(WeekStart::timeLocale().toString(day, format));
}

void EditEvents::buildControls() {
    m_grid = new QTableWidget(0, 5, this);
    m_grid->setObjectName(QStringLiteral("EventsGrid"));
    m_grid->setAccessibleName(tr("Events"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::NoSelection);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setSectionsClickable(false);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->setItemDelegateForColumn(IconCol, new IconDelegate(m_grid));
    const QStringList formats = GridFormat.split(u'|');
    const QFontMetrics fm(m_grid->font());
    int width = 0;
    for (int c = 0; c < formats.size(); ++c) {
        const QString& f = formats[c];
        auto* header =
            new QTableWidgetItem(c == MarkCol ? f.mid(1).trimmed() : tr(Captions[c - IconCol]));
        header->setTextAlignment((f.startsWith(u'<') ? Qt::AlignLeft : Qt::AlignHCenter) |
                                 Qt::AlignVCenter);
        m_grid->setHorizontalHeaderItem(c, header);
        // A translated caption longer than the English one widens its column.
        const int w =
            std::max({fm.horizontalAdvance(f.mid(1)) + 8, fm.horizontalAdvance(header->text()) + 16,
                      c == IconCol ? PictureSide + 2 * RowPadding : 0});
        m_grid->setColumnWidth(c, w);
        width += w;
    }
    m_grid->verticalHeader()->setDefaultSectionSize(std::max(PictureSide, fm.height()) +
                                                    RowPadding);
    // The columns fit beside the vertical scroll bar, so no horizontal one is needed.
    const QStyle* style = m_grid->style();
    m_grid->setMinimumWidth(
        width + style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_grid) +
        2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, m_grid) + 2);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setMinimumHeight(m_grid->verticalHeader()->defaultSectionSize() * 9);
    connect(m_grid, &QTableWidget::cellClicked, this, &EditEvents::clickCell);
    connect(m_grid, &QTableWidget::currentCellChanged, this, [this] { leaveEditors(); });
    connect(m_grid->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { leaveEditors(); });
    connect(m_grid->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { leaveEditors(); });
    m_grid->installEventFilter(this);

    m_descTb = new QPlainTextEdit(m_grid->viewport());
    m_descTb->setObjectName(QStringLiteral("DescTb"));
    m_descTb->setAccessibleName(tr("Event Description"));
    m_descTb->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_descTb->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_descTb->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_descTb->setTabChangesFocus(true);
    m_descTb->hide();
    m_descTb->installEventFilter(this);
    connect(m_descTb, &QPlainTextEdit::textChanged, this, [this] {
        if (m_descRow < 0)
            return;
        m_edit.descriptionTyped(m_descRow);
        showRow(m_descRow);
    });

    // The date picker stands in a frame of its own over the grid.
    m_dateFrame = new QFrame(this);
    m_dateFrame->setObjectName(QStringLiteral("DatePickFrame"));
    m_dateFrame->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_dateFrame->setLineWidth(1);
    m_dateFrame->setForegroundRole(QPalette::Dark);
    m_dateFrame->setAutoFillBackground(true);
    auto* dateLayout = new QVBoxLayout(m_dateFrame);
    dateLayout->setContentsMargins(1, 1, 1, 1);
    m_datePick = new QCalendarWidget(m_dateFrame);
    dateLayout->addWidget(m_datePick);
    m_datePick->setObjectName(QStringLiteral("DatePick"));
    m_datePick->setAccessibleName(tr("Date"));
    m_datePick->setDateRange(QDate(1753, 1, 1), QDate(9999, 12, 31));
    // As the month view's weeks.
    m_datePick->setFirstDayOfWeek(WeekStart::firstDay(WeekStart::read(m_context.paths.dataFile())));
    m_datePick->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_datePick->setAutoFillBackground(true);
    m_dateFrame->resize(m_dateFrame->sizeHint());
    m_dateFrame->hide();
    connect(m_datePick, &QCalendarWidget::clicked, this, &EditEvents::datePicked);
    connect(m_datePick, &QCalendarWidget::activated, this, &EditEvents::datePicked);
    // Esc reaches whichever part of the picker has the focus.
    m_datePick->installEventFilter(this);
    for (QWidget* part : m_datePick->findChildren<QWidget*>())
        part->installEventFilter(this);

    m_repeatCb = new QComboBox(m_grid->viewport());
    m_repeatCb->setObjectName(QStringLiteral("RepeatCb"));
    m_repeatCb->setAccessibleName(tr("Repeat"));
    for (const QString& item : DayEdit::RepeatItems)
        m_repeatCb->addItem(shownRepeat(item));
    // The list is as wide as its longest entry, whatever the width of the column.
    m_repeatCb->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_repeatCb->view()->setMinimumWidth(m_repeatCb->view()->sizeHintForColumn(0) +
                                        2 * m_repeatCb->view()->frameWidth() + 8);
    m_repeatCb->hide();
    m_repeatCb->installEventFilter(this);
    m_repeatCb->view()->installEventFilter(this);
    connect(m_repeatCb, &QComboBox::activated, this, &EditEvents::repeatChosen);

    // No button is a default one: Enter in the grid must never save or close the editor.
    const auto button = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        b->setDefault(false);
        return b;
    };
    m_saveBtn = button("SaveBtn", tr("Save"));
    m_cancelBtn = button("CancelBtn", tr("Cancel"));
    m_helpCmd = button("HelpCmd", tr("Help"));
    // The editors close when the mouse goes down on "Save", so its click saves their values.
    connect(m_saveBtn, &QPushButton::pressed, this, &EditEvents::leaveEditors);
    connect(m_saveBtn, &QPushButton::clicked, this, &EditEvents::save);
    connect(m_cancelBtn, &QPushButton::clicked, this, [this] { QDialog::reject(); });
    connect(m_helpCmd, &QPushButton::clicked, this, [this] { HelpKey::send(this); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_saveBtn);
    buttons->addWidget(m_cancelBtn);
    buttons->addWidget(m_helpCmd);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addLayout(buttons);
    // Room for the whole date picker wherever it opens.
    setMinimumHeight(std::max(minimumSizeHint().height(), m_dateFrame->sizeHint().height() + 24));
}

void EditEvents::syncRows() {
    const int old = m_grid->rowCount();
    if (old < m_edit.rowCount())
        m_grid->setRowCount(m_edit.rowCount());
    for (int r = old; r < m_edit.rowCount(); ++r)
        showRow(r);
}

void EditEvents::showRow(int r) {
    const DayEditRow& row = m_edit.row(r);
    const auto item = [this, r](int c) {
        QTableWidgetItem* it = m_grid->item(r, c);
        if (!it) {
            it = new QTableWidgetItem;
            m_grid->setItem(r, c, it);
        }
        return it;
    };

    QTableWidgetItem* mark = item(MarkCol);
    mark->setText(row.marked ? QStringLiteral("X") : QString());
    QFont markFont = m_grid->font();
    markFont.setBold(true);
    markFont.setPointSize(MarkPoints);
    mark->setFont(markFont);
    mark->setForeground(MarkColour);
    mark->setTextAlignment(Qt::AlignCenter);
    mark->setData(Qt::AccessibleTextRole, row.holiday  ? tr("Holiday")
                                          : row.marked ? tr("Marked for deletion")
                                                       : tr("Not marked"));

    QFont cellFont = m_grid->font();
    cellFont.setStrikeOut(row.marked);
    const QStringList texts = {row.picked ? QStringLiteral(" ") : QString(), row.description,
                               row.date, shownRepeat(row.repeat)};
    for (int c = IconCol; c <= RepeatCol; ++c) {
        QTableWidgetItem* it = item(c);
        it->setText(texts[c - IconCol]);
        it->setFont(cellFont);
        it->setTextAlignment((c == DescCol ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter);
        if (row.holiday)
            it->setBackground(HolidayBack);
    }
    item(IconCol)->setData(ShownRole, shownPicture(row.picture));
    item(IconCol)->setData(Qt::AccessibleTextRole,
                           row.picture.isNull() ? tr("No icon") : tr("Icon"));
    syncRows();
}

QImage EditEvents::shownPicture(const QImage& picture) const {
    if (picture.isNull())
        return {};
    // Our own holiday pictures (the default icon among them) are drawn afresh for the
    // screen's pixel ratio; any other picture shows as stored.
    static const std::array<QImage, HolidaysIL::Count> ours = [] {
        std::array<QImage, HolidaysIL::Count> raw;
        for (int k = 1; k <= HolidaysIL::Count; ++k)
            raw[size_t(k - 1)] = HolidaysIL::raw(k).convertToFormat(QImage::Format_RGB32);
        return raw;
    }();
    const QImage plain = picture.convertToFormat(QImage::Format_RGB32);
    for (int k = 1; k <= HolidaysIL::Count; ++k) {
        if (plain == ours[size_t(k - 1)]) {
            const qreal ratio = devicePixelRatioF();
            QImage drawn = HolidaysIL::drawn(k, qRound(PictureSide * ratio));
            drawn.setDevicePixelRatio(ratio);
            return drawn;
        }
    }
    return withMaskColour(picture);
}

void EditEvents::clickCell(int row, int column) {
    if (row < 0 || row >= m_edit.rowCount())
        return;
    if (m_edit.row(row).holiday) {
        QApplication::beep();
        return;
    }
    if (column == MarkCol) {
        m_edit.toggleMark(row);
        showRow(row);
        m_grid->setCurrentCell(row, MarkCol);
        return;
    }
    if (!m_edit.editable(row))
        return;
    switch (column) {
    case IconCol:
        m_edit.pickIcon(row, chooseIcon(row));
        showRow(row);
        break;
    case DescCol:
        showDescription(row);
        break;
    case DateCol:
        showDatePick(row);
        break;
    case RepeatCol:
        showRepeat(row);
        break;
    default:
        break;
    }
}

QImage EditEvents::chooseIcon(int row) {
    if (m_chooser)
        return m_chooser(*this);
    IconPicker picker(m_context.paths, m_context.dialogs, m_folders, m_edit.defaultIcon(),
                      m_edit.row(row).picture, this);
    picker.exec();
    return picker.picked();
}

void EditEvents::showDescription(int r) {
    leaveEditors();
    const QRect cell = m_grid->visualRect(m_grid->model()->index(r, DescCol));
    m_descTb->setGeometry(cell);
    {
        const QSignalBlocker quiet(m_descTb);
        m_descTb->setPlainText(m_edit.row(r).description);
    }
    m_descTb->moveCursor(QTextCursor::End);
    m_descRow = r;
    // The dictionary opens with the box; it is read once per editor.
    if (!m_spell)
        m_spell = SpellChecker::forProgram(m_context.paths);
    delete m_spelling;
    m_spelling = new SpellAsYouType(m_descTb, *m_spell);
    m_descTb->show();
    m_descTb->raise();
    m_descTb->setFocus(Qt::OtherFocusReason);
}

void EditEvents::showDatePick(int r) {
    leaveEditors();
    const QRect cell = m_grid->visualRect(m_grid->model()->index(r, DateCol))
                           .translated(m_grid->viewport()->mapTo(this, QPoint(0, 0)));
    m_dateFrame->setGeometry(datePickPlace(cell, m_dateFrame->sizeHint(), rect()));
    m_datePick->setSelectedDate(m_edit.pickerDate(r));
    m_dateRow = r;
    m_dateFrame->show();
    m_dateFrame->raise();
    m_datePick->setFocus(Qt::OtherFocusReason);
}

QRect EditEvents::datePickPlace(const QRect& cell, const QSize& size, const QRect& area) {
    // Below the cell, or ending at its top when it does not fit below; and whole inside
    // the dialog in any case, which keeps it on the screen with the dialog.
    int top = cell.bottom() + 1;
    if (top + size.height() > area.bottom() + 1)
        top = cell.top() - size.height();
    top = std::clamp(top, area.top(), std::max(area.top(), area.bottom() + 1 - size.height()));
    const int left = std::clamp(cell.left(), area.left(),
                                std::max(area.left(), area.right() + 1 - size.width()));
    return {QPoint(left, top), size};
}

void EditEvents::showRepeat(int r) {
    leaveEditors();
    const QRect cell = m_grid->visualRect(m_grid->model()->index(r, RepeatCol));
    m_repeatCb->setGeometry(cell.translated(0, RepeatDrop).adjusted(0, 0, 0, -RepeatDrop));
    m_repeatCb->setMinimumHeight(m_repeatCb->sizeHint().height());
    m_repeatCb->setCurrentIndex(
        std::max(0, int(DayEdit::RepeatItems.indexOf(m_edit.repeatChoice(r)))));
    m_repeatRow = r;
    m_repeatCb->show();
    m_repeatCb->raise();
    m_repeatCb->setFocus(Qt::OtherFocusReason);
    m_repeatCb->showPopup();
}

void EditEvents::leaveEditors() {
    closeDescription(true);
    closeDatePick(true);
    closeRepeat();
}

void EditEvents::closeDescription(bool take) {
    const int r = m_descRow;
    if (r < 0)
        return;
    // Cleared first: hiding the box moves the focus, which would come back here.
    m_descRow = -1;
    if (take) {
        QString text = m_descTb->toPlainText();
        text.replace(u'\n', u' ');
        m_edit.setDescription(r, text);
        showRow(r);
    }
    delete m_spelling;
    hideEditor(m_descTb);
}

void EditEvents::hideEditor(QWidget* editor) {
    // A hidden focus widget hands the focus on as Tab would, and in the grid Tab moves to
    // the next cell: the grid takes the focus first, so the current cell stays.
    if (editor->isAncestorOf(QApplication::focusWidget()) || editor->hasFocus())
        m_grid->setFocus(Qt::OtherFocusReason);
    editor->hide();
}

void EditEvents::closeDatePick(bool take) {
    const int r = m_dateRow;
    if (r < 0)
        return;
    m_dateRow = -1;
    if (take) {
        m_edit.setDate(r, m_datePick->selectedDate());
        showRow(r);
    }
    hideEditor(m_dateFrame);
}

void EditEvents::closeRepeat() {
    if (m_repeatRow < 0)
        return;
    m_repeatRow = -1;
    m_repeatCb->hidePopup();
    hideEditor(m_repeatCb);
}

void EditEvents::cancelEditor(QWidget* editor) {
    if (editor == m_descTb)
        closeDescription(false);
    else if (editor == m_datePick)
        closeDatePick(false);
    m_grid->setFocus(Qt::OtherFocusReason);
}

void EditEvents::datePicked(const QDate&) {
    closeDatePick(true);
    m_grid->setFocus(Qt::OtherFocusReason);
}

void EditEvents::repeatChosen(int index) {
    if (m_repeatRow < 0 || index < 0)
        return;
    m_edit.setRepeat(m_repeatRow, DayEdit::RepeatItems.value(index));
    showRow(m_repeatRow);
}

bool EditEvents::save() {
    leaveEditors();
    EventStore store = m_context.stores.get<EventStore>(); // a copy: its "now" is this save's
    store.setNow(m_context.clock.now());
    QString error;
    if (!m_edit.save(store, &error)) {
        // Nothing was written; the editor stays open so the user's changes are not lost.
        m_context.dialogs.messageBox(
            tr("%1\n\nThe calendar was left as it was; your changes stay here.")
                .arg(SaveFailures::failedText(tr("The events of this day"), store.dataFile(),
                                              error)),
            QStringLiteral("Plumora"), MessageButtons::Ok, MessageIcon::Warning);
        return false;
    }
    accept();
    return true;
}

bool EditEvents::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_descTb) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Escape) {
                cancelEditor(m_descTb);
                return true;
            }
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                // A description is one line: Enter takes it and goes back to the grid.
                closeDescription(true);
                m_grid->setFocus(Qt::OtherFocusReason);
                return true;
            }
            if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
                // Tab takes the text and moves on as it does in the grid.
                auto* tab = static_cast<QKeyEvent*>(event);
                closeDescription(true);
                m_grid->setFocus(Qt::TabFocusReason);
                QKeyEvent again(QEvent::KeyPress, tab->key(), tab->modifiers());
                QCoreApplication::sendEvent(m_grid, &again);
                return true;
            }
        } else if (event->type() == QEvent::FocusOut && !ignoredFocusLoss(event)) {
            closeDescription(true);
        }
    } else if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
               (watched == m_datePick ||
                m_datePick->isAncestorOf(static_cast<QWidget*>(watched)))) {
        cancelEditor(m_datePick);
        return true;
    } else if (watched == m_repeatCb->view() && event->type() == QEvent::KeyPress &&
               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        // Esc closes the list and its editor: the grid takes the keys again, so arrows
        // never change the repeat unseen.
        closeRepeat();
        m_grid->setFocus(Qt::OtherFocusReason);
        return true;
    } else if (watched == m_repeatCb) {
        // Opening its own list moves the focus too: only a focus that leaves for good
        // closes the editor (the click that opened it used to close it at once).
        if (event->type() == QEvent::FocusOut && !ignoredFocusLoss(event) &&
            !m_repeatCb->view()->isVisible())
            closeRepeat();
    } else if (watched == m_grid && event->type() == QEvent::KeyPress) {
        if (gridKey(static_cast<QKeyEvent*>(event)))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool EditEvents::gridKey(QKeyEvent* key) {
    const int r = m_grid->currentRow();
    const int c = m_grid->currentColumn();
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    switch (key->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        // Ctrl+Tab, and Tab past the last cell (Shift+Tab before the first), go on to the
        // buttons, as in Qt's own tables.
        const bool forward = key->key() == Qt::Key_Tab && !modifiers.testFlag(Qt::ShiftModifier);
        const bool atEnd =
            forward ? r == m_grid->rowCount() - 1 && c == RepeatCol : r <= 0 && c <= MarkCol;
        if (!modifiers.testFlag(Qt::ControlModifier) && !atEnd)
            return false;
        focusNextPrevChild(forward);
        return true;
    }
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Space or Enter on a cell acts as a click, so the grid works from the keyboard.
        clickCell(r, c);
        return true;
    default:
        break;
    }
    const QString text = key->text();
    if (text.isEmpty() || !text.at(0).isPrint() ||
        (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    // A typed character starts editing the cell with that character, as in any grid.
    typeInto(r, c, key);
    return true;
}

void EditEvents::typeInto(int r, int c, QKeyEvent* key) {
    if (r < 0 || r >= m_edit.rowCount())
        return;
    if (m_edit.row(r).holiday) {
        QApplication::beep();
        return;
    }
    if (c == MarkCol) {
        if (key->text().compare(QStringLiteral("x"), Qt::CaseInsensitive) == 0)
            clickCell(r, c);
        return;
    }
    if (!m_edit.editable(r))
        return;
    switch (c) {
    case DescCol:
        // The key replaces the cell's text, as typing over a cell does; Esc brings it back.
        showDescription(r);
        m_descTb->selectAll();
        QCoreApplication::sendEvent(m_descTb, key);
        break;
    case RepeatCol:
        // The open list goes to the entry that starts with the key.
        showRepeat(r);
        QCoreApplication::sendEvent(m_repeatCb->view(), key);
        break;
    case DateCol:
        showDatePick(r);
        break;
    default:
        break;
    }
}

void EditEvents::mousePressEvent(QMouseEvent* event) {
    leaveEditors();
    QDialog::mousePressEvent(event);
}
