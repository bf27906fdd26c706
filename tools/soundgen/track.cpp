#include "tools/soundgen/track.h"

#include <algorithm>
#include <cmath>

namespace qn::soundgen {
namespace {

constexpr double kTau = 6.283185307179586;

double envelopeAt(const Envelope& envelope, double time, double length) {
  double level;
  if (time < envelope.attack) {
    level = time / envelope.attack;
  } else {
    const double fall = std::exp(-(time - envelope.attack) / envelope.decay);
    level = envelope.sustain + (1 - envelope.sustain) * fall;
  }
  const double untilEnd = length - time;
  if (untilEnd < envelope.release) level *= std::max(0.0, untilEnd / envelope.release);
  return level;
}

double waveAt(Wave wave, double phase) {  // phase in cycles, [0, 1)
  switch (wave) {
    case Wave::sine: return std::sin(kTau * phase);
    case Wave::triangle: return 1 - 4 * std::fabs(phase - 0.5);
    case Wave::saw: return 2 * phase - 1;
    case Wave::square: return phase < 0.5 ? 0.8 : -0.8;
    case Wave::reed:  // a hollow, accordion-like tone: odd partials with a soft second
      return std::sin(kTau * phase) + 0.45 * std::sin(3 * kTau * phase) + 0.25 * std::sin(5 * kTau * phase) +
             0.2 * std::sin(2 * kTau * phase);
  }
  return 0;
}

// One-pole low-pass coefficient for a cut-off frequency.
double lowPassFactor(double cutoff, int rate) {
  return 1 - std::exp(-kTau * std::min(cutoff, rate * 0.45) / rate);
}

}  // namespace

double pitch(double semitonesFromA4) { return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0); }

Track::Track(int rate, double seconds, bool circular)
    : rate_(rate),
      circular_(circular),
      left_(static_cast<size_t>(std::lround(seconds * rate))),
      right_(left_.size()) {}

void Track::mix(size_t frame, double value, double pan) {
  if (frame >= left_.size()) {
    if (!circular_) return;
    frame %= left_.size();
  }
  // Constant-power panning.
  const double angle = (pan + 1) * kTau / 8;
  left_[frame] += static_cast<float>(value * std::cos(angle) * M_SQRT2);
  right_[frame] += static_cast<float>(value * std::sin(angle) * M_SQRT2);
}

void Track::add(const Note& note) {
  const size_t first = static_cast<size_t>(std::lround(note.start * rate_));
  const size_t count = static_cast<size_t>(std::lround(note.length * rate_));
  const double smoothing = lowPassFactor(200 + note.brightness * note.brightness * 12000, rate_);
  double phase = 0, filtered = 0;
  for (size_t i = 0; i < count; ++i) {
    const double time = static_cast<double>(i) / rate_;
    double frequency = note.frequency;
    if (note.glideTo > 0) frequency *= std::pow(note.glideTo / note.frequency, time / note.length);
    if (note.vibrato > 0) frequency *= std::pow(2.0, note.vibrato / 12 * std::sin(kTau * 5.5 * time) * std::min(1.0, time * 4));
    phase += frequency / rate_;
    phase -= std::floor(phase);
    const double raw = waveAt(note.wave, phase);
    filtered += (raw - filtered) * (note.brightness >= 1 ? 1.0 : smoothing);
    mix(first + i, filtered * note.gain * envelopeAt(note.envelope, time, note.length), note.pan);
  }
}

void Track::add(const Noise& noise) {
  RandomGenerator random(noise.seed);
  const size_t first = static_cast<size_t>(std::lround(noise.start * rate_));
  const size_t count = static_cast<size_t>(std::lround(noise.length * rate_));
  double low = 0, band = 0;
  double grainLevel = 0;
  for (size_t i = 0; i < count; ++i) {
    const double time = static_cast<double>(i) / rate_;
    const double progress = time / noise.length;
    const double lowCut = noise.lowCutEnd > 0 ? noise.lowCut * std::pow(noise.lowCutEnd / noise.lowCut, progress) : noise.lowCut;
    const double highCut = noise.highCutEnd > 0 ? noise.highCut * std::pow(noise.highCutEnd / noise.highCut, progress) : noise.highCut;
    const double white = random.next() / 2147483648.0 - 1;
    // High-cut then low-cut: what the first pole passes minus what the second keeps.
    band += (white - band) * lowPassFactor(highCut, rate_);
    low += (band - low) * lowPassFactor(lowCut, rate_);
    double value = band - low;
    if (noise.grains > 0) {
      if (random.next() / 4294967296.0 < noise.grains / rate_) grainLevel = 0.4 + 0.6 * (random.next() / 4294967296.0);
      grainLevel *= std::exp(-1.0 / (0.004 * rate_));
      value *= grainLevel * 3;
    }
    mix(first + i, value * noise.gain * 2 * envelopeAt(noise.envelope, time, noise.length), noise.pan);
  }
}

void Track::echo(double delay, double feedback, int count) {
  const size_t step = static_cast<size_t>(std::lround(delay * rate_));
  const std::vector<float> dryLeft = left_, dryRight = right_;
  double gain = feedback;
  for (int copy = 1; copy <= count; ++copy, gain *= feedback) {
    for (size_t i = 0; i < dryLeft.size(); ++i) {
      size_t target = i + step * copy;
      if (target >= left_.size()) {
        if (!circular_) break;
        target %= left_.size();
      }
      // Alternate sides so that the echoes widen the sound.
      left_[target] += static_cast<float>((copy % 2 ? dryRight[i] : dryLeft[i]) * gain);
      right_[target] += static_cast<float>((copy % 2 ? dryLeft[i] : dryRight[i]) * gain);
    }
  }
}

void Track::normalise(double peak) {
  float loudest = 0;
  for (size_t i = 0; i < left_.size(); ++i) loudest = std::max({loudest, std::fabs(left_[i]), std::fabs(right_[i])});
  if (loudest == 0) return;
  const float factor = static_cast<float>(peak / loudest);
  for (size_t i = 0; i < left_.size(); ++i) {
    left_[i] *= factor;
    right_[i] *= factor;
  }
  if (circular_) return;
  // A sound that is not a loop ends in silence: the last 10 ms fade out, so no echo tail clicks.
  const size_t fade = std::min(left_.size(), static_cast<size_t>(rate_ / 100));
  for (size_t i = 0; i < fade; ++i) {
    const float level = static_cast<float>(i) / static_cast<float>(fade);
    left_[left_.size() - 1 - i] *= level;
    right_[right_.size() - 1 - i] *= level;
  }
}

}  // namespace qn::soundgen
