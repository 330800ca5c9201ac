#include "app/single_instance.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace zr78 {

namespace {

constexpr char kRaiseRequest[] = "raise\n";
constexpr int kConnectWaitMs = 1000;
constexpr int kWriteWaitMs = 1000;

}  // namespace

SingleInstance::SingleInstance(std::string name) : name_(std::move(name)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName(const std::string& name) {
  const QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
  return QString::fromStdString(name) + QStringLiteral("-") + user;
}

bool SingleInstance::claim() {
  if (lock_.tryAcquire(name_)) {
    listen();
    return true;
  }
  askFirstToRaise();
  return false;
}

void SingleInstance::listen() {
  const QString server = serverName(name_);
  // A socket left behind by a crashed holder: the lock is ours, so it is stale.
  QLocalServer::removeServer(server);
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, &SingleInstance::onConnection);
  server_->listen(server);
}

void SingleInstance::askFirstToRaise() const {
  QLocalSocket socket;
  socket.connectToServer(serverName(name_));
  if (!socket.waitForConnected(kConnectWaitMs)) return;
  socket.write(kRaiseRequest);
  socket.waitForBytesWritten(kWriteWaitMs);
  socket.disconnectFromServer();
}

void SingleInstance::onConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (!socket->readAll().contains("raise")) return;
      ++raiseRequests_;
      if (onRaise_) onRaise_();
    });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
  }
}

}  // namespace zr78
