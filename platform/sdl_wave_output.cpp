// Wave output through SDL's audio subsystem. SDL pulls sound through `feed` (from its own thread,
// or in the browser from the page's audio callback), which copies from the queue of written
// blocks and hands each block back (done mark, worker woken) as soon as its last byte is taken.
// Between blocks, and when none is queued, the device plays silence: it runs dry exactly as the
// mixer expects. The worker is woken with the queue's lock let go: in the browser it fills the
// next block at once, writing to this same queue.
//
// A machine without a sound device plays silently, said in one line on standard error; ALSA's own
// report of every configuration step that failed on the way is kept quiet.
#include <SDL.h>

#ifndef __EMSCRIPTEN__
#include <dlfcn.h>
#endif

#include <algorithm>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "platform/wave_output.h"

namespace qn::platform {

namespace {

// About 23 ms at 22050 Hz: short against the mixer's 70 ms blocks, so SDL asks often enough that
// a block written while the device is dry starts almost at once.
constexpr Uint16 kDeviceBufferFrames = 512;

SDL_AudioSpec specFor(const WaveFormat& format) {
  SDL_AudioSpec audioSpec{};
  audioSpec.freq = static_cast<int>(format.samplesPerSecond);
  audioSpec.format = format.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
  audioSpec.channels = static_cast<Uint8>(format.channels);
  audioSpec.samples = kDeviceBufferFrames;
  return audioSpec;
}

#ifndef __EMSCRIPTEN__
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
#else
void quietAlsa() {}
#endif

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
    SDL_AudioSpec wanted = specFor(pcmFormat(2, 22050, 8));
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
    if (!ready_ || device_ || device < 0 || device >= deviceCount()) return false;
    const char* name = device == 0 ? nullptr : SDL_GetAudioDeviceName(device - 1, 0);
    if (device != 0 && !name) return false;
    SDL_AudioSpec wanted = specFor(format);
    wanted.callback = feed;
    wanted.userdata = this;
    {
      std::lock_guard<std::mutex> guard(mutex_);
      blockDone_ = &blockDone;
      silence_ = format.bitsPerSample == 8 ? 0x80 : 0;
    }
    device_ = SDL_OpenAudioDevice(name, 0, &wanted, nullptr, 0);
    if (!device_) {
      std::lock_guard<std::mutex> guard(mutex_);
      blockDone_ = nullptr;
      return false;
    }
    SDL_PauseAudioDevice(device_, 0);
    return true;
  }

  bool isOpen() const override { return device_ != 0; }

  void write(WaveBlock& block) override {
    std::lock_guard<std::mutex> guard(mutex_);
    queue_.push_back(&block);
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
    while (length > 0) {
      Worker* worker = nullptr;
      {
        std::lock_guard<std::mutex> guard(mutex_);
        if (queue_.empty()) break;
        WaveBlock& block = *queue_.front();
        size_t count = std::min<size_t>(length, block.size - offset_);
        std::memcpy(stream, block.data + offset_, count);
        stream += count;
        length -= count;
        offset_ += count;
        if (offset_ == block.size) {
          queue_.pop_front();
          offset_ = 0;
          block.done = true;
          worker = blockDone_;
        }
      }
      if (worker) worker->wake();
    }
    std::memset(stream, silence_, length);
  }

  Worker* returnAllBlocks() {  // with mutex_ held: marks them done; the worker to wake
    for (WaveBlock* block : queue_) block->done = true;
    queue_.clear();
    offset_ = 0;
    return blockDone_;
  }

  bool ready_ = false;
  SDL_AudioDeviceID device_ = 0;
  std::mutex mutex_;  // guards everything below; the callback runs on SDL's thread
  std::deque<WaveBlock*> queue_;
  size_t offset_ = 0;  // bytes of the front block already played
  Worker* blockDone_ = nullptr;
  uint8_t silence_ = 0x80;
};

}  // namespace

std::unique_ptr<WaveOutput> makeSystemWaveOutput() { return std::make_unique<SdlWaveOutput>(); }

}  // namespace qn::platform
