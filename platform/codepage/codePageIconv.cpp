#include "platform/codepage/codePageIconv.h"

namespace magna::platform {

bool IconvHandle::Convert(std::string_view in, std::string& out) {
  out.assign(in.size() * 4 + 16, '\0');
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char* dst = out.data();
  size_t dstLeft = out.size();
  iconv(cd_, nullptr, nullptr, nullptr, nullptr);
  size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
  bool ok = r != static_cast<size_t>(-1) &&
            iconv(cd_, nullptr, nullptr, &dst, &dstLeft) != static_cast<size_t>(-1);
  out.resize(out.size() - dstLeft);
  return ok && srcLeft == 0;
}

}  // namespace magna::platform
