#pragma once
// ICU converters opened once per thread and kept: opening a converter per call is slow.
// The converter handed out is reset, so no state leaks from the previous use.

#include <unicode/ucnv.h>

namespace magna::platform {

/// The calling thread's converter of that ICU name (reset); nullptr when ICU lacks it.
UConverter* CachedIcuConverter(const char* name);

}  // namespace magna::platform
