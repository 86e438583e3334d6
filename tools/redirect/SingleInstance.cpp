#include "SingleInstance.h"

#include <QLocalSocket>

namespace qx::redirect {

bool askRunningCopyToRaise(int timeoutMs) {
  QLocalSocket socket;
  socket.connectToServer(QString::fromLatin1(kInstanceName));
  if (!socket.waitForConnected(timeoutMs)) return false;
  socket.write("raise\n");
  socket.waitForBytesWritten(timeoutMs);
  socket.disconnectFromServer();
  return true;
}

InstanceListener::InstanceListener(std::function<void()> raise, QObject* parent)
    : QObject(parent), raise_(std::move(raise)) {
  connect(&server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
        // Only whole lines count; anything else a stranger writes is ignored.
        while (socket->canReadLine()) {
          if (socket->readLine(64).trimmed() == "raise") raise_();
        }
        if (socket->bytesAvailable() > 64) socket->abort();
      });
    }
  });
}

bool InstanceListener::listen() {
  // No socket options: with them Qt binds elsewhere and renames over an existing socket, which
  // would let a second copy take the name from the first.
  if (server_.listen(QString::fromLatin1(kInstanceName))) return true;
  // A socket file left by a copy that crashed: nobody answers on it, so it can go.
  if (server_.serverError() == QAbstractSocket::AddressInUseError && !askRunningCopyToRaise(300)) {
    QLocalServer::removeServer(QString::fromLatin1(kInstanceName));
    return server_.listen(QString::fromLatin1(kInstanceName));
  }
  return false;
}

}  // namespace qx::redirect
