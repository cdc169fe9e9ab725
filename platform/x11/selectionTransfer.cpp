#include "platform/x11/selectionTransfer.h"

#include <cstring>

namespace magna::platform {

std::vector<uint32_t> TargetAtoms(uint8_t format, std::string_view bytes) {
  std::vector<uint32_t> atoms;
  if (format != 32) return atoms;
  atoms.resize(bytes.size() / sizeof(uint32_t));
  if (!atoms.empty()) std::memcpy(atoms.data(), bytes.data(), atoms.size() * sizeof(uint32_t));
  return atoms;
}

TTransferAssembly::State TTransferAssembly::AddPart(std::string_view part) {
  if (!tooBig_ && part.empty()) return State::Done;
  return Append(part);
}

TTransferAssembly::State TTransferAssembly::Append(std::string_view bytes) {
  if (tooBig_) return State::TooBig;
  if (Exceeds(data_.size() + bytes.size())) {
    tooBig_ = true;
    std::string().swap(data_);
    return State::TooBig;
  }
  data_.append(bytes);
  return State::More;
}

}  // namespace magna::platform
