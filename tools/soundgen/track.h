// A sound being synthesised: floating-point stereo samples at a fixed rate, and the building
// blocks the game's sounds are made of (tones with envelopes, filtered noise, echoes). Nothing
// depends on the clock or on global state, so a recipe always gives the same samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/random_generator.h"

namespace qn::soundgen {

enum class Wave { sine, triangle, saw, square, reed };

struct Envelope {
  double attack = 0.005;  // seconds to full level
  double decay = 0.2;     // seconds for the level to fall to 1/e after the attack
  double sustain = 0.0;   // level the decay settles at (0 = pure decay)
  double release = 0.02;  // seconds of fade at the end of the note
};

struct Note {
  double start = 0, length = 0.2;   // seconds
  double frequency = 440, glideTo = 0;  // Hz; glideTo 0 keeps the pitch
  Wave wave = Wave::sine;
  Envelope envelope;
  double gain = 0.5;
  double pan = 0;         // -1 left .. +1 right
  double vibrato = 0;     // depth in semitones at 5.5 Hz
  double brightness = 1;  // 0..1: one-pole low-pass on the waveform, 1 = open
};

struct Noise {
  double start = 0, length = 0.2;
  double lowCut = 200, highCut = 4000;  // Hz, band of the noise
  double lowCutEnd = 0, highCutEnd = 0;  // Hz; 0 keeps the band fixed
  Envelope envelope;
  double gain = 0.5;
  double pan = 0;
  uint32_t seed = 1;
  double grains = 0;  // > 0: the noise comes in random crackles, this many per second
};

class Track {
 public:
  Track(int rate, double seconds, bool circular = false);

  int rate() const { return rate_; }
  size_t frames() const { return left_.size(); }
  const std::vector<float>& left() const { return left_; }
  const std::vector<float>& right() const { return right_; }

  void add(const Note& note);
  void add(const Noise& noise);
  // Adds delayed, quieter copies (a room or a hall): `count` echoes `delay` seconds apart.
  void echo(double delay, double feedback, int count);
  // Scales the track so that its loudest sample is `peak`; a track that is not a loop also fades
  // out over its last 10 ms.
  void normalise(double peak);

 private:
  void mix(size_t frame, double value, double pan);

  int rate_;
  bool circular_;  // a loop: what runs past the end wraps around to the start
  std::vector<float> left_, right_;
};

// Frequency of a note given as semitones from A4 (440 Hz).
double pitch(double semitonesFromA4);

}  // namespace qn::soundgen
