#include "SingleInstance.h"

#include <QLocalSocket>

#include "platform/InstanceName.h"

namespace qx::redirect {

QString instanceServerName() {
  return redirectInstanceName();
}

QString strangerText() {
  return QStringLiteral(
             "%1 is held by another user; a second start of this utility will open "
             "a second window.")
      .arg(instanceServerName());
}

RunningCopy askRunningCopyToRaise(int timeoutMs) {
  const QString name = instanceServerName();
  if (!socketAbsentOrOurs(name)) return RunningCopy::Stranger;
  QLocalSocket socket;
  socket.connectToServer(name);
  if (!socket.waitForConnected(timeoutMs)) return RunningCopy::None;
  socket.write("raise\n");
  socket.waitForBytesWritten(timeoutMs);
  socket.disconnectFromServer();
  return RunningCopy::Raised;
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
  const QString name = instanceServerName();
  if (!socketAbsentOrOurs(name)) return false;
#ifdef _WIN32
  // A Windows named pipe has no file: the option makes its access list this user alone.
  server_.setSocketOptions(QLocalServer::UserAccessOption);
#endif
  // No socket options on a socket file: with them Qt binds elsewhere and renames over an
  // existing socket, which would let a second copy take the name from the first.
  if (server_.listen(name)) return true;
  // A socket file left by a copy that crashed: nobody answers on it, so it can go.
  if (server_.serverError() == QAbstractSocket::AddressInUseError &&
      askRunningCopyToRaise(300) == RunningCopy::None) {
    QLocalServer::removeServer(name);
    return server_.listen(name);
  }
  return false;
}

}  // namespace qx::redirect
