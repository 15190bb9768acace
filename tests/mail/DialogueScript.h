// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mail/MailDialogue.h"

#include <QList>

// Plays a script against a mail dialogue. Script entries are bytes the server sends, or
// these driver events.
inline const QByteArray TlsUp = "<tls up>";
inline const QByteArray TlsDown = "<tls failed>";
inline const QByteArray Lost = "<connection lost>";

struct Run {
    QByteArray sent;
    int announced = 0; // the count at the announcing step
    bool tlsRequested = false;
    bool finishedEarly = false; // a step before the last one said finished
    bool finishedAtEnd = false;
};

inline Run play(MailDialogue& d, const QList<QByteArray>& script) {
    Run run;
    for (qsizetype i = 0; i < script.size(); ++i) {
        const QByteArray& in = script.at(i);
        const MailDialogue::Step step = in == TlsUp     ? d.tlsReady()
                                        : in == TlsDown ? d.tlsFailed()
                                        : in == Lost    ? d.connectionLost()
                                                        : d.received(in);
        run.sent += step.send;
        if (step.announce)
            run.announced = d.count();
        run.tlsRequested |= step.startTls;
        if (step.finished)
            (i + 1 == script.size() ? run.finishedAtEnd : run.finishedEarly) = true;
    }
    return run;
}
