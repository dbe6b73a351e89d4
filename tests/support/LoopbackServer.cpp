#include "support/LoopbackServer.h"

#include <QTcpSocket>

#include <gtest/gtest.h>

LoopbackServer::LoopbackServer(QByteArray response) : m_response(std::move(response)) { listen(); }

LoopbackServer::LoopbackServer(QMap<QByteArray, QByteArray> byPath) : m_byPath(std::move(byPath)), m_answerByPath(true)
{
    listen();
}

void LoopbackServer::listen()
{
    EXPECT_TRUE(m_server.listen(QHostAddress::LocalHost));
    QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
        while (QTcpSocket* s = m_server.nextPendingConnection()) {
            QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] { answer(s); });
            QObject::connect(s, &QTcpSocket::disconnected, s, [this, s] {
                m_pending.remove(s);
                s->deleteLater();
            });
        }
    });
}

void LoopbackServer::answer(QTcpSocket* socket)
{
    const QByteArray data = socket->readAll();
    m_request += data;
    QByteArray& pending = m_pending[socket];
    pending += data;
    if (!pending.contains("\r\n\r\n")) return;
    const QByteArray requestLine = pending.left(pending.indexOf("\r\n"));
    const QByteArray path = requestLine.split(' ').value(1);
    pending.clear();
    m_paths << path;
    QByteArray response = m_response;
    if (m_answerByPath) response = m_byPath.value(path, Http("404 Not Found", "<html>weg</html>"));
    if (response.isEmpty()) return;
    socket->write(response);
    socket->disconnectFromHost();
}

QString LoopbackServer::url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
}

QByteArray Http(const char* status, const QByteArray& body)
{
    return QByteArray("HTTP/1.1 ") + status + "\r\nContent-Type: text/plain\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}
