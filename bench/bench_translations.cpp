// SPDX-License-Identifier: GPL-3.0-or-later
// What loading the translations adds to start-up with LANG=de_DE.UTF-8: finding and loading
// plumora_de.qm beside the program and Qt's own qtbase_de.qm, and installing both; and, for
// comparison, the English start, which looks for no file.
#include "BenchMain.h"
#include "app/TranslationLoader.h"

#include <QCoreApplication>
#include <QLocale>

namespace {

void load(benchmark::State& state, bool german) {
    const QStringList languages =
        german ? QLocale::system().uiLanguages() : QStringList{QStringLiteral("en-US")};
    for (auto _ : state) {
        const auto loader = TranslationLoader::forProgram(QStringLiteral(PLUMORA_BIN_DIR));
        const QString language = loader->load(languages);
        if (german && (language != QLatin1String("de") || loader->files().size() != 2)) {
            state.SkipWithError("the German files did not load (is qt6-translations-l10n there?)");
            break;
        }
    }
}

} // namespace

int main(int argc, char* argv[]) {
    // The user's settings as a German desktop has them, read by the system locale at start.
    qunsetenv("LANGUAGE");
    qunsetenv("LC_ALL");
    qunsetenv("LC_MESSAGES");
    qputenv("LANG", "de_DE.UTF-8");
    Bench::standard(benchmark::RegisterBenchmark("translations_load_de", load, true), 10, 20);
    Bench::standard(benchmark::RegisterBenchmark("translations_load_en", load, false), 10, 20);
    return Bench::run<QCoreApplication>(argc, argv);
}
