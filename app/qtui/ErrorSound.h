// The error sound that precedes error messages: 800 Hz for 100 ms, then 400 Hz for
// 100 ms, played through the desktop sound server on a worker thread so that the
// windows stay responsive. QtUi owns one; when no sound server can be reached the
// fallback (the toolkit's beep) is called instead.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace zentrik {

class ErrorSound {
 public:
  static constexpr int kSampleRate = 44100;
  static constexpr int kToneMilliseconds = 100;
  static constexpr double kFirstFrequency = 800;
  static constexpr double kSecondFrequency = 400;

  // Called on the worker thread when the sound could not be played.
  explicit ErrorSound(std::function<void()> fallback);
  ~ErrorSound();  // waits for a sound still playing
  ErrorSound(const ErrorSound&) = delete;
  ErrorSound& operator=(const ErrorSound&) = delete;

  // Starts the two tones and returns at once; while a sound is still playing a
  // further call is dropped (the two would only blur into each other).
  void play();
  bool playing() const { return playing_.load(); }

  // The two tones as signed 16-bit mono samples at sample_rate: a sine of each
  // frequency, with a few milliseconds of fade at the ends so the speaker does not click.
  static std::vector<int16_t> samples(int sample_rate = kSampleRate);

 private:
  void run();

  std::function<void()> fallback_;
  std::mutex mutex_;  // guards worker_ against callers on several threads
  std::thread worker_;
  std::atomic<bool> playing_{false};
};

}  // namespace zentrik
