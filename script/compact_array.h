// A growable array in 16 bytes: element pointer, count and a 31-bit capacity that leaves one bit
// to its owner (the lists keep their `sorted` flag there), so that a list object together with
// its header fits one 32-byte pool cell. Element storage comes from allocateBlock: arrays of up to
// 32 bytes live in pool cells, larger ones on the heap; storage that cannot be had ends the
// program with "out of memory".
#pragma once

#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>

#include "script/small_block_pool.h"

namespace qn {

template <class T>
class CompactArray {
 public:
  static constexpr int32_t kMaxCapacity = INT32_MAX / static_cast<int32_t>(sizeof(T));
  // The first block fills a pool cell.
  static constexpr int64_t kMinimumCapacity = sizeof(T) < 32 ? 32 / sizeof(T) : 1;

  CompactArray() : capacity_(0), ownerFlag_(0) {}
  ~CompactArray() {
    clear();
    freeBlock(data_, bytesFor(capacity_));
  }
  CompactArray(const CompactArray&) = delete;
  CompactArray& operator=(const CompactArray&) = delete;

  int32_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T& operator[](int32_t index) { return data_[index]; }
  const T& operator[](int32_t index) const { return data_[index]; }
  T* begin() { return data_; }
  T* end() { return data_ + size_; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + size_; }

  bool ownerFlag() const { return ownerFlag_ != 0; }
  void setOwnerFlag(bool on) { ownerFlag_ = on ? 1u : 0u; }

  void reserve(int32_t wanted) {
    if (wanted <= static_cast<int32_t>(capacity_)) return;
    if (wanted > kMaxCapacity) outOfMemory();
    auto* grown = static_cast<T*>(allocateBlock(bytesFor(wanted)));
    for (int32_t i = 0; i < size_; ++i) {
      new (grown + i) T(std::move(data_[i]));
      data_[i].~T();
    }
    freeBlock(data_, bytesFor(capacity_));
    data_ = grown;
    capacity_ = static_cast<uint32_t>(wanted);
  }

  // Taken by value: the new element may be a copy of one already in the array.
  void append(T element) {
    makeRoomFor(size_ + 1);
    new (data_ + size_) T(std::move(element));
    ++size_;
  }

  // Inserts before index (0 <= index <= size).
  void insert(int32_t index, T element) {
    if (index >= size_) {
      append(std::move(element));
      return;
    }
    makeRoomFor(size_ + 1);
    new (data_ + size_) T(std::move(data_[size_ - 1]));
    for (int32_t i = size_ - 1; i > index; --i) data_[i] = std::move(data_[i - 1]);
    data_[index] = std::move(element);
    ++size_;
  }

  void erase(int32_t index) {
    for (int32_t i = index; i + 1 < size_; ++i) data_[i] = std::move(data_[i + 1]);
    data_[--size_].~T();
  }

  // Grows to `count` elements, copies of `fill`; never shrinks. `fill` is taken by value: it
  // may be a copy of an element, which growing moves.
  void growTo(int32_t count, T fill) {
    if (count <= size_) return;
    makeRoomFor(count);
    for (; size_ < count; ++size_) new (data_ + size_) T(fill);
  }

  void clear() {
    // Elements go last to first and the count drops first, so a destructor that reaches back
    // into this array never sees a released element.
    while (size_ > 0) data_[--size_].~T();
  }

 private:
  static size_t bytesFor(uint32_t capacity) { return static_cast<size_t>(capacity) * sizeof(T); }
  static size_t bytesFor(int32_t capacity) { return bytesFor(static_cast<uint32_t>(capacity)); }

  void makeRoomFor(int32_t count) {
    if (count <= static_cast<int32_t>(capacity_)) return;
    if (count > kMaxCapacity) outOfMemory();
    int64_t wanted = std::max<int64_t>({count, int64_t{capacity_} * 2, kMinimumCapacity});
    reserve(static_cast<int32_t>(std::min<int64_t>(wanted, kMaxCapacity)));
  }

  T* data_ = nullptr;
  int32_t size_ = 0;
  uint32_t capacity_ : 31;
  uint32_t ownerFlag_ : 1;
};

}  // namespace qn
