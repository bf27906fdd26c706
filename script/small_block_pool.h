// The allocator of 32-byte cells under every small script object and short string buffer.
// Chunks of 3200 bytes are cut into 100 cells threaded on a singly linked free list; allocation
// pops the head, freeing pushes the cell back. New chunks are filled with 0xAB so stale reads
// stand out. The pool never shrinks while running; at exit it frees its chunks only when no cell
// is in use, so an object released after that point never touches freed memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qn {

class SmallBlockPool {
 public:
  static constexpr size_t kCellSize = 32;
  static constexpr size_t kCellsPerChunk = 100;
  static constexpr size_t kChunkSize = kCellSize * kCellsPerChunk;
  static constexpr uint8_t kFreshFill = 0xAB;

  SmallBlockPool() = default;
  ~SmallBlockPool() { releaseIfIdle(); }
  SmallBlockPool(const SmallBlockPool&) = delete;
  SmallBlockPool& operator=(const SmallBlockPool&) = delete;

  void* allocate() {
    if (!freeHead_) addChunk();
    Cell* cell = freeHead_;
    freeHead_ = cell->next;
    ++cellsInUse_;
    return cell;
  }

  void free(void* storage) {
    Cell* cell = static_cast<Cell*>(storage);
    cell->next = freeHead_;
    freeHead_ = cell;
    --cellsInUse_;
  }

  size_t cellsInUse() const { return cellsInUse_; }
  size_t chunkCount() const { return chunks_.size(); }

  // Frees every chunk when no cell is in use; returns whether it did.
  bool releaseIfIdle();

  // The process-wide pool. It is never destroyed; its chunks go at exit when idle.
  static SmallBlockPool& shared();

 private:
  struct Cell {
    Cell* next;
  };
  void addChunk();

  Cell* freeHead_ = nullptr;
  std::vector<uint8_t*> chunks_;
  size_t cellsInUse_ = 0;
};

// Blocks of up to kCellSize bytes from the shared pool, larger ones from the general heap.
// The caller passes the same size to both.
void* allocateBlock(size_t size);
void freeBlock(void* storage, size_t size);

// Shows "out of memory" and ends the program: storage the system cannot do without is gone.
[[noreturn]] void outOfMemory();

}  // namespace qn
