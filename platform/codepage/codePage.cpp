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
  // UTF-7's encoder stops at the terminator itself, saving a pass over a long text.
  if (codePage != CP_UTF7) text = UpToTerminator(text);
  bool used = false;
  AnsiString bytes;
  bool bestFit = (flags & WC_NO_BEST_FIT_CHARS) == 0;
  const auto encode = [&](WideView units) {
    used = false;
    switch (codePage) {
      case CP_ANSI: bytes = detail::EncodeSjis(units, bestFit, used, defaultChar); break;
      case CP_EUCJP: bytes = detail::EncodeEuc(units, bestFit, used, defaultChar); break;
      case CP_ISO2022JP: bytes = detail::EncodeJis(units); break;
      case CP_UTF7: bytes = detail::EncodeUtf7(units); break;
      case CP_UTF8: bytes = detail::EncodeUtf8(units); break;
      default: break;
    }
  };
  encode(text);
  // The composite check joins a base character and its combining marks first. No
  // combining mark has a mapping in code pages 932 and 20932, so only a text whose
  // encoding needed the default character can hold one: others are not searched again.
  WideString composed;
  if (used && (codePage == CP_ANSI || codePage == CP_EUCJP) && (flags & WC_COMPOSITECHECK) != 0 &&
      detail::ComposeMarks(text, composed))
    encode(composed);
  if (usedDefault != nullptr) *usedDefault = used;
  return bytes;
}

uint16_t AnsiCodeOf(char16_t unit) {
  return detail::Sjis().exact[unit];
}

}  // namespace magna::platform
