#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for the update check: each path answers with a status
// and a body, never answers, or streams a body far larger than any update file while
// counting what it handed to the socket.
#include <QByteArray>
#include <QHostAddress>
#include <QMap>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

namespace bvq::test {

class LoopbackHttpServer : public QObject {
 public:
  enum class Mode {
    Answer,          // status line, Content-Length, body
    Silent,          // reads the request and never answers
    HugeAnnounced,   // Content-Length of kHugeBytes, then streams it
    HugeUnannounced, // no length, streams kHugeBytes and closes
  };
  static constexpr qint64 kHugeBytes = 48LL * 1024 * 1024;

  struct Route {
    Mode mode = Mode::Answer;
    int status = 200;
    QByteArray body;
  };

  LoopbackHttpServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection()) {
        socket->setParent(this);
        QObject::connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
      }
    });
  }

  void Add(const QByteArray& path, Route route) { routes_[path] = std::move(route); }
  QString Url(const QByteArray& path) const {
    return QString("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(QString::fromLatin1(path));
  }
  // The request head of the last request and how many body bytes the streaming routes wrote.
  const QByteArray& LastRequest() const { return lastRequest_; }
  qint64 StreamedBytes() const { return streamed_; }

 private:
  void Read(QTcpSocket* socket) {
    QByteArray& head = pending_[socket];
    head += socket->readAll();
    if (!head.contains("\r\n\r\n")) return;
    lastRequest_ = head;
    const QByteArray path = head.left(head.indexOf("\r\n")).split(' ').value(1);
    const Route route = routes_.value(path, Route{Mode::Answer, 404, "<html><body>Not found</body></html>"});
    switch (route.mode) {
      case Mode::Silent:
        return;
      case Mode::Answer:
        socket->write("HTTP/1.1 " + QByteArray::number(route.status) + " Status\r\nContent-Type: text/plain\r\n" +
                      "Content-Length: " + QByteArray::number(route.body.size()) + "\r\nConnection: close\r\n\r\n" +
                      route.body);
        socket->disconnectFromHost();
        return;
      case Mode::HugeAnnounced:
      case Mode::HugeUnannounced: {
        QByteArray header = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n";
        if (route.mode == Mode::HugeAnnounced) header += "Content-Length: " + QByteArray::number(kHugeBytes) + "\r\n";
        socket->write(header + "\r\n");
        // Writes the next piece only when the last one has gone: what the client refuses to
        // read stays unwritten.
        QObject::connect(socket, &QTcpSocket::bytesWritten, this, [this, socket](qint64) { Stream(socket); });
        Stream(socket);
        return;
      }
    }
  }

  void Stream(QTcpSocket* socket) {
    constexpr qint64 kPiece = 64 * 1024;
    if (socket->state() != QAbstractSocket::ConnectedState || socket->bytesToWrite() > 0) return;
    if (streamed_ >= kHugeBytes) {
      socket->disconnectFromHost();
      return;
    }
    // A valid update file followed by blank lines: only its size makes it wrong.
    static const QByteArray start = "5.10\r\nhttp://127.0.0.1/download.html\r\nBelvandorithquessal\r\n";
    static const QByteArray padding = QByteArray("\r\n").repeated(kPiece / 2);
    streamed_ += socket->write(streamed_ == 0 ? start + padding : padding);
  }

  QTcpServer server_;
  QMap<QByteArray, Route> routes_;
  QMap<QTcpSocket*, QByteArray> pending_;
  QByteArray lastRequest_;
  qint64 streamed_ = 0;
};

}  // namespace bvq::test
