// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/ui/Calendar.h"

#include "base/Clock.h"
#include "calendar/EventRules.h"
#include "calendar/MonthNavigation.h"
#include "calendar/MonthPainter.h"
#include "calendar/MonthPlacement.h"
#include "calendar/WeekStart.h"
#include "calendar/ui/CalendarGrid.h"
#include "data/ChangeHub.h"
#include "data/Settings.h"
#include "platform/WindowSystem.h"
#include "shell/ShellTables.h"
#include "shell/ui/PopupMenuAccess.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMenu>
#include <QMetaMethod>
#include <QMimeData>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <cmath>

using MonthLayout::toPixels;
using MonthLayout::toTwips;

namespace {

int px(double twips) {
    return int(std::lround(toPixels(twips)));
}

QRect pxRect(const QRectF& twips) {
    return {px(twips.left()), px(twips.top()), px(twips.width()), px(twips.height())};
}

QSize pxSize(double widthTwips, double heightTwips) {
    return {std::max(1, px(widthTwips)), std::max(1, px(heightTwips))};
}

QImage surface(const QSize& size, qreal ratio) {
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    return image;
}

constexpr double TitleTop = 120;
constexpr double YearUdTop = 105;

} // namespace

Calendar::Calendar(AppContext& context, QWidget* parent)
    : ToolPage(parent), m_context(context), m_store(context.stores.get<EventStore>()),
      m_geometry(CalendarGeometry::initial()) {
    setObjectName(QStringLiteral("Calendar"));
    setWindowTitle(tr("Personal Calendar"));
    buildControls();
    readSettings();
    readWeekStart();
    setSelectedDate(m_context.clock.today());
    m_yearUd->setProperty("value", m_context.clock.today().year());
    applyGeometry();
    const QSizeF least = CalendarGeometry::minimumClient();
    setMinimumSize(px(least.width()), px(least.height()));
    // Events written elsewhere (the editor, the holiday update, another process) and the
    // holiday switches changed in Options show without rebuilding the window.
    connect(&context.stores.changes, &ChangeHub::changed, this, [this](const QString& table) {
        if (table == QLatin1String("Events") || table == QLatin1String("KeptEvents")) {
            m_shownUntil.reset();
            dataChanged();
        } else if (table == WeekStart::Table) {
            readWeekStart();
            dataChanged();
        }
    });
    connect(&context.stores.changes, &ChangeHub::settingsChanged, this,
            [this](const QList<Settings::Field>& fields) {
                using F = Settings::Field;
                for (F f : {F::AddHolidays, F::AddCanada, F::AddAmerica, F::SmallIcons}) {
                    if (fields.contains(f)) {
                        readSettings();
                        dataChanged();
                        return;
                    }
                }
            });
}

Calendar::~Calendar() = default;

void Calendar::dataChanged() {
    // A hidden page draws when it is shown next.
    m_drawnFirst = QDate();
    if (isVisible())
        redraw(true);
}

void Calendar::buildControls() {
    m_calFrame = new QFrame(this);
    m_calFrame->setObjectName(QStringLiteral("CalFrame"));
    m_calFrame->setFrameShape(QFrame::StyledPanel);

    m_calHeadImg = new QLabel(m_calFrame);
    m_calHeadImg->setObjectName(QStringLiteral("CalHeadImg"));
    m_calHeadImg->setAutoFillBackground(true);
    QLinearGradient shade(0, 0, 0, 1);
    shade.setCoordinateMode(QGradient::ObjectBoundingMode);
    shade.setColorAt(0, QColor(232, 240, 252));
    shade.setColorAt(1, QColor(188, 208, 238));
    QPalette headPalette = m_calHeadImg->palette();
    headPalette.setBrush(QPalette::Window, QBrush(shade));
    m_calHeadImg->setPalette(headPalette);

    for (int i = 0; i < 2; ++i) {
        auto* b = new QToolButton(m_calHeadImg);
        b->setObjectName(QStringLiteral("MonthBtn"));
        b->setProperty("index", i);
        b->setArrowType(i == 0 ? Qt::LeftArrow : Qt::RightArrow);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        const QString name = i == 0 ? tr("Previous month") : tr("Next month");
        b->setAccessibleName(name);
        b->setToolTip(i == 0 ? tr("%1 (Page Up)").arg(name) : tr("%1 (Page Down)").arg(name));
        connect(b, &QToolButton::clicked, this, [this, i] {
            take(MonthNavigation::monthButton(selectedDate(), i == 1, m_context.clock.today()));
        });
        m_monthButtons[i] = b;
    }

    m_title = new QLabel(m_calHeadImg);
    m_title->setObjectName(QStringLiteral("MnYrLb"));
    m_title->setProperty("tag", 0);
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    m_title->setFont(titleFont);

    m_yearUd = new QWidget(m_calHeadImg);
    m_yearUd->setObjectName(QStringLiteral("YearUd"));
    auto* udLayout = new QVBoxLayout(m_yearUd);
    udLayout->setContentsMargins(0, 0, 0, 0);
    udLayout->setSpacing(0);
    for (int step : {1, -1}) {
        auto* b = new QToolButton(m_yearUd);
        b->setObjectName(step > 0 ? QStringLiteral("YearUdUp") : QStringLiteral("YearUdDown"));
        b->setArrowType(step > 0 ? Qt::UpArrow : Qt::DownArrow);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(px(240), px(195));
        const QString name = step > 0 ? tr("Next year") : tr("Previous year");
        b->setAccessibleName(name);
        b->setToolTip(step > 0 ? tr("%1 (Ctrl+Page Down)").arg(name)
                               : tr("%1 (Ctrl+Page Up)").arg(name));
        udLayout->addWidget(b);
        connect(b, &QToolButton::clicked, this,
                [this, step] { take(MonthNavigation::yearButton(selectedDate(), step)); });
    }
    m_yearUd->resize(px(240), px(390));

    m_weekdays = new QLabel(m_calFrame);
    m_weekdays->setObjectName(QStringLiteral("WkDayPic"));
    m_weekdays->setAccessibleName(tr("Days of the week"));

    m_grid = new CalendarGrid(m_calFrame);
    m_grid->setProperty("tag", 0);
    m_grid->setToolTip(QString());
    connect(m_grid, &CalendarGrid::pressed, this, &Calendar::gridPressed);
    connect(m_grid, &CalendarGrid::moved, this, &Calendar::gridMoved);
    connect(m_grid, &CalendarGrid::doubleClicked, this, &Calendar::editEvents);
    connect(m_grid, &CalendarGrid::keyPressed, this, &Calendar::gridKey);
    m_calHeadImg->setAccessibleName(tr("Month and year"));

    m_tooltip = new QLabel(this);
    m_tooltip->setObjectName(QStringLiteral("ToolTipLb"));
    m_tooltip->setWordWrap(true);
    // Event texts are the user's own or downloaded: never read as markup.
    m_tooltip->setTextFormat(Qt::PlainText);
    m_tooltip->setAutoFillBackground(true);
    m_tooltip->setFrameShape(QFrame::Box);
    m_tooltip->setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette tipPalette = m_tooltip->palette();
    tipPalette.setColor(QPalette::Window, QColor(255, 255, 214));
    tipPalette.setColor(QPalette::WindowText, Qt::black);
    m_tooltip->setPalette(tipPalette);
    m_tooltip->hide();

    m_cmdFrame = new QFrame(this);
    m_cmdFrame->setObjectName(QStringLiteral("CmdFrame"));
    m_cmdFrame->setFrameShape(QFrame::StyledPanel);
    m_searchLabel = new QLabel(tr("Search Events:"), m_cmdFrame);
    m_searchLabel->setObjectName(QStringLiteral("SearchLb"));
    m_searchTb = new QLineEdit(m_cmdFrame);
    m_searchTb->setObjectName(QStringLiteral("SearchTb"));
    m_searchTb->setAccessibleName(tr("Search Events"));
    m_searchLabel->setBuddy(m_searchTb);
    const auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, m_cmdFrame);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    m_findCmd = button("FindCmd", tr("Find Next"));
    m_findCmd->setEnabled(false);
    m_editCmd = button("EditCmd", tr("Edit Events..."));
    m_exportCmd = button("ExportCmd", tr("Export Events"));
    m_todayCmd = button("TodayCmd", tr("Go Today"));
    connect(m_searchTb, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_findCmd->setEnabled(!text.isEmpty()); });
    connect(m_searchTb, &QLineEdit::returnPressed, this, [this] {
        m_findCmd->setFocus();
        findNext();
    });
    connect(m_findCmd, &QPushButton::clicked, this, &Calendar::findNext);
    connect(m_editCmd, &QPushButton::clicked, this, &Calendar::editEvents);
    connect(m_exportCmd, &QPushButton::clicked, this, &Calendar::exportEvents);
    connect(m_todayCmd, &QPushButton::clicked, this,
            [this] { take(MonthNavigation::goToday(m_context.clock.today())); });

    // The selected date lives in a month calendar that is never shown.
    m_monthCal = new QCalendarWidget(this);
    m_monthCal->setObjectName(QStringLiteral("MonthCal"));
    m_monthCal->setDateRange(EventRules::EarliestDate, EventRules::LatestDate);
    m_monthCal->move(-10000, -10000);
    m_monthCal->hide();
    connect(m_monthCal, &QCalendarWidget::selectionChanged, this, [this] { redraw(false); });

    const auto hidden = [this](const char* name) {
        auto* box = new QCheckBox(this);
        box->setObjectName(QLatin1String(name));
        box->hide();
        return box;
    };
    m_addH = hidden("AddH");
    m_addC = hidden("AddC");
    m_addA = hidden("AddA");
    m_smIco = hidden("SmIco");

    m_refreshTimer = new QTimer(this);
    m_refreshTimer->setObjectName(QStringLiteral("RefreshTimer"));
    m_refreshTimer->setInterval(500);
    connect(m_refreshTimer, &QTimer::timeout, this, &Calendar::layOutNow);

    m_exportMenu = new QMenu(tr("Export"), this);
    m_exportMenu->setObjectName(QStringLiteral("ExportMenu"));
    const QStringList ranges{tr("Selected date"), tr("Coming 7 days"), tr("Selected month")};
    for (int i = 0; i < ranges.size(); ++i) {
        QAction* a = m_exportMenu->addAction(ranges[i]);
        a->setObjectName(QStringLiteral("OptMenu"));
        a->setData(i + 1);
        connect(a, &QAction::triggered, this, [this, i] { Q_EMIT exportRequested(i + 1); });
    }
    m_exportMenu->addSeparator();
    const auto item = [this](QMenu* menu, const QString& caption, const char* name,
                             void (Calendar::*request)()) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, request);
    };
    item(m_exportMenu, tr("iCalendar file (.ics)..."), "IcsExportMenu",
         &Calendar::icsExportRequested);
    item(m_exportMenu, tr("Import iCalendar file..."), "IcsImportMenu",
         &Calendar::icsImportRequested);
    item(m_exportMenu, tr("Subscribe to a calendar..."), "SubscribeMenu",
         &Calendar::subscribeRequested);
    PopupMenuAccess::attach(this, m_exportMenu);

    // Importing and subscribing have a place of their own in the menu bar.
    m_pageMenu = new QMenu(tr("&Calendar"), this);
    m_pageMenu->setObjectName(QStringLiteral("CalendarMenu"));
    QAction* edit = m_pageMenu->addAction(tr("&Edit Events..."));
    edit->setObjectName(QStringLiteral("CalEditMenu"));
    connect(edit, &QAction::triggered, this, &Calendar::editEvents);
    m_pageMenu->addSeparator();
    item(m_pageMenu, tr("&Import iCalendar File..."), "CalImportMenu",
         &Calendar::icsImportRequested);
    item(m_pageMenu, tr("&Subscribe to a Calendar..."), "CalSubscribeMenu",
         &Calendar::subscribeRequested);
    item(m_pageMenu, tr("E&xport to an iCalendar File..."), "CalExportMenu",
         &Calendar::icsExportRequested);
    setAcceptDrops(true);
}

// The local .ics files among dropped URLs.
static QStringList icsFiles(const QMimeData* data) {
    QStringList files;
    if (!data)
        return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() &&
            url.toLocalFile().endsWith(QLatin1String(".ics"), Qt::CaseInsensitive))
            files << url.toLocalFile();
    return files;
}

bool Calendar::dropsTaken() const {
    return isSignalConnected(QMetaMethod::fromSignal(&Calendar::icsDropped));
}

void Calendar::dragEnterEvent(QDragEnterEvent* event) {
    if (dropsTaken() && !icsFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Calendar::dropEvent(QDropEvent* event) {
    const QStringList files = icsFiles(event->mimeData());
    if (files.isEmpty() || !dropsTaken())
        return;
    event->acceptProposedAction();
    Q_EMIT icsDropped(files);
}

void Calendar::readSettings() {
    const std::optional<Settings> s = m_context.stores.settings.load();
    if (!s)
        return; // an unreadable file shows no holidays and large icons
    m_addH->setChecked(s->addHolidays);
    m_addC->setChecked(s->addCanada);
    m_addA->setChecked(s->addAmerica);
    m_smIco->setChecked(s->smallIcons != 0);
}

void Calendar::readWeekStart() {
    m_weekStart = WeekStart::firstDay(WeekStart::read(m_context.paths.dataFile()));
}

HolidayFlags Calendar::holidayFlags() const {
    return {m_addH->isChecked(), m_addC->isChecked(), m_addA->isChecked()};
}

bool Calendar::smallIcons() const {
    return m_smIco->isChecked();
}

QDate Calendar::selectedDate() const {
    return m_monthCal->selectedDate();
}

void Calendar::setSelectedDate(const QDate& date) {
    // Only the user's own picks in MonthCal redraw by themselves.
    const QSignalBlocker block(m_monthCal);
    m_monthCal->setSelectedDate(qBound(EventRules::EarliestDate, date, EventRules::LatestDate));
    m_yearUd->setProperty("value", selectedDate().year());
}

void Calendar::applyGeometry() {
    const CalendarGeometry& g = m_geometry;
    m_calFrame->setGeometry(pxRect(g.calFrame));
    m_cmdFrame->setGeometry(pxRect(g.cmdFrame));
    m_calHeadImg->setGeometry(pxRect(g.calHeadImg));
    m_monthButtons[0]->setGeometry(pxRect(g.monthPrev));
    m_monthButtons[1]->setGeometry(pxRect(g.monthNext));
    m_weekdays->setGeometry(pxRect(g.wkDayPic));
    m_grid->setGeometry(pxRect(g.calPic));
    m_searchLabel->setGeometry(pxRect(g.searchLb));
    m_searchTb->setGeometry(pxRect(g.searchTb));
    m_findCmd->setGeometry(pxRect(g.findCmd));
    m_editCmd->setGeometry(pxRect(g.editCmd));
    m_exportCmd->setGeometry(pxRect(g.exportCmd));
    m_todayCmd->setGeometry(pxRect(g.todayCmd));
}

void Calendar::layOutNow() {
    m_refreshTimer->stop();
    m_geometry.layOut(toTwips(width()), toTwips(height()));
    applyGeometry();
    redraw(true);
}

void Calendar::activated() {
    m_refreshTimer->start();
}

void Calendar::hostResized() {
    m_refreshTimer->start();
}

void Calendar::redraw(bool force) {
    const QDate selected = selectedDate();
    const QDate first = EventRules::firstVisibleDay(selected, m_weekStart);
    const double W = m_geometry.calPic.width();
    const double H = m_geometry.calPic.height();

    const int cell = int(first.daysTo(selected));
    m_grid->setSelection(MonthLayout::selectionRect(cell, W, H));
    m_grid->setProperty("tag", cell);

    // The drawn grid is known by its first day, not by the month number alone: January of
    // another year must be drawn again too.
    if (!force && first == m_drawnFirst) {
        describeSelection();
        return;
    }

    const QDate last = first.addDays(MonthLayout::Cells - 1);
    MonthPainter::MonthScene scene;
    scene.first = first;
    scene.month = selected.month();
    scene.flags = holidayFlags();
    scene.smallIcons = smallIcons();
    scene.today = m_context.clock.today();
    if (!m_shownUntil)
        m_shownUntil = m_store.shownWithinWindow();
    scene.shownUntil = &*m_shownUntil;
    // The rows live only for this drawing; the window keeps just the tooltip list. Of the
    // thousands a month can fetch, only those a drawing can show are kept, and only those
    // drawn need their text and picture read.
    MonthPlacement placement(first, selected.month(), scene.flags, scene.smallIcons, W, H);
    const bool read = m_store.readMonthDrawn(
        first, last, selected.month(),
        scene.smallIcons ? EventStore::Pictures::Small : EventStore::Pictures::Large,
        [&](const EventRow& row) { return placement.add(row); },
        [&] { return placement.drawnRows(); });
    placement.fill(scene);
    // A failed read draws no events.
    if (!read)
        scene.occurrences.clear();
    m_tooltip->hide();
    m_tooltipKey = 0;

    const qreal ratio = devicePixelRatioF();
    QImage strip =
        surface(pxSize(m_geometry.wkDayPic.width(), m_geometry.wkDayPic.height()), ratio);
    MonthPainter::paintWeekdays(strip, m_geometry.wkDayPic.width(), first, font(),
                                WeekStart::timeLocale());
    m_weekdays->setPixmap(QPixmap::fromImage(strip));

    QImage grid = surface(pxSize(W, H), ratio);
    m_tooltips = MonthPainter::paintGrid(grid, W, H, scene, m_icons, font());
    m_grid->setImage(std::move(grid));

    m_title->setText(MonthNavigation::title(selected, WeekStart::timeLocale()));
    m_title->setProperty("tag", selected.month());
    placeTitle();
    m_drawnFirst = first;
    describeSelection();
}

void Calendar::describeSelection() {
    // A screen reader hears the selected day and its events, as the tooltip lists them.
    const QDate selected = selectedDate();
    m_grid->setAccessibleName(MonthNavigation::dayName(selected, WeekStart::timeLocale()));
    m_grid->setAccessibleDescription(MonthNavigation::eventsText(m_tooltips, selected));
}

void Calendar::placeTitle() {
    m_title->adjustSize();
    const double titleWidth = toTwips(m_title->width());
    const double left = MonthLayout::titleLeft(m_geometry.calHeadImg.width(), titleWidth);
    m_title->move(px(left), px(TitleTop));
    m_yearUd->move(px(MonthLayout::yearUpDownLeft(left, titleWidth)), px(YearUdTop));
}

void Calendar::go(const QDate& date, bool force) {
    setSelectedDate(date);
    redraw(force);
}

void Calendar::take(const MonthNavigation::Step& step) {
    switch (step.kind) {
    case MonthNavigation::Step::Kind::Stay:
        return;
    case MonthNavigation::Step::Kind::Select:
        return go(step.date, step.redrawAll);
    case MonthNavigation::Step::Kind::Edit:
        return editEvents();
    }
}

void Calendar::editEvents() {
    if (!isSignalConnected(QMetaMethod::fromSignal(&Calendar::editEventsRequested)))
        return;
    Q_EMIT editEventsRequested();
    redraw(true);
}

void Calendar::exportEvents() {
    m_exportMenu->popup(m_context.windows.cursorPos());
}

void Calendar::findNext() {
    Q_EMIT findNextRequested(m_searchTb->text());
}

void Calendar::gridKey(int key, Qt::KeyboardModifiers modifiers) {
    take(MonthNavigation::key(selectedDate(), key, modifiers, m_context.clock.today()));
}

void Calendar::gridPressed(const QPointF& twips) {
    const int cell = MonthLayout::cellAt(twips.x(), twips.y(), m_geometry.calPic.width(),
                                         m_geometry.calPic.height());
    take(MonthNavigation::press(selectedDate(), cell, m_grid->property("tag").toInt()));
}

void Calendar::gridMoved(const QPointF& twips) {
    const double W = m_geometry.calPic.width();
    const double H = m_geometry.calPic.height();
    if (MonthLayout::nearEdge(twips.x(), twips.y(), W, H)) {
        m_tooltip->hide();
        m_tooltipKey = 0;
        return;
    }
    const int cell = MonthLayout::cellAt(twips.x(), twips.y(), W, H);
    const QDate pointed = EventRules::firstVisibleDay(selectedDate(), m_weekStart).addDays(cell);
    // Remembered by month and day, so the 30th of the next month gets its own tooltip.
    const int key = MonthLayout::tooltipKey(pointed);
    if (key != m_tooltipKey) {
        m_tooltipKey = key;
        int longest = 0;
        const QString text = MonthLayout::tooltipText(m_tooltips, key, &longest);
        m_tooltip->setText(text);
        m_tooltipWidth = MonthLayout::tooltipWidth(longest);
        m_tooltip->setVisible(!text.isEmpty());
    }
    if (m_tooltip->isHidden())
        return;
    const int widthPx = px(m_tooltipWidth);
    const int heightPx = m_tooltip->heightForWidth(widthPx);
    const double top = MonthLayout::tooltipTop(twips.y(), H, toTwips(heightPx));
    const QPoint at = m_grid->mapTo(this, QPoint(px(twips.x()), px(top)));
    m_tooltip->setGeometry(at.x(), at.y(), widthPx, heightPx);
    m_tooltip->raise();
}

void Calendar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_refreshTimer->start();
}

void Calendar::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_grid->setFocus(Qt::ActiveWindowFocusReason);
}

void Calendar::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_grid->setFocus(Qt::OtherFocusReason);
}
