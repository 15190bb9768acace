// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/AppContext.h"
#include "shell/ui/ToolDescriptor.h"
#include "shell/ui/ToolPage.h"

#include <array>

class QCheckBox;
class QListWidget;
class QPushButton;
class QRadioButton;
class ReloadBar;
class WallpaperPreview;

// The Wallpaper Changer ("Wallpaper Changer", `SSWP`): the images of the rotation, the
// rotation option, the stretch style, and "Change now!". The list shows file names and
// keeps each one's folder apart; it is written back to WPaper when the page is left,
// and only when images were added or removed. The option, the style and "Change now!"
// take effect at once. Writes by anyone else to the list or to the settings it shows
// show at once.
class WallpaperChanger : public ToolPage {
    Q_OBJECT
public:
    explicit WallpaperChanger(AppContext& context, QWidget* parent = nullptr);

    void aboutToHide() override;
    bool keepForUnload(QString* failure) override;
    void giveUpUnsaved() override { m_changed = false; }

    // The full path of list row `row`.
    QString pathAt(int row) const;
    // Whether images were added or removed since the list was last written.
    bool isChanged() const { return m_changed; }

    // "Add images": the checked files of the `wpFiles` dialog join the list.
    void addImages();
    // "Remove image" or Delete in the list: asks, then takes the selected image off.
    void removeImage();
    // "Change now!": the selected image becomes the wallpaper and the current one. The
    // desktop is told in the background; the button stays disabled until it has answered.
    void changeNow();
    // Whether a change asked for with "Change now!" is still under way.
    bool isChanging() const { return m_changing; }
    // The bar that offers to read the list again when another writer changed it while
    // images were added or removed here.
    ReloadBar* reloadBar() const { return m_reloadBar; }

    // What makes the page of the main window's Wallpaper Changer tool.
    static ToolDescriptor::PageFactory pages(AppContext& context);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void load();
    // The option and the current wallpaper from System; false when it could not be read.
    bool readSettings();
    // WPaper changed: read again unless it holds what the page last read or wrote; with
    // images added or removed here, the reload bar offers it instead.
    void listChanged();
    // The list read again from WPaper; images added or removed here are dropped.
    void reloadList();
    void addRow(const QString& folder, const QString& name);
    int selectedRow() const;
    // Selects the row of the current wallpaper, or none when it is not listed.
    void selectCurrentWallpaper();
    void updatePreview();
    void optionChosen(int option);
    void stretchToggled(bool stretched);
    void openDownloadPage();
    void tell(const QString& text);
    // Writes the list when it changed; false (with what failed and why) when it could not.
    bool saveList(QString* failure);
    // A setting of the System row; says so when it could not be written.
    template <typename F> void saveSetting(const QString& what, F&& change);

    AppContext& m_context;
    bool m_loading = false;
    bool m_changed = false;
    bool m_changing = false;
    // The current wallpaper's path, and the folder images were added from last.
    QString m_currentWallpaper;
    QString m_lastFolder;
    // WPaper as the page last read or wrote it.
    QStringList m_storedList;

    QListWidget* m_imageList;
    WallpaperPreview* m_preview;
    QPushButton* m_addCmd;
    QPushButton* m_removeCmd;
    std::array<QRadioButton*, 4> m_options{};
    QCheckBox* m_stretchChk;
    QPushButton* m_changeNowCmd;
    QPushButton* m_downloadLb;
    ReloadBar* m_reloadBar;
};
