// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>

// A small HTTP/1.1 server on 127.0.0.1 for protocol tests: every request is read whole
// (Content-Length bodies), recorded, and answered by `handler`.
class HttpResponder : public QObject {
public:
    struct Request {
        QByteArray method;
        QByteArray path;
        QList<QPair<QByteArray, QByteArray>> headers;
        QByteArray body;
        QByteArray header(const QByteArray& name) const {
            for (const auto& [n, v] : headers)
                if (n.compare(name, Qt::CaseInsensitive) == 0)
                    return v;
            return {};
        }
    };
    struct Response {
        int status = 200;
        QList<QPair<QByteArray, QByteArray>> headers;
        QByteArray body;
    };
    using Handler = std::function<Response(const Request&)>;

    Handler handler;
    QList<Request> requests;

    HttpResponder() {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = m_server.nextPendingConnection()) {
                s->setParent(this);
                auto* buffer = new QByteArray;
                connect(s, &QObject::destroyed, this, [buffer] { delete buffer; });
                connect(s, &QTcpSocket::readyRead, s, [this, s, buffer] {
                    *buffer += s->readAll();
                    serve(s, *buffer);
                });
                connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    quint16 port() const { return m_server.serverPort(); }
    QByteArray base() const { return "http://127.0.0.1:" + QByteArray::number(port()); }

private:
    void serve(QTcpSocket* s, QByteArray& buffer) {
        for (;;) {
            const qsizetype end = buffer.indexOf("\r\n\r\n");
            if (end < 0)
                return;
            Request r;
            const QList<QByteArray> lines = buffer.left(end).split('\n');
            const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
            r.method = first.value(0);
            r.path = first.value(1);
            qsizetype length = 0;
            for (qsizetype i = 1; i < lines.size(); ++i) {
                const qsizetype colon = lines[i].indexOf(':');
                if (colon < 0)
                    continue;
                const QByteArray name = lines[i].left(colon).trimmed();
                const QByteArray value = lines[i].mid(colon + 1).trimmed();
                r.headers.append({name, value});
                if (name.compare("Content-Length", Qt::CaseInsensitive) == 0)
                    length = value.toLongLong();
            }
            if (buffer.size() < end + 4 + length)
                return;
            r.body = buffer.mid(end + 4, length);
            buffer.remove(0, end + 4 + length);
            requests.append(r);
            const Response a = handler ? handler(r) : Response{404, {}, {}};
            QByteArray out = "HTTP/1.1 " + QByteArray::number(a.status) + " X\r\n";
            for (const auto& [n, v] : a.headers)
                out += n + ": " + v + "\r\n";
            out += "Content-Length: " + QByteArray::number(a.body.size()) + "\r\n\r\n" + a.body;
            s->write(out);
        }
    }

    QTcpServer m_server;
};
