// SPDX-License-Identifier: GPL-3.0-or-later
#include "wallpaper/ui/WallpaperChanger.h"

#include "base/Clock.h"
#include "data/ChangeHub.h"
#include "data/SaveFailures.h"
#include "data/Settings.h"
#include "platform/DesktopShell.h"
#include "platform/Dialogs.h"
#include "shell/ShellTables.h"
#include "shell/Twips.h"
#include "shell/WebSite.h"
#include "shell/ui/ReloadBar.h"
#include "wallpaper/DesktopWallpaper.h"
#include "wallpaper/WallpaperChange.h"
#include "wallpaper/WallpaperLog.h"
#include "wallpaper/WallpaperStore.h"
#include "wallpaper/ui/WallpaperFilesDialog.h"
#include "wallpaper/ui/WallpaperPreview.h"

#include <QApplication>
#include <QCheckBox>
#include <QEnterEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

constexpr int FolderRole = Qt::UserRole;

// A web link that can also be reached with Tab and pressed with Space: drawn as link
// text, underlined while the pointer is over it or it has the focus.
class LinkButton final : public QPushButton {
public:
    LinkButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
        setFlat(true);
        setCursor(Qt::PointingHandCursor);
        setAutoDefault(false);
        QPalette p = palette();
        p.setColor(QPalette::ButtonText, p.color(QPalette::Link));
        setPalette(p);
    }

protected:
    void enterEvent(QEnterEvent* event) override {
        underline(true);
        QPushButton::enterEvent(event);
    }
    void leaveEvent(QEvent* event) override {
        underline(hasFocus());
        QPushButton::leaveEvent(event);
    }
    void focusInEvent(QFocusEvent* event) override {
        underline(true);
        QPushButton::focusInEvent(event);
    }
    void focusOutEvent(QFocusEvent* event) override {
        underline(underMouse());
        QPushButton::focusOutEvent(event);
    }

private:
    void underline(bool on) {
        QFont f = font();
        f.setUnderline(on);
        setFont(f);
    }
};

QPushButton* button(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAccessibleName(caption);
    b->setAutoDefault(false);
    return b;
}

} // namespace

WallpaperChanger::WallpaperChanger(AppContext& context, QWidget* parent)
    : ToolPage(parent), m_context(context) {
    setObjectName(QStringLiteral("SSWP"));
    setWindowTitle(tr("Wallpaper Changer"));
    buildControls();
    load();
    // Every write is heard, the page's own too: those leave the table as the page knows it.
    connect(&context.stores.changes, &ChangeHub::changed, this, [this](const QString& table) {
        if (table == QLatin1String("WPaper"))
            listChanged();
    });
    connect(&context.stores.changes, &ChangeHub::settingsChanged, this,
            [this](const QList<Settings::Field>& fields) {
                if (!fields.contains(Settings::Field::WallpaperOption) &&
                    !fields.contains(Settings::Field::CurrentWallpaper))
                    return;
                const QString shown = m_currentWallpaper;
                readSettings();
                if (m_currentWallpaper != shown)
                    selectCurrentWallpaper();
            });
}

void WallpaperChanger::listChanged() {
    const std::optional<QStringList> files = m_context.stores.get<WallpaperStore>().files();
    if (!files) {
        qCWarning(lcWallpaper) << "the changed wallpaper list could not be read";
        return;
    }
    if (*files == m_storedList) {
        m_reloadBar->hide();
        return;
    }
    if (m_changed) {
        m_reloadBar->offer();
        return;
    }
    reloadList();
}

void WallpaperChanger::reloadList() {
    m_reloadBar->hide();
    m_changed = false;
    m_imageList->clear();
    load();
}

void WallpaperChanger::buildControls() {
    // The controls keep their size, centred in whatever room the main window gives; a
    // window too small for them scrolls instead of squeezing them together.
    auto* outer = new QScrollArea(this);
    outer->setObjectName(QStringLiteral("WpFrame"));
    outer->setFrameShape(QFrame::StyledPanel);
    outer->setWidgetResizable(true);
    outer->setFocusPolicy(Qt::NoFocus);
    auto* page = new QVBoxLayout(this);
    const int margin = Twips::toPixels(255);
    page->setContentsMargins(margin, margin, margin, margin);
    m_reloadBar = new ReloadBar(
        tr("The list of images was changed elsewhere. Your additions and removals here are kept; "
           "Reload shows the list as stored now and drops them."),
        this);
    connect(m_reloadBar, &ReloadBar::reloadChosen, this, &WallpaperChanger::reloadList);
    page->addWidget(m_reloadBar);
    page->addWidget(outer);

    auto* room = new QWidget;
    auto* inner = new QWidget(room);
    inner->setObjectName(QStringLiteral("WpInner"));
    auto* centring = new QGridLayout(room);
    centring->addWidget(inner, 1, 1);
    centring->setRowStretch(0, 1);
    centring->setRowStretch(2, 1);
    centring->setColumnStretch(0, 1);
    centring->setColumnStretch(2, 1);

    m_imageList = new QListWidget(inner);
    m_imageList->setObjectName(QStringLiteral("ImageList"));
    m_imageList->setAccessibleName(tr("Images in the rotation"));
    m_imageList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_imageList->setMinimumWidth(200);
    m_imageList->installEventFilter(this);
    connect(m_imageList, &QListWidget::itemSelectionChanged, this,
            &WallpaperChanger::updatePreview);

    auto* previewLabel = new QLabel(tr("Picture Preview"), inner);
    previewLabel->setObjectName(QStringLiteral("PreviewLb"));
    m_preview = new WallpaperPreview(inner);

    m_addCmd = button(QStringLiteral("AddCmd"), tr("Add images"), inner);
    connect(m_addCmd, &QPushButton::clicked, this, &WallpaperChanger::addImages);
    m_removeCmd = button(QStringLiteral("RemoveCmd"), tr("Remove image"), inner);
    connect(m_removeCmd, &QPushButton::clicked, this, &WallpaperChanger::removeImage);

    auto* optionFrame = new QGroupBox(tr("Change wallpaper"), inner);
    optionFrame->setObjectName(QStringLiteral("WallOptFrame"));
    auto* optionLayout = new QVBoxLayout(optionFrame);
    const QString captions[] = {tr("Every week"), tr("Everyday"), tr("Every Startup"), tr("Never")};
    for (int i = 0; i < 4; ++i) {
        auto* option = new QRadioButton(captions[i], optionFrame);
        option->setObjectName(QStringLiteral("WallOpt"));
        option->setProperty("index", i);
        option->setAccessibleName(tr("Change wallpaper: %1").arg(captions[i]));
        connect(option, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optionChosen(i);
        });
        optionLayout->addWidget(option);
        m_options[std::size_t(i)] = option;
    }

    m_stretchChk = new QCheckBox(tr("Stretch Full Screen"), inner);
    m_stretchChk->setObjectName(QStringLiteral("StretchChk"));
    m_stretchChk->setAccessibleName(tr("Stretch Full Screen"));
    connect(m_stretchChk, &QCheckBox::toggled, this, &WallpaperChanger::stretchToggled);

    m_changeNowCmd = button(QStringLiteral("ChgNowCmd"), tr("Change now!"), inner);
    connect(m_changeNowCmd, &QPushButton::clicked, this, &WallpaperChanger::changeNow);

    m_downloadLb = new LinkButton(tr("Download wallpapers..."), inner);
    m_downloadLb->setObjectName(QStringLiteral("downloadLb"));
    m_downloadLb->setAccessibleName(tr("Download wallpapers..."));
    m_downloadLb->setAccessibleDescription(tr("Opens the web page with wallpapers to download"));
    connect(m_downloadLb, &QPushButton::clicked, this, &WallpaperChanger::openDownloadPage);

    auto* listButtons = new QHBoxLayout;
    listButtons->setSpacing(6);
    listButtons->addWidget(m_addCmd);
    listButtons->addWidget(m_removeCmd);

    auto* grid = new QGridLayout(inner);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(16);
    grid->addWidget(previewLabel, 0, 1, Qt::AlignHCenter | Qt::AlignBottom);
    grid->addWidget(m_imageList, 1, 0);
    grid->addWidget(m_preview, 1, 1, Qt::AlignCenter);
    grid->addWidget(optionFrame, 1, 2, Qt::AlignTop);
    grid->addLayout(listButtons, 2, 0);
    grid->addWidget(m_changeNowCmd, 2, 1, Qt::AlignHCenter);
    grid->addWidget(m_stretchChk, 2, 2);
    grid->addWidget(m_downloadLb, 3, 2, Qt::AlignLeft);

    outer->setWidget(room);

    setTabOrder(m_imageList, m_addCmd);
    setTabOrder(m_addCmd, m_removeCmd);
    setTabOrder(m_removeCmd, m_changeNowCmd);
    setTabOrder(m_changeNowCmd, m_options[0]);
    setTabOrder(m_options[3], m_stretchChk);
    setTabOrder(m_stretchChk, m_downloadLb);
}

void WallpaperChanger::load() {
    m_loading = true;
    m_stretchChk->setChecked(WallpaperChange::isStretched(m_context.registry));
    const bool settingsRead = readSettings();

    WallpaperStore& store = m_context.stores.get<WallpaperStore>();
    const std::optional<QStringList> files = store.files();
    m_storedList = files.value_or(QStringList());
    for (const QString& path : std::as_const(m_storedList)) {
        const WallpaperFiles::Parts parts = WallpaperFiles::split(path);
        addRow(parts.folder, parts.name);
    }
    selectCurrentWallpaper();
    m_loading = false;
    if (!settingsRead || !files)
        tell(tr("The wallpaper settings could not be read from the data file."));
}

bool WallpaperChanger::readSettings() {
    const QScopedValueRollback loading(m_loading, true);
    const std::optional<Settings> settings = m_context.stores.settings.load();
    const int option = settings ? settings->wallpaperOption : 3;
    if (option >= 0 && option < int(m_options.size()))
        m_options[std::size_t(option)]->setChecked(true);
    m_currentWallpaper = settings ? settings->currentWallpaper : QString();
    return settings.has_value();
}

void WallpaperChanger::addRow(const QString& folder, const QString& name) {
    auto* item = new QListWidgetItem(name, m_imageList);
    item->setData(FolderRole, folder);
    item->setToolTip(WallpaperFiles::join(folder, name));
}

QString WallpaperChanger::pathAt(int row) const {
    const QListWidgetItem* item = m_imageList->item(row);
    return item ? WallpaperFiles::join(item->data(FolderRole).toString(), item->text()) : QString();
}

int WallpaperChanger::selectedRow() const {
    const QList<QListWidgetItem*> selected = m_imageList->selectedItems();
    return selected.isEmpty() ? -1 : m_imageList->row(selected.first());
}

void WallpaperChanger::selectCurrentWallpaper() {
    const QString current = m_currentWallpaper.trimmed();
    int found = -1;
    for (int row = 0; row < m_imageList->count() && found < 0; ++row) {
        if (!current.isEmpty() && pathAt(row).compare(current, Qt::CaseInsensitive) == 0)
            found = row;
    }
    {
        const QSignalBlocker quiet(m_imageList);
        m_imageList->clearSelection();
        if (found >= 0) {
            m_imageList->setCurrentRow(found, QItemSelectionModel::ClearAndSelect);
            m_imageList->scrollToItem(m_imageList->item(found));
        }
    }
    updatePreview();
}

void WallpaperChanger::updatePreview() {
    const int row = selectedRow();
    bool shown = false;
    if (row < 0)
        m_preview->clear();
    else
        shown = m_preview->showImage(pathAt(row));
    m_changeNowCmd->setEnabled(row >= 0 && shown && !m_changing);
    m_removeCmd->setEnabled(row >= 0);
}

void WallpaperChanger::optionChosen(int option) {
    if (m_loading)
        return;
    saveSetting(tr("The wallpaper option"), [option](Settings& s) { s.wallpaperOption = option; });
}

template <typename F> void WallpaperChanger::saveSetting(const QString& what, F&& change) {
    const SettingsStore& store = m_context.stores.settings;
    if (!store.update(std::forward<F>(change)))
        tell(SaveFailures::failedText(what, m_context.paths.dataFile(), store.lastError()));
}

void WallpaperChanger::stretchToggled(bool stretched) {
    if (m_loading)
        return;
    if (QString why; !WallpaperChange::setStretched(m_context, stretched, &why))
        tell(tr("The desktop did not take the new picture style: %1").arg(why));
}

void WallpaperChanger::changeNow() {
    const int row = selectedRow();
    if (row < 0 || m_changing)
        return;
    // Where nothing can set it, no picture is taken for the current one.
    if (!WallpaperChange::canSet(m_context)) {
        tell(tr("The wallpaper could not be changed.\n\n%1").arg(noWallpaperMethodText()));
        return;
    }
    const QString path = pathAt(row);
    m_currentWallpaper = path;
    const QDate today = m_context.clock.today();
    saveSetting(tr("The current wallpaper"), [&](Settings& s) {
        s.currentWallpaper = path;
        s.wallpaperLastDay = today;
    });

    m_changing = true;
    m_changeNowCmd->setEnabled(false);
    setCursor(Qt::BusyCursor);
    WallpaperChange::showInBackground(
        m_context, path, WallpaperChange::InteractiveBudgetMs, this,
        [this](bool shown, const QString& error) {
            m_changing = false;
            unsetCursor();
            updatePreview();
            if (!shown)
                tell(tr("The wallpaper could not be changed.\n\n%1").arg(error));
        });
}

void WallpaperChanger::addImages() {
    WallpaperFilesDialog dialog(m_context, m_lastFolder, this);
    if (dialog.run() != QDialog::Accepted)
        return;
    const QString folder = dialog.folder();
    for (const QString& name : dialog.checkedNames()) {
        bool listed = false;
        for (int row = 0; row < m_imageList->count() && !listed; ++row) {
            const QListWidgetItem* item = m_imageList->item(row);
            listed = item->text() == name && item->data(FolderRole).toString() == folder;
        }
        if (!listed) {
            addRow(folder, name);
            m_changed = true;
        }
    }
    m_lastFolder = folder;
    selectCurrentWallpaper();
}

void WallpaperChanger::removeImage() {
    const int row = selectedRow();
    if (row < 0)
        return;
    if (m_context.dialogs.messageBox(tr("Remove this image from the selection list?"),
                                     tr("Confirm"), MessageButtons::YesNoDefaultNo,
                                     MessageIcon::Information) != MessageAnswer::Yes)
        return;
    delete m_imageList->takeItem(row);
    m_changed = true;
    selectCurrentWallpaper();
}

void WallpaperChanger::aboutToHide() {
    // The list stays as it is in the page, so leaving it again tries once more.
    if (QString failure; !saveList(&failure))
        tell(failure);
}

bool WallpaperChanger::keepForUnload(QString* failure) {
    return saveList(failure);
}

bool WallpaperChanger::saveList(QString* failure) {
    if (!m_changed)
        return true;
    QStringList paths;
    for (int row = 0; row < m_imageList->count(); ++row)
        paths.append(pathAt(row));
    WallpaperStore& store = m_context.stores.get<WallpaperStore>();
    if (!store.replace(paths)) {
        *failure =
            SaveFailures::failedText(tr("The wallpaper list"), store.dataFile(), store.lastError());
        return false;
    }
    m_storedList = paths;
    m_changed = false;
    return true;
}

void WallpaperChanger::openDownloadPage() {
    const QString site = productWebSite();
    if (!isWebAddress(site)) {
        ToolPage::tell(m_context.dialogs,
                       tr("Plumora has no web site yet, so there is no page to download "
                          "wallpapers from."),
                       Message::Notice);
        return;
    }
    const QString address = site + QStringLiteral("/wallpaper.htm");
    if (!m_context.shell.openUrl(address))
        tell(tr("No web browser could be started to open %1.").arg(address));
}

void WallpaperChanger::tell(const QString& text) {
    ToolPage::tell(m_context.dialogs, text);
}

bool WallpaperChanger::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_imageList && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        removeImage();
        return true;
    }
    return ToolPage::eventFilter(watched, event);
}

ToolDescriptor::PageFactory WallpaperChanger::pages(AppContext& context) {
    return [&context](QWidget* parent) { return new WallpaperChanger(context, parent); };
}
