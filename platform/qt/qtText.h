#pragma once
// The one bridge between the program's wide text and QString: both are UTF-16,
// so every code unit, a lone surrogate too, passes unchanged.

#include <QString>

#include "platform/myBase.h"

namespace magna::platform::qt {

/// A copy of the text; never fails.
inline QString ToQString(WideView text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

/// A copy of the text; a null QString gives the empty text.
inline WideString ToWide(const QString& text) {
  return WideString(reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size()));
}

}  // namespace magna::platform::qt
