// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/spell/SpellChecker.h"

#include <QFile>
#include <QTemporaryDir>

// A small dictionary of our own in a temporary folder, and the user's word list beside it.
struct SpellFixture {
    QTemporaryDir dir;

    SpellFixture() {
        write("en_TEST.aff", "SET UTF-8\nTRY esianrtolcdugmphbyfvkwz'\n");
        write("en_TEST.dic", "7\nhello\nworld\nspell\nchecker\ncat\ndog\ndon't\n");
    }
    void write(const QString& name, const QByteArray& text) const {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::WriteOnly))
            f.write(text);
    }
    QByteArray read(const QString& name) const {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    SpellDictionary dictionary() const {
        return {dir.filePath("en_TEST.aff"), dir.filePath("en_TEST.dic")};
    }
    QString lex() const { return dir.filePath("SpellUS.lex"); }
};
