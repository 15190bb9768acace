// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>

// A plain POP3 server on the loopback address: a greeting, then one reply per command word
// from a table. It records the command lines it was sent.
class Pop3Stub : public QTcpServer {
public:
    QByteArray greeting = "+OK ready\r\n";
    QHash<QByteArray, QByteArray> replies{{"CAPA", "-ERR\r\n"},
                                          {"USER", "+OK\r\n"},
                                          {"PASS", "+OK\r\n"},
                                          {"STAT", "+OK 3 4096\r\n"},
                                          {"QUIT", "+OK bye\r\n"}};
    QList<QByteArray> seen;
    int connections = 0;

    Pop3Stub() { listen(QHostAddress::LocalHost); }

protected:
    void incomingConnection(qintptr fd) override {
        ++connections;
        auto* s = new QTcpSocket(this);
        s->setSocketDescriptor(fd);
        connect(s, &QTcpSocket::readyRead, this, [this, s] {
            while (s->canReadLine()) {
                const QByteArray line = s->readLine().trimmed();
                seen << line;
                s->write(replies.value(line.split(' ').constFirst()));
            }
        });
        s->write(greeting);
    }
};
