// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/AppPaths.h"

#include <QDialog>
#include <QImage>
#include <QModelIndex>

#include <functional>

class IconPickerDelegate;
class IconFolderMemory;
class Dialogs;
class QPushButton;
class QTableWidget;

// The icon picker "Select Icon": the icons of one file in a grid of 8 columns (IconGrid),
// the default library first. A click on an icon picks it and closes the picker; the event
// editor then puts picked() into its cell. " Icon Files" (FileBtn) loads another file; the
// folder it was taken from is remembered in the editor's IconFolderMemory. Each icon
// carries its name as tool tip and accessible name; the one under the mouse is highlighted.
class IconPicker : public QDialog {
    Q_OBJECT
public:
    // Asks for an icon file: (parent, title, start folder, filter) -> file, "" when cancelled.
    using FileChooser =
        std::function<QString(QWidget*, const QString&, const QString&, const QString&)>;

    // The file dialog's title and filter, translated where they are used.
    static const char DialogTitle[];
    static const char FileFilter[];

    // `defaultIcon` is the editor's default event icon, which the first icon of the default
    // library stands for; the picker starts on `current`, the event's own picture, when the
    // file holds it.
    IconPicker(const AppPaths& paths, Dialogs& dialogs, IconFolderMemory& folders,
               const QImage& defaultIcon, const QImage& current = {}, QWidget* parent = nullptr);

    // Replaces the file dialog (tests).
    void setFileChooser(FileChooser chooser) { m_chooser = std::move(chooser); }

    // Fills the grid from the current file; a file without icons is reported and the
    // default library loaded instead.
    void loadIcons();

    // The current file; "" while the default library is shown.
    const QString& fileName() const { return m_fileName; }
    // The picture picked by the last click; null when nothing was picked.
    const QImage& picked() const { return m_picked; }
    // The number of icons in the grid.
    int iconCount() const { return m_count; }
    // The icon under the mouse, highlighted; invalid when there is none.
    QModelIndex hoveredCell() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void chooseFile();
    void pick(int row, int column);
    void layOut(int rows);

    AppPaths m_paths;
    Dialogs& m_dialogs;
    IconFolderMemory& m_folders;
    QImage m_defaultIcon;
    QImage m_current;
    FileChooser m_chooser;
    QString m_fileName;
    QImage m_picked;
    int m_count = 0;
    QTableWidget* m_grid;
    IconPickerDelegate* m_delegate = nullptr;
    QPushButton* m_fileBtn;
    QPushButton* m_cancelBtn;
};
