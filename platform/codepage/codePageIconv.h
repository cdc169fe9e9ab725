#pragma once
// glibc iconv behind an RAII handle, for the mappings where glibc is the better match.

#include <iconv.h>

#include <string>
#include <string_view>

namespace magna::platform {

class IconvHandle {
 public:
  IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~IconvHandle() {
    if (valid()) iconv_close(cd_);
  }
  IconvHandle(const IconvHandle&) = delete;
  IconvHandle& operator=(const IconvHandle&) = delete;

  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  /// Converts all of `in`; false on any invalid or incomplete input (out holds the part done).
  bool Convert(std::string_view in, std::string& out);

 private:
  iconv_t cd_;
};

}  // namespace magna::platform
