// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/ui/IconPicker.h"

#include "data/PlainText.h"
#include "shell/Twips.h"

#include "calendar/EventIcons.h"
#include "calendar/icons/IconPickRules.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>

namespace {

using namespace IconPickRules;

constexpr int PictureRole = Qt::UserRole;   // as picked: opaque on the mask colour
constexpr int ShownRole = Qt::UserRole + 1; // as shown: the mask colour see-through
constexpr int MarginTwips = 120;
constexpr int GridHeightTwips = VisibleRows * CellTwips + 60;
constexpr int ButtonHeightTwips = 375;
constexpr int FileBtnWidthTwips = 1335;
constexpr int CancelWidthTwips = CancelInsetTwips + MarginTwips;

int px(int twips) {
    return Twips::toPixels(twips);
}

// A button's width: `twips`, or more when its caption needs more to be read whole.
int fitWidth(const QPushButton* button, int twips) {
    const int caption = button->fontMetrics().horizontalAdvance(button->text().remove(u'&'));
    return std::max(px(twips), caption + button->style()->pixelMetric(QStyle::PM_ButtonMargin) +
                                   2 * button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth));
}

QString chooseWithDialog(QWidget* parent, const QString& title, const QString& folder,
                         const QString& filter) {
    QFileDialog dialog(parent, title, folder, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

// Draws a cell's icon centred, its mask colour see-through, scaled smoothly on a dense
// screen; the icon under the mouse stands on a light highlight.
class IconPickerDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QPersistentModelIndex hovered; // the cell under the mouse

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyle* style = option.widget ? option.widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &option, painter, option.widget);
        const QImage picture = index.data(ShownRole).value<QImage>();
        if (picture.isNull())
            return;
        const QRect r = option.rect;
        if (index == hovered) {
            QColor light = option.palette.color(QPalette::Highlight);
            painter->setPen(light);
            light.setAlpha(60);
            painter->setBrush(light);
            painter->drawRoundedRect(QRectF(r).adjusted(1.5, 1.5, -1.5, -1.5), 3, 3);
        }
        const QRect target(r.x() + (r.width() - picture.width()) / 2,
                           r.y() + (r.height() - picture.height()) / 2, picture.width(),
                           picture.height());
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(target, picture);
    }
};

const char IconPicker::DialogTitle[] =
    QT_TRANSLATE_NOOP("IconPicker", "Please select an icon file:");
// Linux file names keep their case, so both spellings of each extension are offered.
const char IconPicker::FileFilter[] =
    QT_TRANSLATE_NOOP("IconPicker", "Icon Files (*.ico *.icl *.dll *.exe *.ICO *.ICL *.DLL *.EXE)");

IconPicker::IconPicker(const AppPaths& paths, Dialogs& dialogs, IconFolderMemory& folders,
                       const QImage& defaultIcon, const QImage& current, QWidget* parent)
    : QDialog(parent), m_paths(paths), m_dialogs(dialogs), m_folders(folders),
      m_defaultIcon(defaultIcon), m_current(current), m_chooser(chooseWithDialog),
      m_grid(new QTableWidget(this)), m_fileBtn(new QPushButton(tr(" Icon Files"), this)),
      m_cancelBtn(new QPushButton(tr("Cancel"), this)) {
    setObjectName(QStringLiteral("IcoPick"));
    setWindowTitle(tr("Select Icon"));
    setModal(true);

    m_grid->setObjectName(QStringLiteral("IconGrid"));
    m_grid->setColumnCount(Columns);
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setMinimumSectionSize(1);
    m_grid->verticalHeader()->setMinimumSectionSize(1);
    m_grid->horizontalHeader()->setDefaultSectionSize(px(CellTwips));
    m_grid->verticalHeader()->setDefaultSectionSize(px(CellTwips));
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_delegate = new IconPickerDelegate(m_grid);
    m_grid->setItemDelegate(m_delegate);
    m_grid->setAccessibleName(tr("Icons"));
    m_grid->setMouseTracking(true);
    m_grid->viewport()->installEventFilter(this);
    connect(m_grid, &QTableWidget::cellClicked, this, &IconPicker::pick);
    connect(m_grid, &QTableWidget::cellActivated, this, &IconPicker::pick);

    m_fileBtn->setObjectName(QStringLiteral("FileBtn"));
    m_cancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    m_fileBtn->setAutoDefault(false);
    m_cancelBtn->setAutoDefault(false);
    connect(m_fileBtn, &QPushButton::clicked, this, &IconPicker::chooseFile);
    connect(m_cancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    loadIcons();
}

void IconPicker::loadIcons() {
    m_grid->clearContents();
    m_grid->setRowCount(0);
    const Loaded loaded = IconPickRules::loadIcons(m_fileName, m_paths);
    if (loaded.notFound)
        m_dialogs.messageBox(tr("Icons not found, default library will be used."), tr("Message"),
                             MessageButtons::Ok, MessageIcon::Information);
    m_fileName = loaded.fileName;
    m_count = int(loaded.pictures.size());
    const int rows = rowCount(m_count);
    m_grid->setRowCount(rows);
    layOut(rows);
    for (int k = 0; k < m_count; ++k) {
        auto* item = new QTableWidgetItem;
        item->setData(PictureRole, loaded.pictures.at(k));
        item->setData(ShownRole, withMaskColour(loaded.pictures.at(k)));
        item->setTextAlignment(Qt::AlignCenter);
        // Names come from the file: shown as written, never as markup.
        item->setData(Qt::ToolTipRole, asRichText(loaded.names.value(k)));
        item->setData(Qt::AccessibleTextRole, loaded.names.value(k));
        const QPoint cell = cellOf(k);
        m_grid->setItem(cell.y(), cell.x(), item);
    }
    if (rows > 0) {
        // It opens on the event's own icon when this file has it.
        const QPoint start = cellOf(startIndex(loaded, m_current, m_defaultIcon));
        m_grid->setCurrentCell(start.y(), start.x());
        m_grid->scrollToItem(m_grid->item(start.y(), start.x()));
    }
    m_grid->setFocus();
}

void IconPicker::layOut(int rows) {
    const int gridWidth = gridWidthTwips(rows);
    m_grid->setGeometry(px(MarginTwips), px(MarginTwips), px(gridWidth), px(GridHeightTwips));
    m_grid->setVerticalScrollBarPolicy(rows > VisibleRows ? Qt::ScrollBarAlwaysOn
                                                          : Qt::ScrollBarAlwaysOff);
    const int buttonTop = MarginTwips * 2 + GridHeightTwips;
    m_fileBtn->setGeometry(px(MarginTwips), px(buttonTop), fitWidth(m_fileBtn, FileBtnWidthTwips),
                           px(ButtonHeightTwips));
    const int cancelLeft = px(cancelLeftTwips(gridWidth));
    const int cancelWidth = fitWidth(m_cancelBtn, CancelWidthTwips);
    m_cancelBtn->setGeometry(cancelLeft, px(buttonTop), cancelWidth, px(ButtonHeightTwips));
    // A caption longer than its button's usual width widens the button, and the window with it.
    const int width = px(gridWidth + 2 * MarginTwips) + cancelWidth - px(CancelWidthTwips);
    setFixedSize(width, px(buttonTop + ButtonHeightTwips + MarginTwips));
}

void IconPicker::chooseFile() {
    const QString file =
        m_chooser(this, tr(DialogTitle), m_folders.initialFolder(m_paths), tr(FileFilter));
    if (file.isEmpty())
        return;
    m_folders.remember(file);
    m_fileName = file;
    loadIcons();
}

QModelIndex IconPicker::hoveredCell() const {
    return m_delegate->hovered;
}

bool IconPicker::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid->viewport() &&
        (event->type() == QEvent::MouseMove || event->type() == QEvent::Leave)) {
        QModelIndex under;
        if (event->type() == QEvent::MouseMove) {
            under = m_grid->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
            if (!m_grid->item(under.row(), under.column()))
                under = {};
        }
        if (under != m_delegate->hovered) {
            m_delegate->hovered = under;
            m_grid->viewport()->update();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void IconPicker::pick(int row, int column) {
    const QTableWidgetItem* item = m_grid->item(row, column);
    if (!item)
        return;
    const QImage clicked = item->data(PictureRole).value<QImage>();
    if (clicked.isNull())
        return;
    const int k = row * Columns + column;
    m_picked = pickedPicture(k, isDefaultLibrary(m_fileName, m_paths), clicked, m_defaultIcon);
    accept();
}
