// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

#include <unistd.h>

// Cases about permissions that root passes or fails for the wrong reason: run as root (as
// CI does), the test runs the case again as the unprivileged user "nobody" through setpriv.
// `testCase` is "function" or "function:row", as Qt Test takes it on its command line.
namespace Unprivileged {

inline bool isRoot() {
    return geteuid() == 0;
}

// Runs `testCase` of this test program as nobody; its output goes to the log on failure.
inline bool passes(const QString& testCase) {
    QProcess run;
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(QStringLiteral("setpriv"),
              {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
               QStringLiteral("--clear-groups"), QCoreApplication::applicationFilePath(),
               testCase});
    if (!run.waitForStarted() || !run.waitForFinished(60000)) {
        qWarning("setpriv could not run %s: %s", qPrintable(testCase),
                 qPrintable(run.errorString()));
        return false;
    }
    const QByteArray output = run.readAll();
    const bool passed =
        run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0 && !output.contains("SKIP");
    if (!passed)
        qWarning("%s as nobody:\n%s", qPrintable(testCase), output.constData());
    return passed;
}

} // namespace Unprivileged

// As root, runs the current test function (and row) as nobody and ends it with that result.
#define RUN_UNPRIVILEGED_AS_ROOT()                                                                 \
    do {                                                                                           \
        if (Unprivileged::isRoot()) {                                                              \
            QString testCase = QString::fromLatin1(QTest::currentTestFunction());                  \
            if (QTest::currentDataTag())                                                           \
                testCase += u':' + QString::fromLatin1(QTest::currentDataTag());                   \
            QVERIFY(Unprivileged::passes(testCase));                                               \
            return;                                                                                \
        }                                                                                          \
    } while (false)
