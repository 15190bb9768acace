// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/ReloadBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

ReloadBar::ReloadBar(const QString& text, QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("ReloadBar"));
    setAccessibleName(tr("Changed elsewhere"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(255, 244, 206));
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);

    m_text = new QLabel(text, this);
    m_text->setObjectName(QStringLiteral("ReloadLb"));
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    m_reload = new QPushButton(tr("&Reload"), this);
    m_reload->setObjectName(QStringLiteral("ReloadCmd"));
    m_reload->setAccessibleName(tr("Reload"));
    m_reload->setAccessibleDescription(text);
    m_reload->setAutoDefault(false);
    m_text->setBuddy(m_reload);
    connect(m_reload, &QPushButton::clicked, this, [this] {
        hide();
        Q_EMIT reloadChosen();
    });

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_reload);
    hide();
}

void ReloadBar::offer() {
    if (isVisible())
        return;
    show();
    raise();
}
