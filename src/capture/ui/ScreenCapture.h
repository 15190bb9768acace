// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "capture/CaptureStore.h"
#include "shell/AppContext.h"
#include "shell/ui/ToolPage.h"

#include <QImage>
#include <QPointer>

#include <functional>

class CapturePreview;
struct ScreenGrab;
class FullScreen;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTimer;

// The Screen Capture page (`SCapture`): the stored captures' descriptions on the left
// (`DescLV`, renamed in place), the chosen picture on the right (`BackPic`), and the
// commands to take a new capture, view, copy, print and delete a picture. A new capture
// hides the main window, waits for it to go (`SCTimer`), grabs the screen and lets the user
// choose on the frozen screen (FullScreen); the main window then comes back with the new
// row's description ready to type.
class ScreenCapture : public ToolPage {
    Q_OBJECT
public:
    explicit ScreenCapture(AppContext& context, QWidget* parent = nullptr);
    ~ScreenCapture() override;

    // Reads the list again (keeping the chosen row), looks for a printer and applies
    // setCmdVisible().
    void activated() override;
    // Keeps the picture in sight when the viewing area shrinks.
    void hostResized() override;
    // Descriptions that could not be stored are tried again.
    bool keepForUnload(QString* failure) override;

    // The viewing area shows exactly when there are captures; "Full screen", "Copy to
    // clipboard" and "Delete image" work with it, "Print image" only with a printer too.
    void setCmdVisible();
    // Lists the row just stored, chooses it and starts editing its description.
    void addNewCapture(qint64 rowId, const QImage& picture);

    // The row chosen in the list (its rowid), 0 for none.
    qint64 currentRowId() const;
    // The capture or viewing window while it is open.
    FullScreen* fullScreen() const;
    // A capture is under way: from "Selected Area" to the picture stored or dropped.
    bool capturing() const { return m_capturing; }

public Q_SLOTS:
    // SCTimer's step: grabs the screen and shows it frozen.
    void startCapture();
    // The commands.
    void newCapture();
    void viewFullScreen();
    void copyPicture();
    void printPicture();
    void deletePicture();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    // Fills the list from the store and chooses `keep` when listed, else the last row.
    void reload(qint64 keep);
    // The captures changed: a page on show reads them again, once no description is being
    // typed; a hidden one when it shows.
    void followChanges();
    bool isEditingTitle() const;
    void showRow(int index);
    void titleEdited(QListWidgetItem* item);
    void screenGrabbed(const QRect& screen, const ScreenGrab& grab);
    void captureFinished(const QImage& capture);
    void showMainWindow();
    void tell(const QString& text, const QString& title = QStringLiteral("Plumora"));

    AppContext& m_context;
    CaptureStore& m_store;
    QListWidget* m_list;
    CapturePreview* m_preview;
    QLabel* m_dragLabel;
    QPushButton* m_captureBtn;
    QPushButton* m_fsCmd;
    QPushButton* m_copyCmd;
    QPushButton* m_printCmd;
    QPushButton* m_deleteCmd;
    QTimer* m_scTimer;
    QPointer<FullScreen> m_fullScreen;
    bool m_printerInstalled = false;
    bool m_capturing = false;
    bool m_stale = false; // the captures changed since the list was read
    qint64 m_shownRow = 0;
    // The picture just captured, so that showing it needs no second read.
    qint64 m_freshRow = 0;
    QImage m_freshPicture;
};

// Screen Capture as the main window's tool.
class CaptureTool {
public:
    explicit CaptureTool(AppContext& context) : m_context(context) {}
    // Makes the page (the main window asks the first time the tool is chosen) and keeps
    // hold of it.
    ScreenCapture* makePage(QWidget* parent);
    // The page once the main window has loaded it; null before.
    ScreenCapture* page() const { return m_page; }
    // A capture asked from outside the window: `loadPage` makes the page the main window's
    // without showing a closed window, so the screen freezes at once for the user's choice
    // (a window on the screen is waited for to go). A capture under way already is left
    // alone. Gives a refusal, or nothing.
    QString captureArea(const std::function<void()>& loadPage);

private:
    AppContext& m_context;
    QPointer<ScreenCapture> m_page;
};
