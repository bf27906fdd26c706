// The list sort: an introspective quicksort (median of three, heap sort once the partitions are
// 2 log2(n) levels deep, insertion sort for runs of 16 or fewer). Not stable.
//
// Script values need not be totally ordered (a string and a number may be incomparable, and a
// comparison that answers false both ways is common), so every scan here is bounded by the range
// itself and every partition step removes its pivot: a strange ordering can leave the elements in
// an odd order, but never reads or writes outside them and never recurses without end.
#pragma once

#include <bit>
#include <cstddef>
#include <utility>

namespace qn {

namespace detail {

inline constexpr ptrdiff_t kInsertionSortRun = 16;

template <class T, class Less>
void insertionSort(T* first, T* last, Less& less) {
  for (T* next = first + 1; next < last; ++next) {
    T moving = std::move(*next);
    T* hole = next;
    for (; hole > first && less(moving, hole[-1]); --hole) *hole = std::move(hole[-1]);
    *hole = std::move(moving);
  }
}

template <class T, class Less>
void siftDown(T* heap, ptrdiff_t root, ptrdiff_t size, Less& less) {
  T moving = std::move(heap[root]);
  for (ptrdiff_t child = 2 * root + 1; child < size; child = 2 * root + 1) {
    if (child + 1 < size && less(heap[child], heap[child + 1])) ++child;
    if (!less(moving, heap[child])) break;
    heap[root] = std::move(heap[child]);
    root = child;
  }
  heap[root] = std::move(moving);
}

template <class T, class Less>
void heapSort(T* first, T* last, Less& less) {
  ptrdiff_t size = last - first;
  for (ptrdiff_t root = size / 2; root-- > 0;) siftDown(first, root, size, less);
  for (ptrdiff_t end = size - 1; end > 0; --end) {
    std::swap(first[0], first[end]);
    siftDown(first, 0, end, less);
  }
}

// Puts the median of the first, middle and last elements last and partitions the rest around it;
// returns where the pivot ends, with nothing before it greater and nothing after it smaller.
template <class T, class Less>
T* partitionAroundMedian(T* first, T* last, Less& less) {
  T* middle = first + (last - first) / 2;
  T* back = last - 1;
  if (less(*middle, *first)) std::swap(*middle, *first);
  if (less(*back, *middle)) std::swap(*back, *middle);
  if (less(*middle, *first)) std::swap(*middle, *first);
  std::swap(*middle, *back);
  T* store = first;
  for (T* scan = first; scan < back; ++scan) {
    if (less(*scan, *back)) std::swap(*scan, *store++);
  }
  std::swap(*store, *back);
  return store;
}

}  // namespace detail

template <class T, class Less>
void introSort(T* first, T* last, Less less) {
  ptrdiff_t size = last - first;
  if (size < 2) return;
  int depthLeft = 2 * (std::bit_width(static_cast<size_t>(size)) - 1);
  // Recurse on the smaller side and loop on the larger, so the stack stays logarithmic.
  while (last - first > detail::kInsertionSortRun) {
    if (depthLeft-- == 0) {
      detail::heapSort(first, last, less);
      return;
    }
    T* pivot = detail::partitionAroundMedian(first, last, less);
    if (pivot - first < last - pivot) {
      introSort(first, pivot, less);
      first = pivot + 1;
    } else {
      introSort(pivot + 1, last, less);
      last = pivot;
    }
  }
  detail::insertionSort(first, last, less);
}

}  // namespace qn
