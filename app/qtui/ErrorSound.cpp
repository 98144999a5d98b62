#include "app/qtui/ErrorSound.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <system_error>

#ifdef ZENTRIK_HAVE_PULSE
#include <pulse/simple.h>

#include "data/LazyLibrary.h"
#endif

namespace zentrik {
namespace {

constexpr double kAmplitude = 0.35 * 32767;
constexpr int kFadeMilliseconds = 3;

#ifdef ZENTRIK_HAVE_PULSE
// The PulseAudio functions the sound calls, called through these pointers: the library
// is loaded when the first sound plays, so a run without an error never maps it.
struct PulseFunctions {
  decltype(&pa_simple_new) simple_new = nullptr;
  decltype(&pa_simple_write) simple_write = nullptr;
  decltype(&pa_simple_drain) simple_drain = nullptr;
  decltype(&pa_simple_free) simple_free = nullptr;

  void look_up(LazyLibrary& library) {
    library.find("pa_simple_new", simple_new);
    library.find("pa_simple_write", simple_write);
    library.find("pa_simple_drain", simple_drain);
    library.find("pa_simple_free", simple_free);
  }
};
PulseFunctions pulse;

bool pulse_loaded() {
  static LazyLibrary library("libpulse-simple.so.0");
  return library.open([](LazyLibrary& opened) { pulse.look_up(opened); });
}
#endif

// Plays the samples on the default output; false when no sound server answers or its
// library is missing.
bool play_samples(const std::vector<int16_t>& samples) {
#ifdef ZENTRIK_HAVE_PULSE
  if (!pulse_loaded()) return false;
  pa_sample_spec format{};
  format.format = PA_SAMPLE_S16NE;
  format.rate = ErrorSound::kSampleRate;
  format.channels = 1;
  int error = 0;
  pa_simple* stream = pulse.simple_new(nullptr, "Zentrik", PA_STREAM_PLAYBACK, nullptr, "Error sound", &format,
                                       nullptr, nullptr, &error);
  if (!stream) return false;
  bool played = pulse.simple_write(stream, samples.data(), samples.size() * sizeof(int16_t), &error) == 0 &&
                pulse.simple_drain(stream, &error) == 0;
  pulse.simple_free(stream);
  return played;
#else
  (void)samples;
  return false;
#endif
}

}  // namespace

ErrorSound::ErrorSound(std::function<void()> fallback) : fallback_(std::move(fallback)) {}

ErrorSound::~ErrorSound() {
  std::lock_guard lock(mutex_);
  if (worker_.joinable()) worker_.join();
}

void ErrorSound::play() {
  std::lock_guard lock(mutex_);
  if (playing_.exchange(true)) return;
  if (worker_.joinable()) worker_.join();  // the last sound has finished: only its thread is left
  try {
    worker_ = std::thread(&ErrorSound::run, this);
  } catch (const std::system_error&) {
    playing_.store(false);
    if (fallback_) fallback_();
  }
}

void ErrorSound::run() {
  if (!play_samples(samples()) && fallback_) fallback_();
  playing_.store(false);
}

std::vector<int16_t> ErrorSound::samples(int sample_rate) {
  const int tone = sample_rate * kToneMilliseconds / 1000;
  const int fade = std::max(1, sample_rate * kFadeMilliseconds / 1000);
  const int total = 2 * tone;
  std::vector<int16_t> out(static_cast<std::size_t>(total));
  for (int i = 0; i < total; ++i) {
    const double frequency = i < tone ? kFirstFrequency : kSecondFrequency;
    const int at = i < tone ? i : i - tone;  // each tone starts at phase 0
    const double phase = 2 * std::numbers::pi * frequency * at / sample_rate;
    const double envelope = std::min({1.0, static_cast<double>(i) / fade, static_cast<double>(total - 1 - i) / fade});
    out[static_cast<std::size_t>(i)] = static_cast<int16_t>(std::lround(kAmplitude * envelope * std::sin(phase)));
  }
  return out;
}

}  // namespace zentrik
