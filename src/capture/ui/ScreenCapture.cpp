// SPDX-License-Identifier: GPL-3.0-or-later
#include "capture/ui/ScreenCapture.h"

#include "capture/CaptureRules.h"
#include "capture/ui/CaptureDescriptor.h"
#include "capture/ui/CapturePreview.h"
#include "capture/ui/FullScreen.h"
#include "data/ChangeHub.h"
#include "data/SaveFailures.h"
#include "platform/Dialogs.h"
#include "platform/PictureOutput.h"
#include "platform/ScreenGrabber.h"
#include "platform/WindowSystem.h"
#include "shell/ShellTables.h"
#include "shell/ui/Artwork.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int RowIdRole = Qt::UserRole;
constexpr int TitleRole = Qt::UserRole + 1; // the title as stored
constexpr int CaptureDelayMs = 500;

// The title editor stops at the longest title a capture can have.
class TitleDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->setMaxLength(CaptureRules::MaxTitleLength);
        return editor;
    }
};
} // namespace

ScreenCapture::ScreenCapture(AppContext& context, QWidget* parent)
    : ToolPage(parent), m_context(context), m_store(context.stores.get<CaptureStore>()) {
    setObjectName(QStringLiteral("SCapture"));
    setWindowTitle(tr("Screen Capture"));
    buildControls();
    m_printerInstalled = m_context.pictureOutput.hasPrinter();
    reload(0);
    setCmdVisible();
    connect(&m_context.stores.changes, &ChangeHub::changed, this, [this](const QString& table) {
        if (table != QLatin1String("SCapture"))
            return;
        m_stale = true;
        followChanges();
    });
    // A description typed while the captures changed: the list is read once it is done.
    connect(m_list->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, [this] {
        QMetaObject::invokeMethod(this, &ScreenCapture::followChanges, Qt::QueuedConnection);
    });
}

void ScreenCapture::followChanges() {
    if (!m_stale || !isVisible() || isEditingTitle())
        return;
    reload(currentRowId());
    setCmdVisible();
}

bool ScreenCapture::isEditingTitle() const {
    const QList<QLineEdit*> editors = m_list->viewport()->findChildren<QLineEdit*>();
    return std::any_of(editors.begin(), editors.end(),
                       [](const QLineEdit* e) { return e->isVisible(); });
}

void ScreenCapture::showEvent(QShowEvent* event) {
    ToolPage::showEvent(event);
    followChanges();
}

ScreenCapture::~ScreenCapture() {
    delete m_fullScreen.data();
}

void ScreenCapture::buildControls() {
    const auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    m_captureBtn = button("CaptureBtn", tr(" New Capture"));
    m_captureBtn->setIcon(Artwork::icon(&paintCaptureIcon));
    m_fsCmd = button("FSCmd", tr(" Full screen"));
    m_copyCmd = button("CopyCmd", tr("Copy to clipboard"));
    m_printCmd = button("PrintCmd", tr("Print image"));
    m_deleteCmd = button("DeleteCmd", tr("Delete image"));
    for (QPushButton* b : {m_captureBtn, m_fsCmd})
        b->setAccessibleName(b->text().trimmed());
    connect(m_captureBtn, &QPushButton::clicked, this, &ScreenCapture::newCapture);
    connect(m_fsCmd, &QPushButton::clicked, this, &ScreenCapture::viewFullScreen);
    connect(m_copyCmd, &QPushButton::clicked, this, &ScreenCapture::copyPicture);
    connect(m_printCmd, &QPushButton::clicked, this, &ScreenCapture::printPicture);
    connect(m_deleteCmd, &QPushButton::clicked, this, &ScreenCapture::deletePicture);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("DescLV"));
    m_list->setAccessibleName(tr("Captured pictures"));
    m_list->setAccessibleDescription(tr("F2 renames, Return shows full screen, Delete deletes"));
    m_list->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setTextElideMode(Qt::ElideRight);
    m_list->setFixedWidth(m_list->fontMetrics().averageCharWidth() * 30);
    m_list->installEventFilter(this);
    connect(m_list, &QListWidget::currentRowChanged, this, &ScreenCapture::showRow);
    m_list->setItemDelegate(new TitleDelegate(m_list));
    connect(m_list, &QListWidget::itemChanged, this, &ScreenCapture::titleEdited);
    // Return and a double-click (an open editor takes its own keys).
    connect(m_list, &QListWidget::activated, this, &ScreenCapture::viewFullScreen);

    m_preview = new CapturePreview(this);
    m_dragLabel = new QLabel(tr("(Drag on the image to move...)"), this);
    m_dragLabel->setObjectName(QStringLiteral("DragLb"));

    m_scTimer = new QTimer(this);
    m_scTimer->setObjectName(QStringLiteral("SCTimer"));
    m_scTimer->setInterval(CaptureDelayMs);
    m_scTimer->setSingleShot(true);
    connect(m_scTimer, &QTimer::timeout, this, &ScreenCapture::startCapture);

    auto* commands = new QHBoxLayout;
    for (QPushButton* b : {m_captureBtn, m_fsCmd, m_copyCmd, m_printCmd, m_deleteCmd})
        commands->addWidget(b);
    commands->addStretch(1);

    auto* viewing = new QVBoxLayout;
    viewing->addWidget(m_preview, 1);
    viewing->addWidget(m_dragLabel);

    auto* body = new QHBoxLayout;
    body->addWidget(m_list);
    body->addLayout(viewing, 1);

    auto* page = new QVBoxLayout(this);
    // Room at the top for the etched rule the main window draws.
    page->setContentsMargins(8, 10, 8, 8);
    page->addLayout(commands);
    page->addLayout(body, 1);

    setTabOrder(m_list, m_captureBtn);
    setTabOrder(m_captureBtn, m_fsCmd);
    setTabOrder(m_fsCmd, m_copyCmd);
    setTabOrder(m_copyCmd, m_printCmd);
    setTabOrder(m_printCmd, m_deleteCmd);
    setTabOrder(m_deleteCmd, m_preview->pane());
    setFocusProxy(m_list);
}

void ScreenCapture::activated() {
    m_printerInstalled = m_context.pictureOutput.hasPrinter();
    reload(currentRowId());
    setCmdVisible();
    m_list->setFocus();
}

void ScreenCapture::hostResized() {
    m_preview->keepInSight();
}

void ScreenCapture::setCmdVisible() {
    const CaptureRules::Commands c = CaptureRules::commands(m_list->count(), m_printerInstalled);
    m_preview->setVisible(c.imageArea);
    m_dragLabel->setVisible(c.imageArea);
    m_fsCmd->setEnabled(c.fullScreen);
    m_copyCmd->setEnabled(c.copy);
    m_deleteCmd->setEnabled(c.remove);
    m_printCmd->setEnabled(c.print);
}

FullScreen* ScreenCapture::fullScreen() const {
    return m_fullScreen;
}

qint64 ScreenCapture::currentRowId() const {
    const QListWidgetItem* item = m_list->currentItem();
    return item ? item->data(RowIdRole).toLongLong() : 0;
}

void ScreenCapture::reload(qint64 keep) {
    m_stale = false;
    std::vector<CaptureItem> items;
    if (!m_store.list(items))
        tell(tr("The screen captures cannot be read: %1").arg(m_store.lastError()));
    int chosen = int(items.size()) - 1;
    {
        const QSignalBlocker quiet(m_list);
        m_list->clear();
        for (const CaptureItem& capture : items) {
            auto* item = new QListWidgetItem(capture.title, m_list);
            item->setFlags(item->flags() | Qt::ItemIsEditable);
            item->setData(RowIdRole, capture.rowId);
            item->setData(TitleRole, capture.title);
            if (capture.rowId == keep)
                chosen = m_list->count() - 1;
        }
        m_list->setCurrentRow(chosen);
    }
    if (chosen >= 0)
        m_list->scrollToItem(m_list->item(chosen));
    showRow(chosen);
}

void ScreenCapture::showRow(int index) {
    const QListWidgetItem* item = m_list->item(index);
    const qint64 rowId = item ? item->data(RowIdRole).toLongLong() : 0;
    if (rowId == 0) {
        m_shownRow = m_freshRow = 0;
        m_freshPicture = {};
        m_preview->setPicture({});
        return;
    }
    if (rowId != m_shownRow) {
        m_shownRow = rowId;
        if (rowId == m_freshRow) {
            m_preview->setPicture(m_freshPicture);
        } else {
            m_freshRow = 0; // read from the store from now on
            m_freshPicture = {};
            const QImage picture = m_store.image(rowId);
            if (picture.isNull())
                qCWarning(lcCapture)
                    << "the picture of row" << rowId << "cannot be shown:" << m_store.lastError();
            m_preview->setPicture(picture);
        }
    }
    m_preview->placeAtMargin();
}

void ScreenCapture::titleEdited(QListWidgetItem* item) {
    const QString stored = item->data(TitleRole).toString();
    if (item->text() == stored)
        return;
    const QString typed = item->text();
    const std::optional<QString> title = CaptureRules::acceptTitle(typed);
    const bool saved = title && m_store.rename(item->data(RowIdRole).toLongLong(), *title);
    {
        const QSignalBlocker quiet(m_list);
        if (saved)
            item->setData(TitleRole, *title);
        // A description the file refused stays as typed, to be stored by the next edit.
        if (saved || !title)
            item->setText(saved ? *title : stored);
    }
    if (saved)
        return;
    // Told once the editor has closed, so the message cannot feed back into it.
    const QString problem = title
                                ? SaveFailures::failedText(tr("The description"),
                                                           m_store.dataFile(), m_store.lastError())
                                : QString();
    const QString refused =
        typed.trimmed().isEmpty() ? CaptureRules::titleEmpty() : CaptureRules::titleRefused();
    QMetaObject::invokeMethod(
        this,
        [this, problem, refused] {
            if (problem.isEmpty())
                ToolPage::tell(m_context.dialogs, refused, Message::Notice, tr("Message"));
            else
                tell(problem);
        },
        Qt::QueuedConnection);
}

bool ScreenCapture::keepForUnload(QString* failure) {
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem* item = m_list->item(row);
        const std::optional<QString> title = CaptureRules::acceptTitle(item->text());
        if (!title || *title == item->data(TitleRole).toString())
            continue;
        if (!m_store.rename(item->data(RowIdRole).toLongLong(), *title)) {
            *failure = SaveFailures::failedText(tr("The description"), m_store.dataFile(),
                                                m_store.lastError());
            return false;
        }
        item->setData(TitleRole, *title);
    }
    return true;
}

void ScreenCapture::addNewCapture(qint64 rowId, const QImage& picture) {
    m_freshRow = rowId;
    m_freshPicture = picture;
    reload(rowId);
    setCmdVisible();
    m_list->setFocus();
    if (QListWidgetItem* item = m_list->currentItem(); item && currentRowId() == rowId)
        m_list->editItem(item);
}

void ScreenCapture::newCapture() {
    if (m_capturing)
        return;
    m_capturing = true;
    // A window that is not on the screen need not be waited for to go.
    if (!window()->isVisible()) {
        startCapture();
        return;
    }
    window()->hide();
    m_scTimer->start();
}

void ScreenCapture::startCapture() {
    m_scTimer->stop();
    // The whole desktop: every monitor is frozen, so an area may cross their edges.
    QRect screen;
    for (const QRect& s : m_context.windows.screens())
        screen |= s;
    if (screen.isEmpty())
        screen = m_context.windows.screenGeometry();
    QPointer<ScreenCapture> self(this);
    m_context.grabber.grab(screen, [self, screen](const ScreenGrab& grab) {
        if (self)
            self->screenGrabbed(screen, grab);
    });
}

void ScreenCapture::screenGrabbed(const QRect& screen, const ScreenGrab& grab) {
    if (grab.image.isNull() || grab.image.width() == 0 || grab.image.height() == 0) {
        m_capturing = false;
        showMainWindow();
        QString text = tr("Plumora could not take a picture of the screen.");
        if (!grab.error.isEmpty())
            text += QStringLiteral("\n\n") + grab.error;
        tell(text);
        return;
    }
    m_fullScreen = new FullScreen(m_context.windows, FullScreen::Mode::Capture, screen, grab.image,
                                  grab.screens);
    connect(m_fullScreen, &FullScreen::finished, this, &ScreenCapture::captureFinished);
    m_fullScreen->open();
}

void ScreenCapture::captureFinished(const QImage& capture) {
    qint64 rowId = 0;
    QString problem;
    if (!capture.isNull()) {
        rowId = m_store.add(capture);
        if (rowId == 0)
            problem = SaveFailures::failedText(tr("The picture"), m_store.dataFile(),
                                               m_store.lastError());
    }
    if (m_fullScreen)
        m_fullScreen->close();
    m_capturing = false;
    showMainWindow();
    if (rowId)
        addNewCapture(rowId, capture);
    else if (!problem.isEmpty())
        tell(problem);
}

void ScreenCapture::showMainWindow() {
    QWidget* main = window();
    m_context.windows.showWindow(main, false);
    main->raise();
    main->activateWindow();
}

void ScreenCapture::viewFullScreen() {
    const QImage& picture = m_preview->picture();
    if (m_list->count() == 0 || picture.isNull() || m_fullScreen)
        return;
    m_fullScreen = new FullScreen(m_context.windows, FullScreen::Mode::View,
                                  m_context.windows.screenGeometry(), picture);
    connect(m_fullScreen, &FullScreen::viewClosed, this, [this] { m_list->setFocus(); });
    m_fullScreen->open();
}

void ScreenCapture::copyPicture() {
    if (!m_preview->picture().isNull())
        m_context.pictureOutput.copyToClipboard(m_preview->picture());
}

void ScreenCapture::printPicture() {
    const QImage& picture = m_preview->picture();
    if (picture.isNull())
        return;
    QString detail;
    switch (m_context.pictureOutput.print(window(), picture,
                                          CaptureRules::printOrientation(picture.size()), detail)) {
    case PictureOutput::Printed::Sent:
        tell(tr("The picture was sent to %1.").arg(detail), tr("Message"));
        break;
    case PictureOutput::Printed::Failed:
        tell(tr("The picture was not printed: %1").arg(detail));
        break;
    case PictureOutput::Printed::Cancelled:
        break;
    }
}

void ScreenCapture::deletePicture() {
    const int position = m_list->currentRow();
    const qint64 rowId = currentRowId();
    if (rowId == 0)
        return;
    if (m_context.dialogs.messageBox(CaptureRules::deleteQuestion(), tr("Confirm"),
                                     MessageButtons::YesNoDefaultNo,
                                     MessageIcon::Information) != MessageAnswer::Yes)
        return;
    if (!m_store.remove(rowId)) {
        tell(SaveFailures::failedText(tr("The deletion of the picture"), m_store.dataFile(),
                                      m_store.lastError()));
        return;
    }
    {
        const QSignalBlocker quiet(m_list);
        delete m_list->takeItem(position);
    }
    setCmdVisible();
    const int next = CaptureRules::selectionAfterDelete(position, m_list->count());
    {
        const QSignalBlocker quiet(m_list);
        m_list->setCurrentRow(next);
    }
    if (next >= 0)
        m_list->scrollToItem(m_list->item(next));
    showRow(next);
    m_list->setFocus();
}

bool ScreenCapture::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        deletePicture();
        return true;
    }
    return ToolPage::eventFilter(watched, event);
}

void ScreenCapture::tell(const QString& text, const QString& title) {
    ToolPage::tell(m_context.dialogs, text, Message::Failure, title);
}

ScreenCapture* CaptureTool::makePage(QWidget* parent) {
    m_page = new ScreenCapture(m_context, parent);
    return m_page;
}

QString CaptureTool::captureArea(const std::function<void()>& loadPage) {
    if (m_page && m_page->capturing())
        return {};
    loadPage();
    if (!m_page)
        return QCoreApplication::translate("CaptureTool", "Screen Capture could not be opened.");
    m_page->newCapture();
    return {};
}
