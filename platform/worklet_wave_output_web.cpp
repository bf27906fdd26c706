// Wave output in the browser: the page's AudioWorklet plays the mixer's blocks off the main thread
// (Module.sound, shell/web/sound.js). Each written block is copied out of the program's memory and
// posted to the worklet; the worklet tells the page how many blocks it has played, and those come
// back done here, oldest first, the mixer's worker woken to fill them again. There is one
// thread: everything here runs between the page's frames or in its message handlers.
#include <emscripten.h>

#include <deque>

#include "platform/wave_output.h"

namespace qn::platform {

namespace {

EM_JS(int, pageSoundAvailable, (), { return Module.sound && Module.sound.available() ? 1 : 0; });
EM_JS(void, pageSoundOpen, (int rate, int channels), { Module.sound.open(rate, channels); });
// A copy of the bytes (never a view of the heap, which would post all of it).
EM_JS(void, pageSoundWrite, (const uint8_t* bytes, uint32_t size), { Module.sound.write(HEAPU8.slice(bytes, bytes + size)); });
EM_JS(void, pageSoundFlush, (), { Module.sound.flush(); });
EM_JS(void, pageSoundClose, (), { Module.sound.close(); });

class WorkletWaveOutput;
WorkletWaveOutput* opened = nullptr;  // the output the page's answers are for

class WorkletWaveOutput final : public WaveOutput {
 public:
  ~WorkletWaveOutput() override { close(); }

  // The page decides: a context was made and worklets are there (a secure page).
  uint32_t offeredFormats() override { return pageSoundAvailable() ? kAll8BitFormats : 0; }
  int deviceCount() override { return pageSoundAvailable() ? 1 : 0; }

  bool open(int device, const WaveFormat& format, Worker& blockDone) override {
    if (opened != nullptr || device != 0 || !pageSoundAvailable() || format.bitsPerSample != 8) return false;
    blockDone_ = &blockDone;
    pageSoundOpen(static_cast<int>(format.samplesPerSecond), format.channels);
    opened = this;
    return true;
  }

  bool isOpen() const override { return opened == this; }

  void write(WaveBlock& block) override {
    queue_.push_back(&block);
    pageSoundWrite(block.data, block.size);
  }

  void reset() override {
    if (!isOpen()) return;
    pageSoundFlush();
    returnAll();
  }

  void close() override {
    if (!isOpen()) return;
    pageSoundClose();
    opened = nullptr;
    returnAll();
    blockDone_ = nullptr;
  }

  // The worklet played the `count` oldest blocks.
  void played(int count) {
    for (; count > 0 && !queue_.empty(); --count) {
      queue_.front()->done = true;
      queue_.pop_front();
    }
    blockDone_->wake();
  }

  // The page dropped every queued block (it came back from the background).
  void returnAll() {
    for (WaveBlock* block : queue_) block->done = true;
    queue_.clear();
    if (blockDone_ != nullptr) blockDone_->wake();
  }

 private:
  std::deque<WaveBlock*> queue_;
  Worker* blockDone_ = nullptr;
};

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void boules_sound_played(int count) {
  if (opened != nullptr) opened->played(count);
}

extern "C" EMSCRIPTEN_KEEPALIVE void boules_sound_flushed() {
  if (opened != nullptr) opened->returnAll();
}

std::unique_ptr<WaveOutput> makeSystemWaveOutput() { return std::make_unique<WorkletWaveOutput>(); }

}  // namespace qn::platform
