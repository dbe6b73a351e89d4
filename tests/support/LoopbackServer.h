#pragma once
// A web server on the loopback interface for tests of real downloads.
#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QString>
#include <QTcpServer>

class QTcpSocket;

// Answers each request with the response given for its path, or with one fixed response for every
// path; a path without a response gets 404. An empty response never answers.
class LoopbackServer {
public:
    explicit LoopbackServer(QByteArray response);
    explicit LoopbackServer(QMap<QByteArray, QByteArray> byPath);

    QString url(const QString& path) const; // "http://127.0.0.1:<port><path>"
    QByteArray request() const { return m_request; } // every request received, in order
    QList<QByteArray> paths() const { return m_paths; } // the paths asked for, in order

private:
    void listen();
    void answer(QTcpSocket* socket);

    QByteArray m_response;
    QMap<QByteArray, QByteArray> m_byPath;
    bool m_answerByPath = false;
    QByteArray m_request;
    QList<QByteArray> m_paths;
    QHash<QTcpSocket*, QByteArray> m_pending;
    QTcpServer m_server; // last: its sockets go before the state they report to
};

// A complete HTTP/1.1 response with its body ("200 OK", "404 Not Found").
QByteArray Http(const char* status, const QByteArray& body);
