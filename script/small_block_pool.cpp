#include "script/small_block_pool.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/platform.h"

namespace qn {

void SmallBlockPool::addChunk() {
  auto* chunk = static_cast<uint8_t*>(std::malloc(kChunkSize));
  if (!chunk) outOfMemory();
  std::memset(chunk, kFreshFill, kChunkSize);
  chunks_.push_back(chunk);
  // Thread the cells so the lowest address is handed out first.
  for (size_t i = kCellsPerChunk; i-- > 0;) {
    Cell* cell = reinterpret_cast<Cell*>(chunk + i * kCellSize);
    cell->next = freeHead_;
    freeHead_ = cell;
  }
}

bool SmallBlockPool::releaseIfIdle() {
  if (cellsInUse_ != 0) return false;
  for (uint8_t* chunk : chunks_) std::free(chunk);
  chunks_.clear();
  freeHead_ = nullptr;
  return true;
}

SmallBlockPool& SmallBlockPool::shared() {
  // Built in place and never destroyed: values held by other static objects may be released
  // after every destructor in this file has run.
  alignas(SmallBlockPool) static unsigned char storage[sizeof(SmallBlockPool)];
  static SmallBlockPool* pool = [] {
    auto* made = new (storage) SmallBlockPool();
    std::atexit([] { SmallBlockPool::shared().releaseIfIdle(); });
    return made;
  }();
  return *pool;
}

void* allocateBlock(size_t size) {
  if (size <= SmallBlockPool::kCellSize) return SmallBlockPool::shared().allocate();
  void* storage = std::malloc(size);
  if (!storage) outOfMemory();
  return storage;
}

void freeBlock(void* storage, size_t size) {
  if (!storage) return;
  if (size <= SmallBlockPool::kCellSize) SmallBlockPool::shared().free(storage);
  else std::free(storage);
}

void outOfMemory() {
  platform::messageBox("out of memory", "Error", platform::MessageBoxButtons::ok);
  std::_Exit(1);
}

}  // namespace qn
