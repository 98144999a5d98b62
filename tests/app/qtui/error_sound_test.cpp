// The tones of the error sound, and that playing them ends.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <atomic>
#include <chrono>
#include <thread>

#include "app/qtui/ErrorSound.h"

namespace zentrik {
namespace {

// Upward zero crossings of samples [from, to): one per period of a sine.
int upward_crossings(const std::vector<int16_t>& samples, std::size_t from, std::size_t to) {
  int crossings = 0;
  for (std::size_t i = from + 1; i < to; ++i)
    if (samples[i - 1] < 0 && samples[i] >= 0) ++crossings;
  return crossings;
}

TEST(ErrorSound, TwoTonesOf100MillisecondsAt800ThenAt400Hertz) {
  for (int rate : {ErrorSound::kSampleRate, 8000}) {
    SCOPED_TRACE(rate);
    const std::vector<int16_t> samples = ErrorSound::samples(rate);
    const std::size_t tone = static_cast<std::size_t>(rate / 10);
    ASSERT_EQ(samples.size(), 2 * tone);
    // 80 periods of 800 Hz and 40 of 400 Hz in 100 ms each; a period may straddle the edges.
    EXPECT_NEAR(upward_crossings(samples, 0, tone), 80, 1);
    EXPECT_NEAR(upward_crossings(samples, tone, 2 * tone), 40, 1);
    int peak = 0;
    for (int16_t sample : samples) peak = std::max(peak, std::abs(static_cast<int>(sample)));
    EXPECT_GT(peak, 8000);  // audible
    EXPECT_LT(peak, 32767);  // never clipped
    EXPECT_LT(std::abs(samples.front()), 100);  // faded in and out: no click
    EXPECT_LT(std::abs(samples.back()), 100);
  }
}

TEST(ErrorSound, PlaysOnAWorkerAndEndsWithTheToneOrTheFallback) {
  std::atomic<int> fallbacks{0};
  ErrorSound sound([&] { ++fallbacks; });
  sound.play();
  QElapsedTimer waited;
  waited.start();
  while (sound.playing() && waited.elapsed() < 5000) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_FALSE(sound.playing());
  EXPECT_LE(fallbacks.load(), 1);
  sound.play();  // a second sound after the first has ended plays as well
}

}  // namespace
}  // namespace zentrik
