#include "platform/ProcessRunner.h"

#include <QProcess>

ProcessResult SystemProcessRunner::run(const QString& program, const QStringList& arguments) {
    ProcessResult result;
    QProcess process;
    process.start(program, arguments, QIODevice::ReadOnly);
    if (!process.waitForStarted(m_timeoutMs))
        return result;
    result.started = true;
    if (!process.waitForFinished(m_timeoutMs)) {
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
