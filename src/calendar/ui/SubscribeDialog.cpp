// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/ui/SubscribeDialog.h"

#include "data/SaveFailures.h"
#include "platform/Dialogs.h"
#include "shell/AppContext.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QVBoxLayout>

namespace {

const int Intervals[] = {SubscriptionRules::Hourly, SubscriptionRules::Daily,
                         SubscriptionRules::Weekly};

QString everyText(int minutes) {
    if (minutes <= SubscriptionRules::Hourly)
        return SubscribeDialog::tr("hourly");
    return minutes >= SubscriptionRules::Weekly ? SubscribeDialog::tr("weekly")
                                                : SubscribeDialog::tr("daily");
}

} // namespace

SubscribeDialog::SubscribeDialog(AppContext& context, SubscriptionRefresh* refresh, QWidget* parent)
    : QDialog(parent), m_context(context), m_refresh(refresh) {
    setObjectName(QStringLiteral("SubscribeDialog"));
    setWindowTitle(tr("Calendar subscriptions"));

    auto* followed = new QGroupBox(tr("Calendars you follow"), this);
    m_list = new QListWidget(followed);
    m_list->setObjectName(QStringLiteral("SubscriptionList"));
    m_list->setAccessibleName(tr("Calendars you follow"));
    m_remove = new QPushButton(tr("&Remove"), followed);
    m_remove->setObjectName(QStringLiteral("RemoveBtn"));
    auto* followedLayout = new QVBoxLayout(followed);
    followedLayout->addWidget(m_list);
    followedLayout->addWidget(m_remove, 0, Qt::AlignRight);

    auto* adding = new QGroupBox(tr("Subscribe to a calendar"), this);
    m_address = new QLineEdit(adding);
    m_address->setObjectName(QStringLiteral("AddressTb"));
    m_address->setPlaceholderText(tr("https://... or webcal://..."));
    // The field is at least as wide as its hint, whose wording is longer in some languages.
    QStyleOptionFrame frame;
    frame.initFrom(m_address);
    frame.lineWidth =
        m_address->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, m_address);
    const QMargins text = m_address->textMargins();
    const QSize hint(m_address->fontMetrics().horizontalAdvance(m_address->placeholderText()) + 4 +
                         text.left() + text.right(),
                     m_address->sizeHint().height());
    m_address->setMinimumWidth(
        m_address->style()->sizeFromContents(QStyle::CT_LineEdit, &frame, hint, m_address).width());
    m_address->setAccessibleName(tr("Address"));
    m_name = new QLineEdit(adding);
    m_name->setObjectName(QStringLiteral("NameTb"));
    m_name->setAccessibleName(tr("Name"));
    m_every = new QComboBox(adding);
    m_every->setObjectName(QStringLiteral("EveryCb"));
    m_every->setAccessibleName(tr("Refresh"));
    m_every->addItems({tr("Hourly"), tr("Daily"), tr("Weekly")});
    m_every->setCurrentIndex(1);
    auto* subscribeBtn = new QPushButton(tr("&Subscribe"), adding);
    subscribeBtn->setObjectName(QStringLiteral("SubscribeBtn"));
    m_subscribe = subscribeBtn;
    m_tried = new QLabel(adding);
    m_tried->setObjectName(QStringLiteral("TriedLb"));
    m_tried->setAccessibleName(tr("Subscription status"));
    m_tried->setTextFormat(Qt::PlainText);
    m_tried->setWordWrap(true);
    m_tried->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_tried->hide();
    auto* form = new QFormLayout(adding);
    form->addRow(tr("&Address:"), m_address);
    form->addRow(tr("&Name:"), m_name);
    form->addRow(tr("Re&fresh:"), m_every);
    form->addRow(QString(), subscribeBtn);
    form->addRow(m_tried);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(followed);
    layout->addWidget(adding);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(subscribeBtn, &QPushButton::clicked, this, &SubscribeDialog::subscribe);
    connect(m_remove, &QPushButton::clicked, this, &SubscribeDialog::removeSelected);
    connect(m_list, &QListWidget::currentRowChanged, this,
            [this](int row) { m_remove->setEnabled(row >= 0); });
    reload();
    m_address->setFocus();
}

void SubscribeDialog::reload() {
    m_shown = m_context.stores.get<SubscriptionStore>().all();
    m_list->clear();
    for (const Subscription& s : m_shown) {
        // The mark goes before the address, which may run past the list's width.
        const QString every = everyText(s.everyMinutes);
        auto* item = new QListWidgetItem(
            s.failures > 0 ? tr("%1: last refresh failed (%2, %3)").arg(s.name, s.url, every)
                           : tr("%1 (%2, %3)").arg(s.name, s.url, every),
            m_list);
        item->setToolTip(item->text());
        if (s.failures > 0) {
            item->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
            item->setData(FailedRole, true);
        }
    }
    m_remove->setEnabled(false);
}

bool SubscribeDialog::subscribe() {
    const auto tell = [this](const QString& text) {
        m_context.dialogs.messageBox(text, tr("Message"), MessageButtons::Ok,
                                     MessageIcon::Information);
        return false;
    };
    Subscription s;
    s.url = m_address->text().trimmed();
    s.name = m_name->text().trimmed();
    s.everyMinutes = Intervals[qBound(0, m_every->currentIndex(), 2)];
    if (!SubscriptionRules::fetchUrl(s.url).isValid())
        return tell(tr("Please give the calendar's address, beginning with https:// "
                       "or webcal://."));
    if (s.name.isEmpty())
        return tell(tr("Please give the calendar a name."));
    if (!m_refresh) {
        SubscriptionStore& store = m_context.stores.get<SubscriptionStore>();
        if (store.add(s) <= 0)
            return tell(SaveFailures::failedText(tr("The subscription"), m_context.paths.dataFile(),
                                                 store.lastError()));
        added();
        return true;
    }
    // Tried first: only a calendar that could be fetched and read is kept.
    trying(true);
    m_refresh->tryNew(s, this, [this, s](int id, const QString& error) {
        trying(false);
        if (id > 0)
            return added();
        // Said in the dialog, not in a message box: no event loop of its own under the
        // download's answer.
        showTried(tr("\"%1\" was not added: %2").arg(s.name, error));
        m_address->setFocus();
    });
    return true;
}

void SubscribeDialog::trying(bool busy) {
    m_subscribe->setEnabled(!busy);
    for (QWidget* w : std::initializer_list<QWidget*>{m_address, m_name, m_every})
        w->setEnabled(!busy);
    showTried(busy ? tr("Fetching the calendar...") : QString());
}

void SubscribeDialog::showTried(const QString& text) {
    m_tried->setText(text);
    m_tried->setAccessibleDescription(text);
    m_tried->setVisible(!text.isEmpty());
}

void SubscribeDialog::added() {
    m_address->clear();
    m_name->clear();
    m_address->setFocus();
    reload();
    Q_EMIT changed();
}

bool SubscribeDialog::removeSelected() {
    const int row = m_list->currentRow();
    if (row < 0 || row >= int(m_shown.size()))
        return false;
    const Subscription& s = m_shown[size_t(row)];
    if (m_context.dialogs.messageBox(
            tr("Stop following \"%1\" and remove its events from the calendar?").arg(s.name),
            tr("Confirm"), MessageButtons::YesNo, MessageIcon::Question) != MessageAnswer::Yes)
        return false;
    SubscriptionStore& store = m_context.stores.get<SubscriptionStore>();
    if (!store.remove(s.id)) {
        m_context.dialogs.messageBox(
            tr("The subscription could not be removed.\n\n%1").arg(store.lastError()),
            tr("Message"), MessageButtons::Ok, MessageIcon::Information);
        return false;
    }
    reload();
    Q_EMIT changed();
    return true;
}
