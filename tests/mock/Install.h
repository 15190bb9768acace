// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/ProgramSchema.h"
#include "data/DataFile.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "mock/MarkingTranslator.h"
#include "shell/AppContext.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

// How an install starts.
struct InstallSetup {
    std::optional<QDateTime> start; // the clock's time, or the fake clock's own default
    // Every text comes back marked (MarkingTranslator), from before anything is built.
    bool marked = false;
    // The data file is made at once, for a test that opens one tool without the program.
    bool dataFile = false;
};

// What a test of the program or of one tool starts from: a program folder holding the data
// template (the data file is made when the program starts) or the data file itself, a clock
// standing at a given time, and fake desktop services.
struct Install {
    std::unique_ptr<MarkingTranslator> translator; // first, so it sees every text
    QTemporaryDir dir;
    FakeClock clock;
    FakeDesktop desktop;
    AppContext context = desktop.context(AppPaths(dir.path(), dir.path()), clock);

    Install() : Install(InstallSetup{}) {}
    explicit Install(const InstallSetup& setup)
        : translator(setup.marked ? std::make_unique<MarkingTranslator>() : nullptr) {
        if (setup.start)
            clock.set(*setup.start);
        programSchema().createTemplate(setup.dataFile ? context.paths.dataFile()
                                                      : context.paths.templateFile(),
                                       QDate(2026, 1, 1));
    }

    // A tool's page as the main window shows it: sized, shown, then told it is in view.
    template <typename Page> std::unique_ptr<Page> showPage(int width, int height) {
        auto page = std::make_unique<Page>(context);
        page->resize(width, height);
        page->show();
        page->activated();
        return page;
    }

    void exec(const char* sql) {
        DataFile db(context.paths.dataFile());
        QVERIFY2(db.exec(QLatin1String(sql)), qPrintable(db.lastError()));
    }
    QVariant value(const char* sql) {
        return DataFile(context.paths.dataFile()).scalar(QLatin1String(sql));
    }
};
