#include "text/repair/myRepairForms.h"

#include <cstdio>

#include "platform/codepage/codePageWestern.h"
#include "text/repair/myRepairBytes.h"

namespace magna::repair {

namespace {

constexpr size_t kMimeWordCharacters = 10;

void AppendAscii(WideString& out, const char* ascii) {
  for (; *ascii != 0; ++ascii) out += static_cast<char16_t>(*ascii);
}

void AppendHex(WideString& out, const char* format, unsigned value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, format, value);
  AppendAscii(out, buffer);
}

/// The charset label of a MIME encoded-word.
const char* MimeLabel(TRepairCode code) {
  return code == TRepairCode::ASCII ? "US-ASCII" : CodeLabel(code);
}

/// The simple escape programs write for a character, or null.
const char* SimpleEscape(char32_t c, bool quote) {
  switch (c) {
    case '\\': return "\\\\";
    case '\n': return "\\n";
    case '\r': return "\\r";
    case '\t': return "\\t";
    case '"': return quote ? "\\\"" : nullptr;
    default: return nullptr;
  }
}

/// `text` in `code`, each byte written by `write`; false when the code cannot hold it.
template <class Write>
bool WriteBytes(WideView text, TRepairCode code, WideString& out, Write write) {
  AnsiString bytes;
  if (!EncodeIn(code, text, bytes)) return false;
  out.clear();
  for (char c : bytes) write(static_cast<unsigned char>(c));
  return true;
}

void AppendBase64(WideString& out, std::string_view bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t group = 0;
    const size_t take = std::min<size_t>(3, bytes.size() - i);
    for (size_t k = 0; k < 3; ++k)
      group = group << 8 | (k < take ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    for (size_t k = 0; k < 4; ++k)
      out += k <= take ? static_cast<char16_t>(kDigits[(group >> (18 - 6 * k)) & 0x3F]) : u'=';
  }
}

void AppendQ(WideString& out, std::string_view bytes) {
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b == ' ') {
      out += u'_';
    } else if (b > 0x20 && b < 0x7F && b != '=' && b != '?' && b != '_') {
      out += static_cast<char16_t>(b);
    } else {
      AppendHex(out, "=%02X", b);
    }
  }
}

/// The end of the piece of at most `count` characters from `from` (a surrogate pair and
/// CR LF are one character).
size_t PieceEnd(WideView text, size_t from, size_t count) {
  size_t i = from;
  for (size_t k = 0; k < count && i < text.size(); ++k) {
    const char16_t u = text[i++];
    if (i < text.size() && ((u >= 0xD800 && u <= 0xDBFF) || (u == '\r' && text[i] == '\n'))) ++i;
  }
  return i;
}

bool IsUnreserved(unsigned char b) {
  return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' ||
         b == '.' || b == '_' || b == '~';
}

bool IsLabelAscii(char16_t u) {
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '-';
}

}  // namespace

bool Misread(WideView text, TRepairCode source, TRepairCode reader, bool strict, WideString& out) {
  AnsiString bytes;
  if (!EncodeIn(source, text, bytes)) return false;
  size_t errors = 0;
  out = reader == TRepairCode::Windows1252 ? platform::Windows1252ToWide(bytes, strict)
                                           : DecodeIn(reader, bytes, errors);
  return true;
}

bool DropJisEscapes(WideView text, WideString& out) {
  AnsiString bytes;
  if (!EncodeIn(TRepairCode::ISO2022JP, text, bytes)) return false;
  out.clear();
  for (char c : bytes)
    if (c != '\x1B') out += static_cast<char16_t>(static_cast<unsigned char>(c));
  return true;
}

bool MimeEncode(WideView text, TRepairCode charset, bool base64, WideString& out) {
  out.clear();
  AnsiString bytes;
  for (size_t from = 0; from < text.size();) {
    const size_t end = PieceEnd(text, from, kMimeWordCharacters);
    if (!EncodeIn(charset, text.substr(from, end - from), bytes)) return false;
    if (from > 0) AppendAscii(out, "\n ");
    AppendAscii(out, "=?");
    AppendAscii(out, MimeLabel(charset));
    AppendAscii(out, base64 ? "?B?" : "?Q?");
    if (base64) {
      AppendBase64(out, bytes);
    } else {
      AppendQ(out, bytes);
    }
    AppendAscii(out, "?=");
    from = end;
  }
  return true;
}

bool PercentEncode(WideView text, TRepairCode code, WideString& out) {
  return WriteBytes(text, code, out, [&out](unsigned b) {
    if (IsUnreserved(static_cast<unsigned char>(b))) {
      out += static_cast<char16_t>(b);
    } else {
      AppendHex(out, "%%%02X", b);
    }
  });
}

WideString ReferenceEncode(WideView text, bool hex) {
  WideString out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c == '&') {
      AppendAscii(out, "&amp;");
    } else if (c == '<') {
      AppendAscii(out, "&lt;");
    } else if (c == '>') {
      AppendAscii(out, "&gt;");
    } else if (c < 0x80) {
      out += static_cast<char16_t>(c);
    } else {
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size())
        c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
      AppendHex(out, hex ? "&#x%X;" : "&#%u;", static_cast<unsigned>(c));
    }
  }
  return out;
}

WideString UnicodeEscape(WideView text, bool json) {
  WideString out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (const char* simple = SimpleEscape(c, json)) {
      AppendAscii(out, simple);
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char16_t>(c);
    } else if (json || (c >= 0x100 && (c < 0xD800 || c > 0xDFFF))) {
      AppendHex(out, "\\u%04x", static_cast<unsigned>(c));
    } else if (c < 0x100) {
      AppendHex(out, "\\x%02x", static_cast<unsigned>(c));
    } else if (c <= 0xDBFF && i + 1 < text.size()) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
      AppendHex(out, "\\U%08x", static_cast<unsigned>(c));
    } else {
      AppendHex(out, "\\u%04x", static_cast<unsigned>(c));
    }
  }
  return out;
}

bool ByteEscape(WideView text, TRepairCode code, WideString& out) {
  return WriteBytes(text, code, out, [&out](unsigned b) {
    if (const char* simple = SimpleEscape(b, false)) {
      AppendAscii(out, simple);
    } else if (b >= 0x20 && b < 0x7F) {
      out += static_cast<char16_t>(b);
    } else {
      AppendHex(out, "\\x%02x", b);
    }
  });
}

WideString PunycodeLabels(WideView text) {
  WideString out, label;
  for (size_t i = 0; i < text.size();) {
    if (text[i] < 0x80 && !IsLabelAscii(text[i])) {
      out += text[i++];
      continue;
    }
    size_t end = i;
    bool beyondAscii = false;
    while (end < text.size() && (text[end] >= 0x80 || IsLabelAscii(text[end])))
      beyondAscii |= text[end++] >= 0x80;
    const WideView run = text.substr(i, end - i);
    if (beyondAscii && EncodePunycode(run, label)) {
      AppendAscii(out, "xn--");
      out += label;
    } else {
      out += run;
    }
    i = end;
  }
  return out;
}

}  // namespace magna::repair
