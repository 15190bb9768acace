// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProcessRunner.h"

#include "base/Clock.h"

#include <QProcess>

#include <algorithm>

ProcessResult SystemProcessRunner::run(const QString& program, const QStringList& arguments,
                                       int timeoutMs) {
    ProcessResult result;
    QProcess process;
    process.start(program, arguments, QIODevice::ReadOnly);
    if (!process.waitForStarted(timeoutMs))
        return result;
    result.started = true;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return result;
    }
    result.output = process.readAllStandardOutput();
    result.errorOutput = process.readAllStandardError();
    if (process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    return result;
}

TimeBudgetRunner::TimeBudgetRunner(ProcessRunner& runner, const Clock& clock, int budgetMs)
    : m_runner(runner), m_clock(clock), m_deadline(clock.monotonicMs() + std::max(0, budgetMs)) {}

ProcessResult TimeBudgetRunner::run(const QString& program, const QStringList& arguments,
                                    int timeoutMs) {
    const qint64 left = m_deadline - m_clock.monotonicMs();
    if (left <= 0) {
        m_exceeded = true;
        ProcessResult refused;
        refused.errorOutput = QByteArrayLiteral("not started: the time allowed has run out");
        return refused;
    }
    const int allowed = int(std::min<qint64>(timeoutMs, left));
    ProcessResult result = m_runner.run(program, arguments, allowed);
    if (!result.ok() && m_clock.monotonicMs() >= m_deadline)
        m_exceeded = true;
    return result;
}
