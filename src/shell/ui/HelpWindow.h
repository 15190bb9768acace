// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

// The help viewer: one window showing the HTML topics of the help folder, one topic per
// window ("calendar.htm"), with index.htm as the default. It takes input even while a modal
// window is open, and Esc closes it.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QString helpFolder, QWidget* parent = nullptr);

    // Shows `topic` (a file name in the help folder), falling back to index.htm.
    void showTopic(const QString& topic);
    QString currentTopic() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_folder;
    QTextBrowser* m_browser;
};
