// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/RemoteCommand.h"

namespace {

const QByteArray RequestStart = "do ";
const QByteArray DoneAnswer = "done\n";
const QByteArray RefusedAnswer = "refused ";
constexpr qsizetype MaxActionName = 32;

bool plainName(const QByteArray& name) {
    if (name.isEmpty() || name.size() > MaxActionName)
        return false;
    for (const char c : name)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'))
            return false;
    return true;
}

} // namespace

QByteArray RemoteCommand::encode() const {
    return RequestStart + action.toUtf8() + ' ' + argument.toUtf8().toBase64() + '\n';
}

bool RemoteCommand::isRequest(const QByteArray& line) {
    return line.startsWith(RequestStart);
}

std::optional<RemoteCommand> RemoteCommand::decode(const QByteArray& line) {
    if (!isRequest(line) || !line.endsWith('\n') || line.size() > MaxLine)
        return std::nullopt;
    const QByteArray body = line.mid(RequestStart.size()).chopped(1);
    const qsizetype space = body.indexOf(' ');
    const QByteArray name = space < 0 ? body : body.left(space);
    const QByteArray encoded = space < 0 ? QByteArray() : body.mid(space + 1);
    if (!plainName(name))
        return std::nullopt;
    const QByteArray::FromBase64Result argument =
        QByteArray::fromBase64Encoding(encoded, QByteArray::AbortOnBase64DecodingErrors);
    if (!argument)
        return std::nullopt;
    return RemoteCommand{QString::fromLatin1(name), QString::fromUtf8(*argument)};
}

QByteArray RemoteCommand::encodeAnswer(const QString& refusal) {
    if (refusal.isEmpty())
        return DoneAnswer;
    QString line = refusal;
    line.replace(u'\n', u' ');
    return RefusedAnswer + line.left(1024).toUtf8() + '\n';
}

std::optional<RemoteCommand::Answer> RemoteCommand::decodeAnswer(const QByteArray& line) {
    if (line == DoneAnswer)
        return Answer{true, {}};
    if (line.startsWith(RefusedAnswer) && line.endsWith('\n'))
        return Answer{false, QString::fromUtf8(line.mid(RefusedAnswer.size())).trimmed()};
    return std::nullopt;
}

QString RemoteCommand::unknownToolText(const QString& name, const QStringList& toolNames) {
    return tr("There is no tool \"%1\" to show. The tools are: %2.")
        .arg(name, toolNames.join(QStringLiteral(", ")));
}

QString RemoteCommand::refusal(const QStringList& toolNames) const {
    if (action == QLatin1String(NewNote) && argument.toUtf8().size() > MaxNoteBytes)
        return tr("The text for the new note is longer than %1 KB; no note was made.")
            .arg(MaxNoteBytes / 1024);
    if (action == QLatin1String(Show) && !toolNames.contains(argument))
        return unknownToolText(argument, toolNames);
    return {};
}
