#include "text/repair/myRepairBytes.h"

#include <algorithm>

#include "platform/codepage/codePageCodecs.h"
#include "platform/codepage/codePageWestern.h"

namespace magna::repair {

namespace {

namespace cp = platform::detail;

WideString Utf16In(std::string_view bytes, bool bigEndian, size_t& errors) {
  WideString text(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    const auto a = static_cast<unsigned char>(bytes[2 * i]);
    const auto b = static_cast<unsigned char>(bytes[2 * i + 1]);
    text[i] = static_cast<char16_t>(bigEndian ? a << 8 | b : b << 8 | a);
  }
  if (bytes.size() % 2 != 0) {
    text.push_back(cp::kReplacement);
    ++errors;
  }
  return text;
}

void AppendUtf16(WideView text, bool bigEndian, AnsiString& bytes) {
  for (char16_t u : text) {
    const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
}

WideString AsciiIn(std::string_view bytes) {
  WideString text(bytes.size(), u'\0');
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    text[i] = b < 0x80 ? b : cp::kReplacement;
  }
  return text;
}

bool WesternOut(WideView text, bool latin1, AnsiString& bytes) {
  bytes.reserve(text.size());
  for (char16_t u : text) {
    const int b = platform::WesternByteOf(u);
    if (b < 0 || (latin1 && u >= 0x100)) return false;
    bytes += static_cast<char>(b);
  }
  return true;
}

}  // namespace

const char* CodeLabel(TRepairCode code) {
  switch (code) {
    case TRepairCode::UTF8: return "UTF-8";
    case TRepairCode::ShiftJIS: return "Shift_JIS";
    case TRepairCode::EUCJP: return "EUC-JP";
    case TRepairCode::ISO2022JP: return "ISO-2022-JP";
    case TRepairCode::UTF7: return "UTF-7";
    case TRepairCode::UTF16LE: return "UTF-16LE";
    case TRepairCode::UTF16BE: return "UTF-16BE";
    case TRepairCode::Latin1: return "ISO-8859-1";
    case TRepairCode::Windows1252: return "Windows-1252";
    case TRepairCode::ASCII: return "ASCII";
    case TRepairCode::None: return "";
  }
  return "";
}

WideString DecodeIn(TRepairCode code, std::string_view bytes, size_t& errors) {
  errors = 0;
  WideString text;
  switch (code) {
    case TRepairCode::UTF8: text = cp::DecodeUtf8(bytes); break;
    case TRepairCode::ShiftJIS: text = cp::DecodeSjis(bytes); break;
    case TRepairCode::EUCJP: text = cp::DecodeEuc(bytes); break;
    case TRepairCode::ISO2022JP: text = cp::DecodeJis(bytes); break;
    case TRepairCode::UTF7: text = cp::DecodeUtf7(bytes); break;
    case TRepairCode::UTF16LE: return Utf16In(bytes, false, errors);
    case TRepairCode::UTF16BE: return Utf16In(bytes, true, errors);
    case TRepairCode::Latin1: return platform::Latin1ToWide(bytes);
    case TRepairCode::Windows1252: return platform::Windows1252ToWide(bytes, false);
    case TRepairCode::ASCII: text = AsciiIn(bytes); break;
    case TRepairCode::None: return text;
  }
  errors = static_cast<size_t>(std::count(text.begin(), text.end(), cp::kReplacement));
  return text;
}

bool DecodeCut(TRepairCode code, std::string_view bytes, bool cutStart, bool cutEnd,
               WideString& out, size_t& head, size_t& tail) {
  // A character of up to four bytes, and what is left of a cut escape (%E or \x8).
  constexpr size_t kMaxCut = 6;
  const size_t maxHead = cutStart ? std::min(kMaxCut, bytes.size()) : 0;
  const size_t maxTail = cutEnd ? kMaxCut : 0;
  for (size_t dropped = 0; dropped <= maxHead + maxTail; ++dropped) {
    for (head = std::min(dropped, maxHead); head + maxTail >= dropped; --head) {
      tail = dropped - head;
      size_t errors = 0;
      if (head + tail < bytes.size() || bytes.empty()) {
        out = DecodeIn(code, bytes.substr(head, bytes.size() - head - tail), errors);
        if (errors == 0) return true;
      }
      if (head == 0) break;
    }
  }
  return false;
}

bool EncodeIn(TRepairCode code, WideView text, AnsiString& bytes) {
  bytes.clear();
  bool usedDefault = false;
  switch (code) {
    case TRepairCode::UTF8: bytes = cp::EncodeUtf8(text); break;
    case TRepairCode::ShiftJIS: bytes = cp::EncodeSjis(text, false, usedDefault, '?'); break;
    case TRepairCode::EUCJP: bytes = cp::EncodeEuc(text, false, usedDefault, '?'); break;
    case TRepairCode::ISO2022JP: {
      // Its writer substitutes what it cannot hold: only a reading that gives the text
      // back shows that every character was held.
      bytes = cp::EncodeJis(text);
      usedDefault = cp::DecodeJis(bytes) != text;
      break;
    }
    case TRepairCode::UTF7: bytes = cp::EncodeUtf7(text); break;
    case TRepairCode::UTF16LE: AppendUtf16(text, false, bytes); break;
    case TRepairCode::UTF16BE: AppendUtf16(text, true, bytes); break;
    case TRepairCode::Latin1: return WesternOut(text, true, bytes);
    case TRepairCode::Windows1252: return WesternOut(text, false, bytes);
    case TRepairCode::ASCII:
      if (std::any_of(text.begin(), text.end(), [](char16_t u) { return u >= 0x80; })) return false;
      bytes.assign(text.begin(), text.end());
      break;
    case TRepairCode::None: return false;
  }
  // A lone surrogate has no bytes in the Unicode forms either.
  if (code == TRepairCode::UTF8 || code == TRepairCode::UTF7) {
    size_t errors = 0;
    usedDefault = DecodeIn(code, bytes, errors) != text;
  }
  return !usedDefault;
}

}  // namespace magna::repair
