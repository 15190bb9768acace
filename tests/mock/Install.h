// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/ProgramSchema.h"
#include "data/DataFile.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "shell/AppContext.h"

#include <QTemporaryDir>
#include <QTest>

#include <optional>

// What a test of the whole program starts from: a program folder holding the data template
// (the data file is made when the program starts), a clock standing at `start` or the fake
// clock's own default, and fake desktop services.
struct Install {
    QTemporaryDir dir;
    FakeClock clock;
    FakeDesktop desktop;
    AppContext context = desktop.context(AppPaths(dir.path(), dir.path()), clock);

    explicit Install(std::optional<QDateTime> start = std::nullopt) {
        if (start)
            clock.set(*start);
        programSchema().createTemplate(context.paths.templateFile(), QDate(2026, 1, 1));
    }

    void exec(const char* sql) {
        DataFile db(context.paths.dataFile());
        QVERIFY2(db.exec(QLatin1String(sql)), qPrintable(db.lastError()));
    }
    QVariant value(const char* sql) {
        return DataFile(context.paths.dataFile()).scalar(QLatin1String(sql));
    }
};
