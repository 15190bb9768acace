// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/ChangeHub.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>

#include <utility>

ChangeHub::ChangeHub(const QString& dataFile, QStringList tables, QObject* parent)
    : QObject(parent), m_dataFile(dataFile), m_tables(std::move(tables)) {
    setObjectName(QStringLiteral("ChangeHub"));
    // Before the data file is made there is nothing to compare with: the first change of
    // System then names every setting.
    // The settings' baseline is read once the event loop runs, or at the first open
    // through the hub if that comes sooner, so that the hub costs no read of the file while
    // the program starts.
    if (QFileInfo::exists(dataFile)) {
        m_ownStamp = m_baselineStamp = fileModifiedStamp(dataFile);
        m_baselinePending = true;
        QMetaObject::invokeMethod(this, &ChangeHub::readBaseline, Qt::QueuedConnection);
    }
}

void ChangeHub::opening() {
    // Only on the hub's own thread: a writer elsewhere starts from the event loop, after
    // the baseline was read.
    if (QThread::currentThread() == thread() && m_baselinePending)
        readBaseline();
}

void ChangeHub::readBaseline() {
    if (!std::exchange(m_baselinePending, false))
        return;
    m_settings = SettingsStore(m_dataFile).load();
    // Another process wrote between the hub's making and now: what it changed is unknown,
    // so the next change of System names every setting, as on a file made afresh.
    if (fileModifiedStamp(m_dataFile) != m_baselineStamp)
        m_settings.reset();
}

ChangeHub::~ChangeHub() = default;

void ChangeHub::addTables(const QStringList& tables) {
    for (const QString& t : tables) {
        if (!m_tables.contains(t))
            m_tables.append(t);
    }
}

void ChangeHub::committed(const QStringList& tables, qint64 stampBefore) {
    m_commits.fetch_add(1, std::memory_order_acq_rel);
    if (tables.isEmpty())
        return;
    const qint64 stamp = fileModifiedStamp(m_dataFile);
    // The signal reaches the windows on the hub's own thread, after the writer is done; a
    // hub that is gone by then takes the call with it.
    ChangeHub* self = this;
    QMetaObject::invokeMethod(
        self,
        [self, tables, stamp, stampBefore] {
            // The file changed since this process last accounted for it, and before this
            // write: another process's write that the new stamp would hide from the tick.
            if (stampBefore >= 0 && self->m_ownStamp >= 0 && stampBefore != self->m_ownStamp)
                self->announceAll();
            self->m_ownStamp = stamp;
            for (const QString& t : tables)
                self->announce(t);
        },
        Qt::QueuedConnection);
}

void ChangeHub::announceAll() {
    m_elsewhere = true;
    for (const QString& t : std::as_const(m_tables))
        announce(t);
}

void ChangeHub::announce(const QString& table) {
    if (m_pending.contains(table))
        return;
    const bool first = m_pending.isEmpty();
    m_pending.insert(table);
    m_order.append(table);
    if (first)
        QMetaObject::invokeMethod(this, &ChangeHub::flush, Qt::QueuedConnection);
}

void ChangeHub::flush() {
    const QStringList tables = std::exchange(m_order, {});
    const bool elsewhere = std::exchange(m_elsewhere, false);
    m_pending.clear();
    for (const QString& t : tables) {
        Q_EMIT changed(t);
        if (elsewhere)
            Q_EMIT changedElsewhere(t);
        if (t == QLatin1String("System"))
            compareSettings();
    }
}

void ChangeHub::compareSettings() {
    const std::optional<Settings> now = SettingsStore(m_dataFile).load();
    if (!now)
        return; // unreadable for now: compared again after the next change
    QList<Settings::Field> fields;
    for (Settings::Field f : Settings::allFields()) {
        Settings probe = m_settings.value_or(Settings());
        probe.copyField(f, *now);
        if (!m_settings || !(probe == *m_settings))
            fields.append(f);
    }
    m_settings = now;
    if (!fields.isEmpty())
        Q_EMIT settingsChanged(fields);
}
