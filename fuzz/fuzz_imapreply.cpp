// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the IMAP reply reader and the dialogue over it must survive any bytes,
// in any split, never hold more than a response may, and stay within their time budget.
#include "FuzzCheck.h"
#include "TimeBudget.h"
#include "mail/ImapDialogue.h"
#include "mail/ImapReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return withinTimeBudget(size, [&] {
        const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
        // The first byte chooses where the input is split in two reads.
        const qsizetype cut = size ? qsizetype(data[0]) % qsizetype(size) : 0;

        ImapReader whole(MailDialogue::MaxBufferedBytes);
        ImapReader split(MailDialogue::MaxBufferedBytes);
        QList<ImapResponse> a, b;
        const bool wholeOk = whole.feed(bytes, a);
        const bool splitOk = split.feed(bytes.first(cut), b) && split.feed(bytes.sliced(cut), b);
        // The same responses, however the bytes arrive.
        check(wholeOk == splitOk);
        check(a.size() == b.size());
        for (qsizetype i = 0; i < a.size(); ++i)
            check(a[i].tag == b[i].tag && a[i].tokens == b[i].tokens);

        ImapDialogue dialogue(QStringLiteral("u"), QStringLiteral("p"));
        dialogue.received(bytes.first(cut));
        dialogue.tlsReady();
        dialogue.received(bytes.sliced(cut));
        dialogue.connectionLost();
        check(dialogue.isFinished());
        check(dialogue.count() >= 0);
    });
}
