// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/AppContext.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;

// "Please select image files:" (`wpFiles`): the images of one folder, each with a check
// mark, from which the Wallpaper Changer adds the checked ones.
class WallpaperFilesDialog : public QDialog {
    Q_OBJECT
public:
    // `folder` is the one used last; empty the first time.
    WallpaperFilesDialog(const AppContext& context, const QString& folder,
                         QWidget* parent = nullptr);

    // Lists the folder, asking for one first when there is none, and shows the dialog
    // modally. Rejected at once, never shown, when the user cancels that first choice.
    int run();

    // Lists the images of a folder: the one chosen in the folder picker when `browse`,
    // else the one shown. Whether a folder is shown afterwards.
    bool loadFolder(bool browse);

    QString folder() const;
    // The checked file names, in list order.
    QStringList checkedNames() const;

private:
    void checkAll(bool checked);
    void updateOk();

    const AppContext& m_context;
    QLineEdit* m_folder;
    QListWidget* m_list;
    QPushButton* m_ok;
};
