#include "data/LazyLibrary.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

namespace zentrik {
namespace {

TEST(LazyLibrary, AMissingLibraryIsReportedWithTheLoadersReasonEveryTime) {
  LazyLibrary library("libzentrik-none.so.0");
  int look_ups = 0;
  for (int attempt = 0; attempt < 2; ++attempt) {
    EXPECT_FALSE(library.open([&](LazyLibrary&) { ++look_ups; }));
    EXPECT_EQ(library.error(),
              "libzentrik-none.so.0 could not be loaded: libzentrik-none.so.0: cannot open shared object file: "
              "No such file or directory");
  }
  EXPECT_EQ(look_ups, 0);
}

TEST(LazyLibrary, AMissingFunctionMakesTheLibraryUnusable) {
  LazyLibrary library("libm.so.6");
  double (*cosine)(double) = nullptr;
  void (*missing)() = nullptr;
  EXPECT_FALSE(library.open([&](LazyLibrary& opened) {
    opened.find("zentrik_no_such_function", missing);
    opened.find("cos", cosine);
  }));
  EXPECT_EQ(missing, nullptr);
  EXPECT_EQ(library.error(), "libm.so.6 could not be loaded: it has no function zentrik_no_such_function");
}

TEST(LazyLibrary, ThreadsAskingTogetherShareOneOpeningAndCallItsFunctions) {
  LazyLibrary library("libm.so.6");
  double (*cosine)(double) = nullptr;
  std::atomic<int> look_ups = 0;
  std::atomic<int> answered = 0;
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i)
    threads.emplace_back([&] {
      bool ready = library.open([&](LazyLibrary& opened) {
        ++look_ups;
        opened.find("cos", cosine);
      });
      if (ready && cosine(0.5) == std::cos(0.5)) ++answered;
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(look_ups.load(), 1);
  EXPECT_EQ(answered.load(), 8);
  EXPECT_EQ(library.error(), "");
}

}  // namespace
}  // namespace zentrik
