#pragma once
// Where the conversions write: a small chunk that stays in the first-level cache, appended
// to the result whenever it fills. Nothing is zero-filled before it is written, and the
// result is sized by what is written rather than by a worst-case bound, so a caller pays
// only for the memory its text takes: a buffer of tens of megabytes that is zero-filled
// and then overwritten pays a page fault per page (and above glibc's mmap threshold that
// is fresh memory on every call). Large results ask the kernel for huge pages, which cost
// one fault for 2 MiB instead of one per 4 KiB.
//
// Typical use, in a converter's loop:
//   ChunkedOutput<char16_t> output(bytes.size());
//   while (p < end) {
//     char16_t* out = output.Begin();
//     while (p < end && out < output.Limit()) out = DecodeOne(p, end, out);
//     output.Flush(out, p - begin);
//   }
//   return output.Take();

#include <sys/mman.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace magna::platform::detail {

/// Asks for huge pages for the whole 2 MiB pages inside [p, p + bytes) (only worth it
/// for buffers of several of them). Nothing has touched them yet when this is called.
inline void AdviseHugePages(void* p, size_t bytes) {
  constexpr uintptr_t kHuge = uintptr_t{2} << 20;
  const auto start = reinterpret_cast<uintptr_t>(p);
  const uintptr_t first = (start + kHuge - 1) & ~(kHuge - 1);
  const uintptr_t last = (start + bytes) & ~(kHuge - 1);
  if (last >= first + 2 * kHuge)
    ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

template <class CharT>
class ChunkedOutput {
 public:
  /// Units a chunk holds before Flush; a converter's step may write up to kSlack past it.
  static constexpr size_t kChunk = 8192;
  static constexpr size_t kSlack = 64;

  /// `inputSize`: the units of input the conversion reads, to estimate the result's size.
  explicit ChunkedOutput(size_t inputSize) : inputSize_(inputSize) {}
  ChunkedOutput(const ChunkedOutput&) = delete;
  ChunkedOutput& operator=(const ChunkedOutput&) = delete;

  CharT* Begin() { return chunk_; }
  const CharT* Limit() const { return chunk_ + kChunk; }
  /// Appends the chunk up to `out`; `consumed` units of input have been read so far.
  void Flush(const CharT* out, size_t consumed) {
    const size_t n = static_cast<size_t>(out - chunk_);
    if (result_.size() + n > result_.capacity()) Reserve(result_.size() + n, consumed);
    result_.append(chunk_, n);
  }
  std::basic_string<CharT> Take() { return std::move(result_); }

 private:
  /// Room for the result as the output so far predicts it: what the rest of the input
  /// will give at the same rate, with a margin, and a chunk; exactly what is needed once
  /// the input is all read. The margin is wide while little of the input has been seen
  /// (up to a quarter more) and narrows to a twentieth: an estimate that falls short
  /// late costs a copy of nearly the whole result, while room never written costs no
  /// memory, its pages never being touched. A larger buffer is asked huge pages before
  /// it is touched.
  void Reserve(size_t needed, size_t consumed) {
    size_t estimate = needed;
    if (consumed < inputSize_) {
      const double rest = static_cast<double>(inputSize_ - consumed);
      const double rate =
          static_cast<double>(needed) / static_cast<double>(std::max<size_t>(consumed, 1));
      const double margin = 1.05 + 0.2 * rest / static_cast<double>(inputSize_);
      estimate += static_cast<size_t>(rest * rate * margin) + kChunk;
    }
    std::basic_string<CharT> larger;
    larger.reserve(estimate);
    AdviseHugePages(larger.data(), larger.capacity() * sizeof(CharT));
    larger.append(result_);
    result_.swap(larger);
  }

  size_t inputSize_;
  std::basic_string<CharT> result_;
  CharT chunk_[kChunk + kSlack];
};

}  // namespace magna::platform::detail
