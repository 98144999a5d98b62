// One zentrik3 per user: the first start listens on a local socket, and a second
// start hands it its command line there and ends. The program's start-up uses both
// sides; the main window takes each text handed over (raising itself and plotting
// the names in it).
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

#include <string>

#include "ui/Ui.h"

namespace zentrik {

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  // The longest command line a second start hands over, and the most the running
  // instance takes from one hand-over.
  static constexpr int kMaxHandOver = 255;
  static constexpr int kMaxReceived = 256;

  // The socket's name: "Zentrik_MAIN-" and the user id.
  static QString serverName();
  // Where that socket lives: in the user's runtime folder when there is one (no
  // other user can take the name there), else Qt's default place for local sockets.
  static QString serverPath();

  // name: the socket to listen on; tests give one of their own.
  explicit SingleInstance(QString name = serverPath(), QObject* parent = nullptr);
  ~SingleInstance() override;

  // Takes the name for this, the first instance. A socket left behind by an
  // instance that crashed is removed first; false when another instance answers on
  // the name or the socket cannot be made (errorString() says why).
  bool listen();
  bool isListening() const;
  QString errorString() const;

  enum class HandOver { NoInstance, Passed, Failed };
  // The second start's side: passes commandLine to the instance listening on name
  // and waits up to timeoutMs for its acknowledgement. NoInstance when nobody
  // listens; Failed when the instance did not take the text in time. An empty text
  // is passed too: the running instance comes to the front.
  static HandOver handOver(const QString& commandLine, int timeoutMs, const QString& name = serverPath());

  // The length rule of a second start: a command line longer than 255 characters
  // gets "Too many files dropped or filenames too long!"; false then.
  static bool checkHandOverLength(const std::string& command_line, Ui& ui);

  // The whole second start: true when an instance runs, which has then been given
  // the command line (or, when it is too long or could not be passed, the user has
  // been told) and brought to the front; this process should end. False when this
  // start is the only one.
  static bool passToRunningInstance(const std::string& command_line, Ui& ui, int timeoutMs = 10000,
                                    const QString& name = serverPath());

 signals:
  // A command line handed over by another start, at most 256 characters.
  void commandLineReceived(const QString& text);

 private:
  void acceptConnections();

  QString name_;
  QLocalServer server_;
  bool another_instance_ = false;  // listen() found one answering on the name
};

}  // namespace zentrik
