// The wave output device as the mixer drives it: opened at one PCM format, fed whole blocks that
// come back marked done, the mixer's worker woken for every block that comes back.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/wave_format.h"
#include "platform/worker.h"

namespace qn::platform {

// Capability bits of the six 8-bit PCM formats a device may offer.
enum WaveFormatBits : uint32_t {
  kMono8Bit11025 = 0x1,
  kStereo8Bit11025 = 0x2,
  kMono8Bit22050 = 0x10,
  kStereo8Bit22050 = 0x20,
  kMono8Bit44100 = 0x100,
  kStereo8Bit44100 = 0x200,
};
inline constexpr uint32_t kAll8BitFormats = kMono8Bit11025 | kStereo8Bit11025 | kMono8Bit22050 |
                                            kStereo8Bit22050 | kMono8Bit44100 | kStereo8Bit44100;

// Bytes lent to the device. `done` is true while the owner may fill the block: the owner clears
// it before `write`, the device sets it once the bytes have been played or dropped by `reset`.
struct WaveBlock {
  uint8_t* data = nullptr;
  uint32_t size = 0;
  std::atomic<bool> done{true};
};

class WaveOutput {
 public:
  virtual ~WaveOutput() = default;

  // Capability bits of the default device; 0 when there is no device.
  virtual uint32_t offeredFormats() = 0;
  // Devices are tried by index from 0 (the default device) to deviceCount() - 1.
  virtual int deviceCount() = 0;
  // Starts playing at `format`; every finished block is marked done, then `blockDone` is woken
  // (with none of the device's own locks held: in the browser the worker runs at once).
  virtual bool open(int device, const WaveFormat& format, Worker& blockDone) = 0;
  virtual bool isOpen() const = 0;
  // Queues a block behind those already written.
  virtual void write(WaveBlock& block) = 0;
  // Drops every queued block: all come back done and the worker is woken.
  virtual void reset() = 0;
  // Resets, then releases the device; the worker is not woken afterwards.
  virtual void close() = 0;
};

// The system's audio output; without an audio device it offers no format and never opens.
std::unique_ptr<WaveOutput> makeSystemWaveOutput();

}  // namespace qn::platform
