// The second start in the single-instance tests: hands its third argument to the
// instance listening on the socket named by the first, waiting at most the second
// (milliseconds), and prints the outcome.
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

#include "app/desktop/SingleInstance.h"

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  if (argc != 4) {
    std::fputs("usage: single_instance_helper SOCKET TIMEOUT_MS TEXT\n", stderr);
    return 3;
  }
  using zentrik::SingleInstance;
  switch (SingleInstance::handOver(QString::fromLocal8Bit(argv[3]), std::atoi(argv[2]), QString::fromLocal8Bit(argv[1]))) {
    case SingleInstance::HandOver::NoInstance:
      std::puts("NoInstance");
      return 1;
    case SingleInstance::HandOver::Passed:
      std::puts("Passed");
      return 0;
    case SingleInstance::HandOver::Failed:
      std::puts("Failed");
      return 2;
  }
  return 3;
}
