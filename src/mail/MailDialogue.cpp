// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/MailDialogue.h"

MailDialogue::Step MailDialogue::tlsFailed() {
    Step step;
    if (!isFinished())
        finish(Outcome::Failed, step);
    return step;
}

MailDialogue::Step MailDialogue::connectionLost() {
    Step step;
    if (!isFinished())
        finish(Outcome::Failed, step);
    return step;
}

void MailDialogue::finish(Outcome outcome, Step& step) {
    if (outcome == Outcome::Failed && m_count > 0)
        outcome = Outcome::NewMail;
    m_outcome = outcome;
    step.finished = true;
    finished();
}

bool safeMailArgument(const QByteArray& value) {
    return !value.contains('\r') && !value.contains('\n') && !value.contains('\0');
}
