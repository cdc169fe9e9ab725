#include "platform/codepage/icuConverter.h"

#include <map>
#include <string>

#include <unicode/localpointer.h>

namespace magna::platform {

UConverter* CachedIcuConverter(const char* name) {
  thread_local std::map<std::string, icu::LocalUConverterPointer> converters;
  auto [it, inserted] = converters.try_emplace(name);
  if (inserted) {
    UErrorCode status = U_ZERO_ERROR;
    it->second.adoptInstead(ucnv_open(name, &status));
    if (U_FAILURE(status)) it->second.adoptInstead(nullptr);
  }
  if (it->second.isValid()) ucnv_reset(it->second.getAlias());
  return it->second.getAlias();
}

}  // namespace magna::platform
