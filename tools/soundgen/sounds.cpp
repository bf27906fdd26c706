#include "tools/soundgen/sounds.h"

#include <cmath>

namespace qn::soundgen {
namespace {

// Semitones from A4 of the notes the tunes use.
enum : int { G2 = -26, A2 = -24, Bb2 = -23, B2 = -22, C3 = -21, D3 = -19, E3 = -17, F2 = -28, G3 = -14,
             A3 = -12, B3 = -10, C4 = -9, D4 = -7, E4 = -5, F4 = -4, G4 = -2, A4 = 0, Bb4 = 1, B4 = 2,
             C5 = 3, D5 = 5, E5 = 7, F5 = 8, G5 = 10, A5 = 12, B5 = 14, C6 = 15, D6 = 17, E6 = 19,
             F6 = 20, G6 = 22 };

Envelope pluck(double decay) { return Envelope{0.003, decay, 0, 0.02}; }
Envelope held(double attack, double sustain) { return Envelope{attack, 0.25, sustain, 0.06}; }

// A thump in the gravel: a falling low tone and a crunch of stones.
Track thump(int rate, double low, uint32_t seed, double crunch) {
  Track track(rate, 0.45);
  track.add(Note{.start = 0, .length = 0.35, .frequency = low * 1.6, .glideTo = low * 0.7,
                 .envelope = pluck(0.09), .gain = 0.9});
  track.add(Noise{.start = 0, .length = 0.3, .lowCut = 150, .highCut = 2500, .highCutEnd = 700,
                  .envelope = pluck(0.06), .gain = 0.6 * crunch, .seed = seed, .grains = 900});
  track.normalise(0.9);
  return track;
}

// Metal on metal: inharmonic partials that ring briefly, and a click.
Track clack(int rate, double base, double pan, uint32_t seed) {
  Track track(rate, 0.4);
  const double ratios[] = {1.0, 1.58, 2.41, 3.29, 4.12};
  for (int partial = 0; partial < 5; ++partial) {
    track.add(Note{.length = 0.38, .frequency = base * ratios[partial], .envelope = pluck(0.09 / (1 + partial * 0.4)),
                   .gain = 0.35 / (1 + partial * 0.5), .pan = pan});
  }
  track.add(Noise{.length = 0.02, .lowCut = 2000, .highCut = 9000, .envelope = pluck(0.004), .gain = 0.8, .pan = pan, .seed = seed});
  track.normalise(0.9);
  return track;
}

// A bright synthetic bloop: a sine sliding between two pitches.
Track bloop(int rate, double from, double to, double length) {
  Track track(rate, length + 0.05);
  track.add(Note{.length = length, .frequency = from, .glideTo = to, .envelope = Envelope{0.004, length * 0.5, 0, 0.03}, .gain = 0.7});
  track.add(Note{.length = length, .frequency = from * 2, .glideTo = to * 2, .envelope = Envelope{0.004, length * 0.25, 0, 0.03}, .gain = 0.15});
  track.normalise(0.85);
  return track;
}

// A small creature's laugh: voiced syllables whose pitch falls, with breath between them.
Track laugh(int rate, int syllables, double spacing, double highPitch, double lowPitch, Wave wave,
            double brightness, uint32_t seed) {
  Track track(rate, syllables * spacing + 0.3);
  for (int syllable = 0; syllable < syllables; ++syllable) {
    const double start = syllable * spacing;
    const double voice = highPitch + (lowPitch - highPitch) * syllable / std::max(1, syllables - 1);
    track.add(Note{.start = start, .length = spacing * 0.8, .frequency = voice * 1.08, .glideTo = voice * 0.9,
                   .wave = wave, .envelope = Envelope{0.012, spacing * 0.35, 0, 0.03}, .gain = 0.5, .vibrato = 0.3,
                   .brightness = brightness});
    track.add(Noise{.start = start, .length = spacing * 0.3, .lowCut = 1200, .highCut = 5000,
                    .envelope = pluck(spacing * 0.1), .gain = 0.15, .seed = seed + static_cast<uint32_t>(syllable)});
  }
  track.echo(0.06, 0.2, 2);
  track.normalise(0.85);
  return track;
}

// A bell: a struck partial series with a long decay.
void bell(Track& track, double start, double frequency, double gain, double pan) {
  const double ratios[] = {1.0, 2.0, 2.76, 5.4};
  for (int partial = 0; partial < 4; ++partial) {
    track.add(Note{.start = start, .length = 1.4, .frequency = frequency * ratios[partial],
                   .envelope = pluck(0.6 / (1 + partial)), .gain = gain / (1 + partial * 1.5), .pan = pan});
  }
}

// A brass-like voice: a saw whose brightness and octave double make it bold.
void horn(Track& track, double start, double length, int semitone, double gain, double pan) {
  track.add(Note{.start = start, .length = length, .frequency = pitch(semitone), .wave = Wave::saw,
                 .envelope = held(0.03, 0.7), .gain = gain, .pan = pan, .vibrato = 0.15, .brightness = 0.55});
  track.add(Note{.start = start, .length = length, .frequency = pitch(semitone - 12), .wave = Wave::saw,
                 .envelope = held(0.04, 0.6), .gain = gain * 0.45, .pan = -pan, .brightness = 0.4});
}

Track vault(int rate) {  // the fault: a two-step falling buzzer
  Track track(rate, 0.8);
  track.add(Note{.length = 0.3, .frequency = pitch(E4), .glideTo = pitch(D4), .wave = Wave::square,
                 .envelope = held(0.01, 0.8), .gain = 0.5, .brightness = 0.35});
  track.add(Note{.start = 0.33, .length = 0.45, .frequency = pitch(C4), .glideTo = pitch(A3), .wave = Wave::square,
                 .envelope = held(0.01, 0.8), .gain = 0.5, .brightness = 0.3});
  track.normalise(0.55);  // a held buzzer sounds loud at a modest peak
  return track;
}

Track rotate(int rate) {  // the swing starts: a rising whoosh
  Track track(rate, 0.65);
  track.add(Noise{.length = 0.6, .lowCut = 250, .highCut = 700, .lowCutEnd = 1500, .highCutEnd = 5000,
                  .envelope = Envelope{0.35, 0.2, 0, 0.1}, .gain = 0.8, .seed = 67});
  track.add(Note{.length = 0.6, .frequency = 180, .glideTo = 520, .wave = Wave::triangle,
                 .envelope = Envelope{0.3, 0.3, 0, 0.1}, .gain = 0.2});
  track.normalise(0.8);
  return track;
}

Track klak1(int rate) { return clack(rate, 1870, 0, 68); }
Track klak2(int rate) { return clack(rate, 2120, -0.3, 69); }
Track klak3(int rate) { return clack(rate, 1640, 0.3, 70); }

Track floep(int rate) {  // the single player's result: a plucked arpeggio ending on a bell
  Track track(rate, 2.0);
  const int notes[] = {C5, E5, G5, C6};
  for (int i = 0; i < 4; ++i) {
    track.add(Note{.start = i * 0.09, .length = 0.5, .frequency = pitch(notes[i]), .wave = Wave::triangle,
                   .envelope = pluck(0.18), .gain = 0.4, .pan = -0.5 + i / 3.0});
  }
  bell(track, 0.36, pitch(C6), 0.5, 0);
  track.echo(0.11, 0.3, 3);
  track.normalise(0.85);
  return track;
}

Track menuTune(int rate) {  // a musette waltz of sixteen bars that loops seamlessly
  constexpr double kBeat = 60.0 / 138;
  constexpr int kBars = 16;
  Track track(rate, kBars * 3 * kBeat, true);
  struct Chord { int root; int tones[4]; int count; };
  const Chord c{C3, {C4, E4, G4, 0}, 3}, g7{G2, {B3, D4, F4, G4}, 4}, f{F2, {A3, C4, F4, 0}, 3};
  const Chord* progression[kBars] = {&c, &c, &g7, &g7, &g7, &g7, &c, &c, &f, &f, &c, &c, &g7, &g7, &c, &c};
  for (int bar = 0; bar < kBars; ++bar) {
    const double start = bar * 3 * kBeat;
    const Chord& chord = *progression[bar];
    const int bass = bar % 2 ? chord.root + 7 : chord.root;  // root, then the fifth
    track.add(Note{.start = start, .length = kBeat * 0.9, .frequency = pitch(bass), .wave = Wave::triangle,
                   .envelope = pluck(0.35), .gain = 0.55});
    for (int beat = 1; beat < 3; ++beat) {
      for (int tone = 0; tone < chord.count; ++tone) {
        track.add(Note{.start = start + beat * kBeat, .length = kBeat * 0.6, .frequency = pitch(chord.tones[tone]),
                       .wave = Wave::reed, .envelope = pluck(0.12), .gain = 0.08, .pan = 0.35, .brightness = 0.5});
      }
    }
  }
  struct Step { int note; double beats; };  // note 99 is a rest
  const Step melody[] = {
      {E5, 1}, {G5, 1}, {C6, 1}, {B5, 2}, {G5, 1}, {A5, 1}, {G5, 1}, {F5, 1}, {D5, 3},
      {F5, 1}, {A5, 1}, {D6, 1}, {C6, 2}, {B5, 1}, {C6, 1}, {G5, 1}, {E5, 1}, {C5, 3},
      {A5, 1}, {C6, 1}, {F6, 1}, {E6, 2}, {C6, 1}, {G5, 1}, {E5, 1}, {C6, 1}, {B5, 2}, {G5, 1},
      {F5, 1}, {G5, 1}, {A5, 1}, {B5, 1}, {D6, 1}, {B5, 1}, {C6, 1.5}, {G5, 0.5}, {E5, 1}, {C5, 2}, {99, 1}};
  double beat = 0;
  for (const Step& step : melody) {
    if (step.note != 99) {
      track.add(Note{.start = beat * kBeat, .length = step.beats * kBeat * 0.95, .frequency = pitch(step.note),
                     .wave = Wave::reed, .envelope = held(0.02, 0.75), .gain = 0.2, .pan = -0.25, .vibrato = 0.12,
                     .brightness = 0.6});
    }
    beat += step.beats;
  }
  track.echo(0.16, 0.22, 3);
  track.normalise(0.8);
  return track;
}

Track lach1(int rate) { return laugh(rate, 6, 0.11, 760, 520, Wave::saw, 0.45, 73); }
Track lach2(int rate) { return laugh(rate, 4, 0.17, 330, 250, Wave::square, 0.3, 74); }
Track lach3(int rate) { return laugh(rate, 8, 0.07, 950, 800, Wave::saw, 0.5, 75); }

Track bam(int rate) { return thump(rate, 70, 76, 1.0); }
Track bam2(int rate) { return thump(rate, 58, 77, 1.3); }
Track bam3(int rate) { return thump(rate, 84, 78, 0.8); }

Track bamball(int rate) {  // a player's ball against the wooden jack: a short hollow knock
  Track track(rate, 0.25);
  const double partials[] = {920, 1480, 2350};
  for (int i = 0; i < 3; ++i) {
    track.add(Note{.length = 0.22, .frequency = partials[i], .envelope = pluck(0.035 / (1 + i * 0.3)), .gain = 0.5 / (1 + i)});
  }
  track.add(Noise{.length = 0.015, .lowCut = 1500, .highCut = 7000, .envelope = pluck(0.003), .gain = 0.6, .seed = 79});
  track.normalise(0.9);
  return track;
}

Track plons(int rate) {  // a ball lost over the edge into the water: plop and bubbles
  Track track(rate, 0.9);
  track.add(Note{.length = 0.12, .frequency = 700, .glideTo = 160, .envelope = pluck(0.05), .gain = 0.7});
  track.add(Noise{.length = 0.7, .lowCut = 300, .highCut = 3500, .highCutEnd = 900, .envelope = Envelope{0.01, 0.18, 0, 0.1},
                  .gain = 0.7, .pan = -0.4, .seed = 81, .grains = 120});
  track.add(Noise{.start = 0.02, .length = 0.7, .lowCut = 300, .highCut = 3000, .highCutEnd = 800,
                  .envelope = Envelope{0.01, 0.2, 0, 0.1}, .gain = 0.7, .pan = 0.4, .seed = 811, .grains = 100});
  for (int bubble = 0; bubble < 5; ++bubble) {
    const double start = 0.15 + bubble * 0.1;
    track.add(Note{.start = start, .length = 0.06, .frequency = 500.0 + bubble * 90, .glideTo = 900.0 + bubble * 120,
                   .envelope = pluck(0.02), .gain = 0.25, .pan = bubble % 2 ? 0.5 : -0.5});
  }
  track.normalise(0.85);
  return track;
}

Track jumpy(int rate) {  // the throw: a quick whoosh as the ball leaves the hand
  Track track(rate, 0.4);
  track.add(Noise{.length = 0.35, .lowCut = 600, .highCut = 4500, .lowCutEnd = 250, .highCutEnd = 1200,
                  .envelope = Envelope{0.06, 0.1, 0, 0.05}, .gain = 0.9, .seed = 83});
  track.add(Note{.length = 0.15, .frequency = 300, .glideTo = 600, .wave = Wave::triangle, .envelope = pluck(0.06), .gain = 0.25});
  track.normalise(0.85);
  return track;
}

Track buddah(int rate) {  // the worm is hit: a squelch and a falling "oof"
  Track track(rate, 0.6);
  track.add(Noise{.length = 0.2, .lowCut = 100, .highCut = 1400, .highCutEnd = 400, .envelope = pluck(0.07), .gain = 0.8,
                  .seed = 84, .grains = 400});
  track.add(Note{.start = 0.05, .length = 0.45, .frequency = 420, .glideTo = 170, .wave = Wave::saw,
                 .envelope = Envelope{0.02, 0.2, 0, 0.08}, .gain = 0.5, .vibrato = 0.4, .brightness = 0.35});
  track.normalise(0.85);
  return track;
}

Track footstep(int rate) {  // two steps on gravel; the loop length is one stride
  Track track(rate, 0.8, true);
  for (int step = 0; step < 2; ++step) {
    const double start = 0.05 + step * 0.4;
    const double pan = step ? 0.25 : -0.25;
    track.add(Noise{.start = start, .length = 0.16, .lowCut = 300, .highCut = 5000, .envelope = Envelope{0.01, 0.05, 0, 0.03},
                    .gain = 0.9, .pan = pan, .seed = 86u + static_cast<uint32_t>(step), .grains = 1400});
    track.add(Note{.start = start, .length = 0.08, .frequency = 95, .glideTo = 70, .envelope = pluck(0.03), .gain = 0.35, .pan = pan});
  }
  track.normalise(0.7);
  return track;
}

Track bloop1(int rate) { return bloop(rate, 420, 880, 0.16); }
Track bloop2(int rate) { return bloop(rate, 650, 1250, 0.1); }
Track bloop3(int rate) {
  Track track(rate, 0.3);
  track.add(Note{.length = 0.1, .frequency = pitch(E5), .envelope = pluck(0.05), .gain = 0.6});
  track.add(Note{.start = 0.08, .length = 0.2, .frequency = pitch(B5), .envelope = pluck(0.07), .gain = 0.6});
  track.normalise(0.85);
  return track;
}

Track theking(int rate) {  // a royal fanfare
  Track track(rate, 2.6);
  const struct { double start, length; int note; } notes[] = {
      {0, 0.14, G4}, {0.16, 0.14, G4}, {0.32, 0.14, G4}, {0.5, 0.6, C5}, {1.15, 0.2, G4}, {1.38, 1.0, C5}};
  for (const auto& note : notes) horn(track, note.start, note.length, note.note, 0.35, 0);
  horn(track, 1.38, 1.0, E5, 0.25, -0.4);
  horn(track, 1.38, 1.0, G5, 0.2, 0.4);
  track.add(Note{.start = 1.38, .length = 0.8, .frequency = 65, .glideTo = 55, .envelope = pluck(0.25), .gain = 0.7});
  track.echo(0.13, 0.3, 4);
  track.normalise(0.85);
  return track;
}

Track gangsters(int rate) {  // a sneaky bass walk and a muted trumpet
  Track track(rate, 2.8);
  const int walk[] = {E3 - 12, G3 - 12, A3 - 12, Bb2, B2, Bb2, A2, G2};
  for (int i = 0; i < 8; ++i) {
    track.add(Note{.start = i * 0.2, .length = 0.18, .frequency = pitch(walk[i]), .wave = Wave::triangle,
                   .envelope = pluck(0.12), .gain = 0.7});
  }
  const struct { double start, length; int note; } riff[] = {{0.4, 0.15, E4}, {0.6, 0.15, G4}, {0.8, 0.3, E4},
                                                             {1.2, 0.15, D4}, {1.4, 0.15, E4}, {1.6, 0.9, B3}};
  for (const auto& note : riff) {
    track.add(Note{.start = note.start, .length = note.length, .frequency = pitch(note.note), .wave = Wave::square,
                   .envelope = held(0.02, 0.6), .gain = 0.3, .vibrato = 0.2, .brightness = 0.25});
  }
  track.echo(0.2, 0.25, 3);
  track.normalise(0.85);
  return track;
}

Track chair(int rate) {  // an accordion flourish up to a held chord
  Track track(rate, 2.2);
  const int run[] = {C5, E5, G5, C6, E6};
  for (int i = 0; i < 5; ++i) {
    track.add(Note{.start = i * 0.07, .length = 0.12, .frequency = pitch(run[i]), .wave = Wave::reed,
                   .envelope = held(0.01, 0.8), .gain = 0.25, .pan = -0.6 + i * 0.3, .brightness = 0.6});
  }
  for (int note : {C5, E5, G5, C6}) {
    track.add(Note{.start = 0.4, .length = 1.5, .frequency = pitch(note), .wave = Wave::reed, .envelope = held(0.03, 0.8),
                   .gain = 0.14, .pan = note == C6 ? 0.3 : -0.1, .vibrato = 0.15, .brightness = 0.55});
  }
  track.add(Note{.start = 0.4, .length = 0.8, .frequency = pitch(C3), .wave = Wave::triangle, .envelope = pluck(0.4), .gain = 0.5});
  track.echo(0.12, 0.25, 3);
  track.normalise(0.85);
  return track;
}

Track listen(int rate) {  // chimes, then a bright "ta-da"
  Track track(rate, 2.4);
  const int chimes[] = {C6, G5, E5, C5};
  for (int i = 0; i < 4; ++i) bell(track, i * 0.18, pitch(chimes[i]) / 2, 0.3, 0);
  horn(track, 0.85, 0.15, G4, 0.3, 0);
  horn(track, 1.05, 1.0, C5, 0.3, 0);
  horn(track, 1.05, 1.0, E5, 0.2, 0);
  track.normalise(0.85);
  return track;
}

}  // namespace

const std::vector<SoundRecipe>& soundRecipes() {
  using enum Container;
  static const std::vector<SoundRecipe> table = {
      {66, "vault", wave, 8, 1, 11025, vault},
      {67, "rotate", wave, 16, 1, 22050, rotate},
      {68, "klak1", wave, 16, 1, 44100, klak1},
      {69, "klak2", wave, 16, 2, 44100, klak2},
      {70, "klak3", wave, 8, 1, 22050, klak3},
      {71, "floep", wave, 16, 2, 22050, floep},
      {72, "loop", vorbis, 0, 2, 44100, menuTune},
      {73, "lach1", wave, 8, 1, 22050, lach1},
      {74, "lach2", vorbis, 0, 1, 22050, lach2},
      {75, "lach3", wave, 16, 1, 11025, lach3},
      {76, "bam", wave, 16, 1, 22050, bam},
      {77, "bam2", wave, 8, 2, 22050, bam2},
      {78, "bam3", wave, 16, 1, 11025, bam3},
      {79, "bamball", wave, 16, 1, 44100, bamball},
      {81, "plons", wave, 16, 2, 22050, plons},
      {83, "jumpy", wave, 8, 1, 11025, jumpy},
      {84, "buddah", wave, 16, 1, 22050, buddah},
      {86, "footstep", wave, 16, 2, 22050, footstep},
      {88, "bloop1", wave, 8, 2, 44100, bloop1},
      {89, "bloop2", wave, 16, 1, 22050, bloop2},
      {90, "bloop3", wave, 8, 1, 44100, bloop3},
      {93, "theking", vorbis, 0, 2, 22050, theking},
      {94, "gangsters", vorbis, 0, 1, 44100, gangsters},
      {95, "chair", vorbis, 0, 2, 44100, chair},
      {96, "listen", vorbis, 0, 1, 11025, listen},
  };
  return table;
}

}  // namespace qn::soundgen
