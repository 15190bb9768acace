// SPDX-License-Identifier: GPL-3.0-or-later
// Build tool: writes the data file template data.src from the program's schema (the
// settings' tables and its tools').
#include "app/ProgramSchema.h"

#include <QCoreApplication>
#include <QDate>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        QTextStream(stderr) << "usage: mkdatasrc OUTPUT YYYY-MM-DD\n";
        return 2;
    }
    const QDate madeOn = QDate::fromString(args.at(2), QStringLiteral("yyyy-MM-dd"));
    if (!madeOn.isValid()) {
        QTextStream(stderr) << "mkdatasrc: not a date: " << args.at(2) << '\n';
        return 2;
    }
    const QString error = programSchema().createTemplate(args.at(1), madeOn);
    if (!error.isEmpty()) {
        QTextStream(stderr) << "mkdatasrc: " << error << '\n';
        return 1;
    }
    return 0;
}
