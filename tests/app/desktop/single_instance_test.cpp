// One instance per user: a second process hands its command line to the listener
// in this process, whose event loop runs meanwhile; the length rule of the second
// start; sockets left behind by a crashed instance; listeners that never answer.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "app/desktop/SingleInstance.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

// A socket of this test alone: tests running side by side and the user's own
// zentrik3 are left alone.
QString testSocket() {
  const char* test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  const QString path = QDir::temp().filePath(QStringLiteral("zentrik-si-%1-%2").arg(::getpid()).arg(test));
  QFile::remove(path);
  return path;
}

// Runs the helper as a second start while this process keeps handling its events;
// what it printed: "Passed", "NoInstance" or "Failed".
QString secondStart(const QString& socket, const QString& text, int timeout_ms = 5000) {
  QProcess process;
  process.start(QStringLiteral(SINGLE_INSTANCE_HELPER), {socket, QString::number(timeout_ms), text});
  EXPECT_TRUE(QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 20000));
  return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// The whole second start on a thread of this process, reporting through ui.
bool passBeside(const std::string& command_line, ScriptedUi& ui, const QString& socket, int timeout_ms = 5000) {
  std::atomic<bool> done = false, result = false;
  std::thread second([&] {
    result = SingleInstance::passToRunningInstance(command_line, ui, timeout_ms, socket);
    done = true;
  });
  EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 20000));
  second.join();
  return result;
}

QString textAt(const QSignalSpy& spy, int i) { return spy.at(i).at(0).toString(); }

TEST(SingleInstance, SecondProcessHandsItsCommandLineOver) {
  EXPECT_EQ(SingleInstance::serverName(), QStringLiteral("Zentrik_MAIN-%1").arg(::getuid()));
  const QString socket = testSocket();
  SingleInstance instance(socket);
  ASSERT_TRUE(instance.listen());
  QSignalSpy received(&instance, &SingleInstance::commandLineReceived);

  // Exactly 255 characters are passed whole; an empty command line still arrives,
  // so that the running instance comes to the front.
  const QString names = QStringLiteral("/data/a.dat \"/data/my b.dat\" http://example.com/c.dat");
  const QString longest(255, QLatin1Char('n'));
  for (const QString& text : {names, longest, QString()}) EXPECT_EQ(secondStart(socket, text), QStringLiteral("Passed"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return received.count() == 3; }, 5000));
  EXPECT_EQ(textAt(received, 0), names);
  EXPECT_EQ(textAt(received, 1), longest);
  EXPECT_EQ(textAt(received, 2), QString());

  // Another start cannot take the name while this instance holds it.
  SingleInstance second(socket);
  EXPECT_FALSE(second.listen());
  EXPECT_EQ(second.errorString(), QStringLiteral("Another instance is running."));
}

TEST(SingleInstance, NobodyListensOrOnlyASocketIsLeft) {
  const QString socket = testSocket();
  ScriptedUi ui;
  EXPECT_EQ(secondStart(socket, QStringLiteral("a.dat")), QStringLiteral("NoInstance"));
  EXPECT_FALSE(SingleInstance::passToRunningInstance(std::string(300, 'x'), ui, 2000, socket));

  // The socket of a server that vanished without closing it, as a crash leaves it;
  // then a plain file at the socket's path.
  const QByteArray path = QFile::encodeName(socket);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.constData(), sizeof(address.sun_path) - 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  ASSERT_EQ(::listen(fd, 1), 0);
  ::close(fd);
  for (bool dead_socket : {true, false}) {
    SCOPED_TRACE(dead_socket ? "dead socket" : "plain file");
    if (!dead_socket) {
      QFile file(socket);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QFile::exists(socket));
    EXPECT_FALSE(passBeside("a.dat", ui, socket));
    SingleInstance instance(socket);
    ASSERT_TRUE(instance.listen());
    QSignalSpy received(&instance, &SingleInstance::commandLineReceived);
    EXPECT_TRUE(passBeside("b.dat", ui, socket));
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.count() == 1; }, 5000));
    EXPECT_EQ(textAt(received, 0), QStringLiteral("b.dat"));
  }
  EXPECT_FALSE(QFile::exists(socket));  // the instance took its socket away
  EXPECT_TRUE(ui.messages().empty());
}

TEST(SingleInstance, TooLongOrUnansweredHandOversAreReported) {
  ScriptedUi ui;
  EXPECT_TRUE(SingleInstance::checkHandOverLength(std::string(255, 'a'), ui));
  EXPECT_TRUE(ui.messages().empty());

  const QString socket = testSocket();
  {
    SingleInstance instance(socket);
    ASSERT_TRUE(instance.listen());
    QSignalSpy received(&instance, &SingleInstance::commandLineReceived);
    // 256 characters are refused; the running instance only comes to the front.
    EXPECT_TRUE(passBeside(std::string(256, 'p'), ui, socket));
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.count() == 1; }, 5000));
    EXPECT_EQ(textAt(received, 0), QString());
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.lastMessage().text, "Too many files dropped or filenames too long!");
    EXPECT_EQ(ui.lastMessage().caption, "Cant' process request!");
  }

  QLocalServer silent;  // takes connections, answers nothing
  ASSERT_TRUE(silent.listen(socket));
  EXPECT_EQ(secondStart(socket, QStringLiteral("a.dat"), 300), QStringLiteral("Failed"));
  EXPECT_TRUE(passBeside("a.dat", ui, socket, 300));
  ASSERT_EQ(ui.messages().size(), 2u);
  EXPECT_EQ(ui.lastMessage().text, "Unable to pass filename.  Please try again later.");
  EXPECT_EQ(ui.lastMessage().caption, "No data chanel available.");
}

TEST(SingleInstance, TheReceiverTakesAtMost256CharactersAndDropsEndlessTalk) {
  const QString socket = testSocket();
  SingleInstance instance(socket);
  ASSERT_TRUE(instance.listen());
  QSignalSpy received(&instance, &SingleInstance::commandLineReceived);

  QLocalSocket overlong, endless;
  for (QLocalSocket* sender : {&overlong, &endless}) {
    sender->connectToServer(socket);
    ASSERT_TRUE(sender->waitForConnected(2000));
  }
  overlong.write(QByteArray(300, 'x') + QByteArray(1, '\0'));
  endless.write(QByteArray(5000, 'y'));  // never ends its text
  ASSERT_TRUE(QTest::qWaitFor([&] { return overlong.bytesAvailable() > 0; }, 5000));
  EXPECT_EQ(overlong.read(1), QByteArray(1, '\x06'));
  EXPECT_TRUE(QTest::qWaitFor([&] { return endless.state() == QLocalSocket::UnconnectedState; }, 5000));
  ASSERT_EQ(received.count(), 1);
  EXPECT_EQ(textAt(received, 0), QString(256, QLatin1Char('x')));
}

}  // namespace
}  // namespace zentrik
