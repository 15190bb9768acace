#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

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
    virtual ~ProcessRunner() = default;
    virtual ProcessResult run(const QString& program, const QStringList& arguments) = 0;
};

class SystemProcessRunner final : public ProcessRunner {
public:
    explicit SystemProcessRunner(int timeoutMs = 15000) : m_timeoutMs(timeoutMs) {}
    // A program still running after the time-out is killed and counts as failed.
    ProcessResult run(const QString& program, const QStringList& arguments) override;

private:
    int m_timeoutMs;
};
