#include "app/desktop/SingleInstance.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>

#include <unistd.h>

#include <memory>

namespace zentrik {

namespace {

// A hand-over is the text in UTF-8 ended by a zero byte; the running instance
// answers with one acknowledgement byte once it has the text.
constexpr char kEnd = '\0';
constexpr char kAcknowledge = '\x06';
// A connection that sends no complete text in this time, or more bytes than any
// command line holds, is dropped.
constexpr int kReceiveTimeoutMs = 5000;
constexpr qsizetype kMaxBytes = 4096;
// A live instance answers a connection at once; this only bounds a hung one.
constexpr int kProbeTimeoutMs = 1000;

}  // namespace

QString SingleInstance::serverName() { return QStringLiteral("Zentrik_MAIN-%1").arg(::getuid()); }

QString SingleInstance::serverPath() {
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) return QDir(runtime).filePath(serverName());
  return serverName();
}

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), name_(std::move(name)) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::listen() {
  if (server_.isListening()) return true;
  // Two starts at the same moment must not both take the name: the second waits
  // here and then finds the first.
  const QString path = QFileInfo(name_).isAbsolute() ? name_ : QDir(QDir::tempPath()).filePath(name_);
  QLockFile lock(path + QStringLiteral(".lock"));
  lock.tryLock(kProbeTimeoutMs);
  // A running instance answers on the name. A crashed one left only a socket file
  // (or anything else) that nobody answers on; it goes, or it would stop every start.
  {
    QLocalSocket probe;
    probe.connectToServer(name_);
    if (probe.waitForConnected(kProbeTimeoutMs)) {
      probe.abort();
      another_instance_ = true;
      return false;
    }
  }
  another_instance_ = false;
  QLocalServer::removeServer(name_);
  return server_.listen(name_);
}

bool SingleInstance::isListening() const { return server_.isListening(); }

QString SingleInstance::errorString() const {
  if (another_instance_) return QStringLiteral("Another instance is running.");
  return server_.errorString();
}

void SingleInstance::acceptConnections() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    auto received = std::make_shared<QByteArray>();
    auto done = std::make_shared<bool>(false);

    auto read = [this, socket, received, done] {
      if (*done) return;
      received->append(socket->readAll());
      const qsizetype end = received->indexOf(kEnd);
      if (end < 0) {
        if (received->size() > kMaxBytes) {
          *done = true;
          socket->abort();
        }
        return;
      }
      *done = true;
      const QString text = QString::fromUtf8(received->left(std::min<qsizetype>(end, kMaxReceived)));
      // The sender may end as soon as it has the acknowledgement; the text is then
      // handled here, however long plotting its names takes.
      socket->write(&kAcknowledge, 1);
      socket->flush();
      socket->disconnectFromServer();
      emit commandLineReceived(text);
    };
    connect(socket, &QLocalSocket::readyRead, this, read);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(kReceiveTimeoutMs, socket, [socket, done] {
      if (!*done) {
        *done = true;
        socket->abort();
      }
    });
    // Text that arrived before the connection was taken gives no further signal.
    if (socket->bytesAvailable() > 0) read();
  }
}

SingleInstance::HandOver SingleInstance::handOver(const QString& commandLine, int timeoutMs, const QString& name) {
  QDeadlineTimer deadline(timeoutMs);
  QLocalSocket socket;
  socket.connectToServer(name);
  if (!socket.waitForConnected(timeoutMs)) {
    switch (socket.error()) {
      case QLocalSocket::ServerNotFoundError:
      case QLocalSocket::ConnectionRefusedError:
        return HandOver::NoInstance;  // no socket, or one left by an instance that is gone
      default:
        return HandOver::Failed;
    }
  }
  QByteArray message = commandLine.toUtf8();
  message.append(kEnd);
  if (socket.write(message) != message.size()) return HandOver::Failed;
  while (socket.bytesToWrite() > 0) {
    if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) return HandOver::Failed;
  }
  while (socket.bytesAvailable() < 1) {
    if (deadline.hasExpired() || !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
      return HandOver::Failed;
  }
  char answer = 0;
  if (!socket.getChar(&answer) || answer != kAcknowledge) return HandOver::Failed;
  return HandOver::Passed;
}

bool SingleInstance::checkHandOverLength(const std::string& command_line, Ui& ui) {
  if (command_line.size() <= static_cast<std::size_t>(kMaxHandOver)) return true;
  ui.showError("Too many files dropped or filenames too long!", "Cant' process request!");
  return false;
}

bool SingleInstance::passToRunningInstance(const std::string& command_line, Ui& ui, int timeoutMs,
                                           const QString& name) {
  if (command_line.size() > static_cast<std::size_t>(kMaxHandOver)) {
    // Too long to pass: the running instance, if any, only comes to the front.
    if (handOver(QString(), timeoutMs, name) == HandOver::NoInstance) return false;
    checkHandOverLength(command_line, ui);
    return true;
  }
  switch (handOver(QString::fromStdString(command_line), timeoutMs, name)) {
    case HandOver::NoInstance:
      return false;
    case HandOver::Passed:
      return true;
    case HandOver::Failed:
      ui.showError("Unable to pass filename.  Please try again later.", "No data chanel available.");
      return true;
  }
  return true;
}

}  // namespace zentrik
