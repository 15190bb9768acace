// SPDX-License-Identifier: GPL-3.0-or-later
#include "wallpaper/ui/WallpaperFilesDialog.h"

#include "platform/DesktopShell.h"
#include "platform/Dialogs.h"
#include "wallpaper/WallpaperStore.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

WallpaperFilesDialog::WallpaperFilesDialog(const AppContext& context, const QString& folder,
                                           QWidget* parent)
    : QDialog(parent), m_context(context) {
    setObjectName(QStringLiteral("wpFiles"));
    setWindowTitle(tr("Please select image files:"));

    auto* folderLabel = new QLabel(tr("Folder:"), this);
    m_folder = new QLineEdit(folder, this);
    m_folder->setObjectName(QStringLiteral("CurFldTb"));
    m_folder->setReadOnly(true);
    m_folder->setAccessibleName(tr("Folder"));
    folderLabel->setBuddy(m_folder);

    auto* folderCmd = new QPushButton(tr("Select Folder"), this);
    folderCmd->setObjectName(QStringLiteral("FolderCmd"));
    folderCmd->setAccessibleName(tr("Select Folder"));
    folderCmd->setAutoDefault(false);
    connect(folderCmd, &QPushButton::clicked, this, [this] { loadFolder(true); });

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("SelList"));
    m_list->setAccessibleName(tr("Image files"));
    m_list->setAccessibleDescription(tr("Space checks or unchecks a file"));
    connect(m_list, &QListWidget::itemChanged, this, &WallpaperFilesDialog::updateOk);

    auto* buttons = new QHBoxLayout;
    const QString selCaptions[] = {tr("Select All"), tr("Clear All")};
    for (int i = 0; i < 2; ++i) {
        auto* b = new QPushButton(selCaptions[i], this);
        b->setObjectName(QStringLiteral("SelCmd"));
        b->setProperty("index", i);
        b->setAccessibleName(selCaptions[i]);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { checkAll(i == 0); });
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    m_ok = new QPushButton(tr("OK"), this);
    m_ok->setObjectName(QStringLiteral("OKCmd"));
    m_ok->setAccessibleName(tr("OK"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelCmd"));
    cancel->setAccessibleName(tr("Cancel"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);

    auto* grid = new QGridLayout(this);
    grid->addWidget(folderLabel, 0, 0);
    grid->addWidget(m_folder, 0, 1);
    grid->addWidget(folderCmd, 0, 2);
    grid->addWidget(m_list, 1, 0, 1, 3);
    grid->addLayout(buttons, 2, 0, 1, 3);
    grid->setColumnStretch(1, 1);

    setTabOrder(m_list, buttons->itemAt(0)->widget());
    resize(440, 360);
    updateOk();
}

int WallpaperFilesDialog::run() {
    if (!loadFolder(m_folder->text().isEmpty()))
        return QDialog::Rejected;
    m_list->setFocus();
    return exec();
}

bool WallpaperFilesDialog::loadFolder(bool browse) {
    QString folder = m_folder->text();
    if (browse) {
        const QString start =
            folder.isEmpty() ? m_context.shell.specialFolderPath(SpecialFolder::Documents) : folder;
        const QString chosen = m_context.dialogs.browseForFolder(this, start);
        if (chosen.isEmpty())
            return !m_folder->text().isEmpty();
        folder = QDir::cleanPath(chosen);
    }
    if (folder.isEmpty())
        return false;

    const std::optional<QStringList> names = WallpaperFiles::imagesIn(folder);
    if (!names) {
        m_context.dialogs.messageBox(tr("The folder %1 cannot be read.").arg(folder),
                                     QStringLiteral("Plumora"), MessageButtons::Ok,
                                     MessageIcon::Information);
        return !m_folder->text().isEmpty();
    }
    {
        const QSignalBlocker quiet(m_list);
        m_list->clear();
        for (const QString& name : *names) {
            auto* item = new QListWidgetItem(name, m_list);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Checked);
        }
    }
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    m_folder->setText(folder);
    updateOk();
    return true;
}

QString WallpaperFilesDialog::folder() const {
    return m_folder->text();
}

QStringList WallpaperFilesDialog::checkedNames() const {
    QStringList names;
    for (int i = 0; i < m_list->count(); ++i) {
        if (m_list->item(i)->checkState() == Qt::Checked)
            names.append(m_list->item(i)->text());
    }
    return names;
}

void WallpaperFilesDialog::checkAll(bool checked) {
    {
        const QSignalBlocker quiet(m_list);
        for (int i = 0; i < m_list->count(); ++i)
            m_list->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
    updateOk();
}

void WallpaperFilesDialog::updateOk() {
    m_ok->setEnabled(!checkedNames().isEmpty());
}
