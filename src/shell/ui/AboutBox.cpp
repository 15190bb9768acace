// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/AboutBox.h"

#include "platform/WindowSystem.h"
#include "shell/WebSite.h"
#include "shell/ui/AppIcon.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

const QString AboutBox::MakerName = QStringLiteral("The Plumora Project");

AboutBox::AboutBox(WindowSystem& windows, std::function<void()> openWebSite, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("About"));
    setWindowTitle(tr("About Plumora"));

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("AboutPic"));
    picture->setPixmap(plumoraIcon().pixmap(QSize(64, 64)));
    picture->setAlignment(Qt::AlignTop);

    auto* name = new QLabel(QStringLiteral("Plumora"), this);
    name->setObjectName(QStringLiteral("ProductLb"));
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    name->setFont(big);
    auto* version = new QLabel(tr("Version %1").arg(QCoreApplication::applicationVersion()), this);
    version->setObjectName(QStringLiteral("VersionLb"));
    auto* licence = new QLabel(
        tr("Free software under the GNU General Public License, version 3 or later"), this);
    licence->setObjectName(QStringLiteral("LicenceLb"));
    auto* platformLine = new QLabel(tr("for Linux desktops"), this);
    platformLine->setObjectName(QStringLiteral("PlatformLb"));

    auto* maker = new QLabel(this);
    maker->setObjectName(QStringLiteral("MakerLb"));
    maker->setText(QStringLiteral("<a href=\"site\">") + MakerName.toHtmlEscaped() +
                   QStringLiteral("</a>"));
    maker->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    if (const QString site = productWebSite(); isWebAddress(site))
        maker->setToolTip(site);
    // The address is the product web site's, whatever the label's link says.
    connect(maker, &QLabel::linkActivated, this, [openWebSite] { openWebSite(); });

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(18, 18, 18, 14);
    grid->setHorizontalSpacing(16);
    grid->addWidget(picture, 0, 0, 5, 1);
    grid->addWidget(name, 0, 1);
    grid->addWidget(version, 1, 1);
    grid->addWidget(platformLine, 2, 1);
    grid->addWidget(maker, 3, 1);
    grid->addWidget(licence, 4, 1);
    grid->addWidget(ok, 5, 0, 1, 2, Qt::AlignRight);
    setFixedSize(sizeHint());
    // Before it is shown: a shown window changing its flags would be hidden, and a hidden
    // modal dialog ends its own modal loop.
    windows.makeTopmost(this);
}
