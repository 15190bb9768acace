#include "core/ui/HelpWindow.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QString helpFolder, QWidget* parent)
    : QWidget(parent, Qt::Window), m_folder(std::move(helpFolder)),
      m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Plumora Help"));
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setSearchPaths({m_folder});
    m_browser->setOpenExternalLinks(true);
    // The title names the topic, so the help window of each tool can be told apart.
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString topic = m_browser->documentTitle();
        setWindowTitle(topic.isEmpty() || topic == QLatin1String("Plumora Help")
                           ? QStringLiteral("Plumora Help")
                           : QStringLiteral("Plumora Help - ") + topic);
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(640, 520);
}

void HelpWindow::showTopic(const QString& topic) {
    const QString name = QFileInfo::exists(m_folder + QLatin1Char('/') + topic)
                             ? topic
                             : QStringLiteral("index.htm");
    m_browser->setSource(QUrl::fromLocalFile(m_folder + QLatin1Char('/') + name));
    show();
    raise();
    activateWindow();
}

QString HelpWindow::currentTopic() const {
    return QFileInfo(m_browser->source().toLocalFile()).fileName();
}
