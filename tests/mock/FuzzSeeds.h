// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QTest>

#include <utility>

// Leaves sample inputs in $PLUMORA_FUZZ_SEEDS as a fuzz target's starting corpus; the test
// that calls it is skipped when the variable is not set.
#define PLUMORA_WRITE_FUZZ_SEEDS(...)                                                              \
    do {                                                                                           \
        const QString folder = qEnvironmentVariable("PLUMORA_FUZZ_SEEDS");                         \
        if (folder.isEmpty())                                                                      \
            QSKIP("PLUMORA_FUZZ_SEEDS is not set");                                                \
        QVERIFY(QDir().mkpath(folder));                                                            \
        const QList<std::pair<const char*, QByteArray>> seeds = __VA_ARGS__;                       \
        for (const auto& [name, data] : seeds) {                                                   \
            QFile f(QDir(folder).filePath(QString::fromLatin1(name)));                             \
            QVERIFY(f.open(QIODevice::WriteOnly));                                                 \
            QCOMPARE(f.write(data), data.size());                                                  \
        }                                                                                          \
    } while (false)
