// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the POP3 dialogue fed any server bytes, cut at any points, must end in
// an outcome, send the password only as its PASS (never after a failed TLS upgrade), and
// never stall.
#include "TimeBudget.h"
#include "mail/Pop3Dialogue.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return withinTimeBudget(size, [&] {
        if (size < 1)
            return;
        // The first byte picks the read size, so replies split over reads are tried too.
        const size_t chunk = 1 + data[0] % 64;
        const QByteArrayView bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
        Pop3Dialogue dialogue(QStringLiteral("ann"), QStringLiteral("secret"));
        bool tlsAsked = false;
        for (qsizetype at = 0; at < bytes.size() && !dialogue.isFinished(); at += chunk) {
            Pop3Dialogue::Step step =
                dialogue.received(bytes.sliced(at, std::min<qsizetype>(chunk, bytes.size() - at)));
            if (step.send.contains("secret") && !dialogue.passwordSent())
                std::abort(); // the password goes out only as the dialogue's PASS
            if (step.startTls) {
                tlsAsked = true;
                step = (data[0] & 0x80) ? dialogue.tlsReady() : dialogue.tlsFailed();
            }
            if (step.finished != dialogue.isFinished())
                std::abort();
        }
        if (!dialogue.isFinished()) {
            const Pop3Dialogue::Step last = dialogue.connectionLost();
            if (!last.finished || !dialogue.isFinished())
                std::abort();
        }
        // After a failed upgrade the password was never sent.
        if (tlsAsked && !(data[0] & 0x80) && dialogue.passwordSent())
            std::abort();
    });
}
