// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/HelpWindow.h"

#include "shell/HelpLanguage.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

HelpWindow::HelpWindow(QString helpFolder, QWidget* parent)
    : QWidget(parent, Qt::Window), m_folder(std::move(helpFolder)),
      m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("Plumora Help"));
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setAccessibleName(tr("Help text"));
    m_browser->setSearchPaths({m_folder});
    m_browser->setOpenExternalLinks(true);
    // The title names the topic, so the help window of each tool can be told apart.
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString topic = m_browser->documentTitle();
        setWindowTitle(topic.isEmpty() || topic == QLatin1String("Plumora Help")
                           ? tr("Plumora Help")
                           : tr("Plumora Help - %1").arg(topic));
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (const QString note = HelpLanguage::note(); !note.isEmpty()) {
        auto* line = new QLabel(note, this);
        line->setObjectName(QStringLiteral("HelpLanguageNote"));
        line->setContentsMargins(6, 4, 6, 4);
        layout->addWidget(line);
    }
    layout->addWidget(m_browser);
    resize(640, 520);
}

void HelpWindow::showTopic(const QString& topic) {
    const QString name = QFileInfo::exists(m_folder + QLatin1Char('/') + topic)
                             ? topic
                             : QStringLiteral("index.htm");
    m_browser->setSource(QUrl::fromLocalFile(m_folder + QLatin1Char('/') + name));
    // A modal window blocks input to every window but those that stand on it. While one is
    // up, the help stands on it (without becoming its child), so it can be scrolled,
    // followed and closed while the window that asked for it stays open.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == this)
        modal = nullptr;
    create();
    if (QWindow* window = windowHandle())
        window->setTransientParent(modal ? modal->window()->windowHandle() : nullptr);
    show();
    raise();
    activateWindow();
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

QString HelpWindow::currentTopic() const {
    return QFileInfo(m_browser->source().toLocalFile()).fileName();
}
