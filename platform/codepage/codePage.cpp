#include "platform/codepage/codePage.h"

#include <cstring>

#include "platform/codepage/codePageAscii.h"
#include "platform/codepage/codePageCodecs.h"
#include "platform/codepage/codePageTables.h"

namespace magna::platform {

namespace {

std::string_view UpToTerminator(std::string_view bytes) {
  const void* zero = std::memchr(bytes.data(), 0, bytes.size());
  return zero ? bytes.substr(0, static_cast<size_t>(static_cast<const char*>(zero) - bytes.data()))
              : bytes;
}

WideView UpToTerminator(WideView text) {
  return text.substr(0, detail::FindZeroUnit(text.data(), text.size()));
}

}  // namespace

WideString MultiByteToWide(unsigned codePage, std::string_view bytes) {
  bytes = UpToTerminator(bytes);
  switch (codePage) {
    case CP_ANSI: return detail::DecodeSjis(bytes);
    case CP_EUCJP: return detail::DecodeEuc(bytes);
    case CP_ISO2022JP: return detail::DecodeJis(bytes);
    case CP_UTF7: return detail::DecodeUtf7(bytes);
    case CP_UTF8: return detail::DecodeUtf8(bytes);
    default: return {};
  }
}

AnsiString WideToMultiByte(unsigned codePage, WideView text, unsigned flags, bool* usedDefault,
                           char defaultChar) {
  text = UpToTerminator(text);
  bool used = false;
  AnsiString bytes;
  WideString composed;
  bool bestFit = (flags & WC_NO_BEST_FIT_CHARS) == 0;
  if ((codePage == CP_ANSI || codePage == CP_EUCJP) && (flags & WC_COMPOSITECHECK) != 0 &&
      detail::ComposeMarks(text, composed))
    text = composed;
  switch (codePage) {
    case CP_ANSI: bytes = detail::EncodeSjis(text, bestFit, used, defaultChar); break;
    case CP_EUCJP: bytes = detail::EncodeEuc(text, bestFit, used, defaultChar); break;
    case CP_ISO2022JP: bytes = detail::EncodeJis(text); break;
    case CP_UTF7: bytes = detail::EncodeUtf7(text); break;
    case CP_UTF8: bytes = detail::EncodeUtf8(text); break;
    default: break;
  }
  if (usedDefault != nullptr) *usedDefault = used;
  return bytes;
}

uint16_t AnsiCodeOf(char16_t unit) {
  return detail::Sjis().exact[unit];
}

}  // namespace magna::platform
