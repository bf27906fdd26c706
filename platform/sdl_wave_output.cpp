// Wave output through SDL's audio subsystem (the desktop's; the browser has its own worklet
// output). The device is opened at the system's own rate in floats, and SDL pulls sound through
// `feed` from its own thread, which reads the written blocks at that rate (block_resampler.h)
// and hands each block back (done mark, worker woken) as soon as its last frame is read. Between
// blocks, and when none is queued, the device plays silence: it runs dry exactly as the mixer
// expects. The worker is woken with the queue's lock let go, as it may write the next block at
// once.
//
// A machine without a sound device plays silently, said in one line on standard error; ALSA's own
// report of every configuration step that failed on the way is kept quiet.
#include <SDL.h>
#include <dlfcn.h>

#include <algorithm>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/block_resampler.h"
#include "platform/platform.h"
#include "platform/wave_output.h"

namespace qn::platform {

namespace {

// About 23 ms: short against the mixer's 70 ms blocks, so SDL asks often enough that a block
// written while the device is dry starts almost at once.
constexpr int kDeviceBufferMilliseconds = 23;

// The device's buffer in frames at `rate`: a power of two near kDeviceBufferMilliseconds.
Uint16 bufferFramesAt(int rate) {
  Uint16 frames = 256;
  while (frames < 4096 && frames * 1000 < rate * kDeviceBufferMilliseconds) frames = static_cast<Uint16>(frames * 2);
  return frames;
}

// The rate the system's device runs at, so that nothing after SDL converts it; the mixer's own
// when the system does not say.
int systemRate(int device, const WaveFormat& format) {
  SDL_AudioSpec system{};
  const int asked = device == 0 ? SDL_GetDefaultAudioInfo(nullptr, &system, 0) : SDL_GetAudioDeviceSpec(device - 1, 0, &system);
  return asked == 0 && system.freq > 0 ? system.freq : static_cast<int>(format.samplesPerSecond);
}

// ALSA prints its errors itself unless given a handler. SDL loads the library by name when it
// tries ALSA; loading it first here gives the handler to the same library.
void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

void quietAlsa() {
  using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
  void* alsa = dlopen("libasound.so.2", RTLD_LAZY);
  if (alsa == nullptr) return;
  if (auto setHandler = reinterpret_cast<int (*)(ErrorHandler)>(dlsym(alsa, "snd_lib_error_set_handler")))
    setHandler(ignoreAlsaError);
}

// The one line that says the game is silent; SDL_AUDIODRIVER=dummy asks for silence and gets it.
void sayNoDevice(const char* reason) {
  debugOutput(std::string("no sound device (") + reason + "): the game plays silently\n");
}

class SdlWaveOutput final : public WaveOutput {
 public:
  SdlWaveOutput() {
    quietAlsa();
    ready_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (!ready_) {
      sayNoDevice(SDL_GetError());
      return;
    }
    // The dummy driver accepts any format and discards the sound: that is no device at all.
    const char* driver = SDL_GetCurrentAudioDriver();
    if (!driver || std::string_view(driver) == "dummy") {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      ready_ = false;
    }
  }

  ~SdlWaveOutput() override {
    close();
    if (ready_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  // SDL converts whatever it is given to what the hardware plays, so once the default device
  // opens at one 8-bit format, every 8-bit format opens.
  uint32_t offeredFormats() override {
    if (!ready_) return 0;
    if (device_) return kAll8BitFormats;
    SDL_AudioSpec wanted{};
    wanted.freq = 22050;
    wanted.format = AUDIO_U8;
    wanted.channels = 2;
    wanted.samples = bufferFramesAt(wanted.freq);
    wanted.callback = discard;
    SDL_AudioDeviceID probe = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (!probe) {
      sayNoDevice(SDL_GetError());
      return 0;
    }
    SDL_CloseAudioDevice(probe);
    return kAll8BitFormats;
  }

  int deviceCount() override {
    if (!ready_) return 0;
    return 1 + std::max(0, SDL_GetNumAudioDevices(0));
  }

  bool open(int device, const WaveFormat& format, Worker& blockDone) override {
    if (!ready_ || device_ || device < 0 || device >= deviceCount() || format.channels < 1 || format.channels > 2)
      return false;
    const char* name = device == 0 ? nullptr : SDL_GetAudioDeviceName(device - 1, 0);
    if (device != 0 && !name) return false;
    SDL_AudioSpec wanted{};
    wanted.freq = systemRate(device, format);
    wanted.format = AUDIO_F32SYS;
    wanted.channels = static_cast<Uint8>(format.channels);
    wanted.samples = bufferFramesAt(wanted.freq);
    wanted.callback = feed;
    wanted.userdata = this;
    {
      std::lock_guard<std::mutex> guard(mutex_);
      blockDone_ = &blockDone;
      blocks_.emplace(format, static_cast<uint32_t>(wanted.freq));
      channels_ = format.channels;
    }
    device_ = SDL_OpenAudioDevice(name, 0, &wanted, nullptr, 0);
    if (!device_) {
      std::lock_guard<std::mutex> guard(mutex_);
      blockDone_ = nullptr;
      blocks_.reset();
      return false;
    }
    SDL_PauseAudioDevice(device_, 0);
    return true;
  }

  bool isOpen() const override { return device_ != 0; }

  void write(WaveBlock& block) override {
    std::lock_guard<std::mutex> guard(mutex_);
    if (blocks_) blocks_->write(block);
  }

  void reset() override {
    Worker* worker = nullptr;
    {
      std::lock_guard<std::mutex> guard(mutex_);
      worker = returnAllBlocks();
    }
    if (worker) worker->wake();
  }

  void close() override {
    if (!device_) return;
    // Closing waits for a running callback, so nothing touches the queue afterwards.
    SDL_CloseAudioDevice(device_);
    device_ = 0;
    Worker* worker = nullptr;
    {
      std::lock_guard<std::mutex> guard(mutex_);
      worker = returnAllBlocks();
      blocks_.reset();
      blockDone_ = nullptr;
    }
    if (worker) worker->wake();
  }

 private:
  static void SDLCALL discard(void*, Uint8*, int) {}

  static void SDLCALL feed(void* self, Uint8* stream, int length) {
    static_cast<SdlWaveOutput*>(self)->fill(stream, static_cast<size_t>(length));
  }

  void fill(uint8_t* stream, size_t length) {
    Worker* worker = nullptr;
    {
      std::lock_guard<std::mutex> guard(mutex_);
      if (!blocks_) {
        std::fill_n(stream, length, uint8_t{0});  // silence in floats
        return;
      }
      if (blocks_->read(reinterpret_cast<float*>(stream), length / (sizeof(float) * channels_)) > 0) worker = blockDone_;
    }
    if (worker) worker->wake();
  }

  Worker* returnAllBlocks() {  // with mutex_ held: marks them done; the worker to wake
    if (blocks_) blocks_->clear();
    return blockDone_;
  }

  bool ready_ = false;
  SDL_AudioDeviceID device_ = 0;
  std::mutex mutex_;  // guards everything below; the callback runs on SDL's thread
  std::optional<BlockResampler> blocks_;  // the written blocks, while the device is open
  int channels_ = 2;
  Worker* blockDone_ = nullptr;
};

}  // namespace

std::unique_ptr<WaveOutput> makeSystemWaveOutput() { return std::make_unique<SdlWaveOutput>(); }

}  // namespace qn::platform
