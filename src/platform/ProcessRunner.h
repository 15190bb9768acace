// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class Clock;

struct ProcessResult {
    bool started = false;
    int exitCode = -1;
    QByteArray output;      // standard output
    QByteArray errorOutput; // standard error, for the log
    bool ok() const { return started && exitCode == 0; }
};

// Runs a program with its arguments (never through a shell) and waits for it, so that
// a desktop's settings tools can be driven one step after another. Tests use a fake
// that records the commands.
class ProcessRunner {
public:
    // How long one command may run unless the caller allows less.
    static constexpr int DefaultTimeoutMs = 15000;

    virtual ~ProcessRunner() = default;
    // A program still running after `timeoutMs` is killed and counts as failed.
    virtual ProcessResult run(const QString& program, const QStringList& arguments,
                              int timeoutMs = DefaultTimeoutMs) = 0;
};

class SystemProcessRunner final : public ProcessRunner {
public:
    ProcessResult run(const QString& program, const QStringList& arguments,
                      int timeoutMs = DefaultTimeoutMs) override;
};

// Runs the commands of one task through another runner within a single time budget, so
// that a task of several steps on the user-interface thread never outlasts it: each
// command may take what is left of the budget, and once it is spent the remaining
// commands are not started.
class TimeBudgetRunner final : public ProcessRunner {
public:
    TimeBudgetRunner(ProcessRunner& runner, const Clock& clock, int budgetMs);
    ProcessResult run(const QString& program, const QStringList& arguments,
                      int timeoutMs = DefaultTimeoutMs) override;
    // Whether a command was refused or cut short because the budget ran out.
    bool budgetExceeded() const { return m_exceeded; }

private:
    ProcessRunner& m_runner;
    const Clock& m_clock;
    qint64 m_deadline;
    bool m_exceeded = false;
};
