#pragma once
// The pieces of an X11 selection transfer that need no display: the list of
// targets in a TARGETS reply, and the data of a conversion gathered part by part
// (an incremental "INCR" transfer sends it in parts and ends with an empty one)
// under a size limit.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace magna::platform {

/// The atoms of a TARGETS reply: 32-bit items in the machine's order. A reply of
/// another format, or a trailing partial item, gives no atom for those bytes.
std::vector<uint32_t> TargetAtoms(uint8_t format, std::string_view bytes);

class TTransferAssembly {
 public:
  enum class State { More, Done, TooBig };

  explicit TTransferAssembly(size_t maxBytes) : maxBytes_(maxBytes) {}
  /// Adds one part of an incremental transfer; the empty part ends it. Past the
  /// limit, the data gathered so far is dropped and TooBig stays the answer.
  State AddPart(std::string_view part);
  /// Adds bytes of the part being read (a property read in pieces): More or TooBig.
  State Append(std::string_view bytes);
  /// Room for the size an owner announces, up to the limit: the data then grows in
  /// place instead of being copied at each doubling.
  void Reserve(size_t expected) { data_.reserve(std::min(expected, maxBytes_)); }
  size_t Size() const { return data_.size(); }
  /// Whether a size (a property's length, the lower bound INCR announces) is over the limit.
  bool Exceeds(size_t size) const { return size > maxBytes_; }
  /// The data gathered; empties the assembly.
  std::string Take() { return std::move(data_); }

 private:
  size_t maxBytes_;
  bool tooBig_ = false;
  std::string data_;
};

}  // namespace magna::platform
