// SPDX-License-Identifier: GPL-3.0-or-later
#include "capture/ui/CaptureToolBox.h"

#include "capture/CaptureRules.h"
#include "shell/ui/HelpKey.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTimer>

CaptureToolBox::CaptureToolBox(const QRect& screen, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_screen(screen) {
    setObjectName(QStringLiteral("CapTBox"));
    setWindowTitle(tr("Action"));
    // A floating box of commands: as a toolbar window it gets a close button but no minimise
    // or maximise, which a utility window keeps under some window managers. The type is
    // written when the native window exists, so it is created here.
    winId();
    setAttribute(Qt::WA_X11NetWmWindowTypeToolBar);

    auto* row = new QHBoxLayout(this);
    const auto button = [this, row](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        row->addWidget(b);
        return b;
    };
    const QString captions[3] = {tr("Full Screen"), tr("Selected Area"), tr("This monitor")};
    // In the row: the whole desktop, one monitor, the area.
    for (int i : {int(FullScreen), int(ThisMonitor), int(SelectedArea)}) {
        m_choices[i] = button("CapCmd", captions[i]);
        m_choices[i]->setProperty("index", i);
        m_choices[i]->setAccessibleName(captions[i]);
        connect(m_choices[i], &QPushButton::clicked, this, [this, i] { Q_EMIT chosen(i); });
    }
    m_choices[ThisMonitor]->setToolTip(tr("The monitor under the pointer"));
    m_cancel = button("CancelCmd", tr("Cancel Capture"));
    connect(m_cancel, &QPushButton::clicked, this, &CaptureToolBox::reject);
    auto* help = button("HelpCmd", tr("Help"));
    connect(help, &QPushButton::clicked, this, [this] { HelpKey::send(this); });

    // Return takes the whole screen, the likeliest choice until an area is dragged out.
    setDefaultChoice(FullScreen);
    adjustSize();
    setFixedSize(size());
}

void CaptureToolBox::setDefaultChoice(int choice) {
    m_choices[choice]->setDefault(true);
    m_choices[choice]->setFocus();
}

int CaptureToolBox::defaultChoice() const {
    return m_choices[SelectedArea]->isDefault() ? SelectedArea : FullScreen;
}

void CaptureToolBox::place() {
    move(CaptureRules::toolBoxPosition(m_screen, frameGeometry().size()));
    // The window manager frames the box a moment after it shows, and nothing tells the box:
    // it looks again for a while and, once it has a frame, places it on the screen.
    m_frameChecks = FrameChecks;
    if (!m_frameTimer) {
        m_frameTimer = new QTimer(this);
        m_frameTimer->setInterval(FrameCheckMs);
        connect(m_frameTimer, &QTimer::timeout, this, [this] {
            const bool framed = frameGeometry() != geometry();
            if (isVisible() && !m_screen.contains(frameGeometry()))
                move(CaptureRules::toolBoxPosition(m_screen, frameGeometry().size()));
            if (framed || --m_frameChecks <= 0)
                m_frameTimer->stop();
        });
    }
    m_frameTimer->start();
}

bool CaptureToolBox::event(QEvent* event) {
    const bool done = QDialog::event(event);
    // The window manager's frame arrives after the box was placed: placed again, it stays
    // on the screen.
    if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && isVisible() &&
        !m_screen.contains(frameGeometry()))
        place();
    return done;
}

void CaptureToolBox::reject() {
    QDialog::reject();
    Q_EMIT cancelled();
}
