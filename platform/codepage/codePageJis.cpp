// Code page 50220: ISO-2022-JP. JIS X 0208 positions mean what code page 932 gives
// them (NEC row 13 and the NEC-selected IBM extensions included); half-width katakana
// are written as full-width; reading also accepts JIS X 0212 and half-width katakana
// (ESC ( I, SO/SI, eight-bit bytes).
#include "platform/codepage/codePageAscii.h"
#include "platform/codepage/codePageCodecs.h"
#include "platform/codepage/codePageTables.h"

namespace magna::platform::detail {

namespace {

enum class JisMode { Ascii, Jis0208, Jis0212, Kana };

constexpr char kToAscii[] = "\x1B(B";
constexpr char kTo0208[] = "\x1B$B";

bool IsJisByte(unsigned b) {
  return b >= 0x21 && b <= 0x7E;
}

/// Reads the escape sequence at p (p[0] is ESC); advances p and sets mode when known.
bool ReadEscape(const unsigned char*& p, const unsigned char* end, JisMode& mode) {
  struct Escape {
    std::string_view seq;
    JisMode mode;
  };
  static constexpr Escape kEscapes[] = {
      {"\x1B(B", JisMode::Ascii},    {"\x1B(J", JisMode::Ascii},   {"\x1B(I", JisMode::Kana},
      {"\x1B$@", JisMode::Jis0208},  {"\x1B$B", JisMode::Jis0208}, {"\x1B$(B", JisMode::Jis0208},
      {"\x1B$(D", JisMode::Jis0212},
  };
  std::string_view rest(reinterpret_cast<const char*>(p), static_cast<size_t>(end - p));
  for (const Escape& e : kEscapes) {
    if (rest.substr(0, e.seq.size()) == e.seq) {
      p += e.seq.size();
      mode = e.mode;
      return true;
    }
  }
  if (rest.substr(0, 3) == "\x1B&@") {  // announces the 1990 revision: nothing to do
    p += 3;
    return true;
  }
  return false;
}

char16_t DecodePair(const unsigned char*& p, const unsigned char* end, JisMode mode) {
  if (end - p < 2 || !IsJisByte(p[1])) {
    ++p;
    return kReplacement;
  }
  int index = JisIndex(p[0], p[1]);
  p += 2;
  uint16_t unit = mode == JisMode::Jis0208 ? Jis().jis0208[index] : Euc().jis0212[index];
  return unit ? unit : kReplacement;
}

}  // namespace

namespace {

/// ISO-2022-JP's state between chunks: the designated set and SO/SI.
struct JisReader {
  JisMode mode = JisMode::Ascii;
  bool shiftedOut = false;  // SO: half-width katakana until SI

  /// Decodes from p while out < limit (writing at most one unit past it).
  char16_t* operator()(const unsigned char*& p, const unsigned char* end, char16_t* out,
                       const char16_t* limit) {
    while (p < end && out < limit) {
      unsigned b = *p;
      JisMode current = shiftedOut ? JisMode::Kana : mode;
      if (current == JisMode::Jis0208) {  // the bulk of Japanese text: pairs in one go
        const uint16_t* table = Jis().jis0208;
        for (; end - p >= 2 && out < limit && IsJisByte(p[0]) && IsJisByte(p[1]); p += 2) {
          uint16_t unit = table[JisIndex(p[0], p[1])];
          *out++ = unit ? unit : kReplacement;
        }
        if (p == end || out >= limit) break;
        b = *p;
      }
      if (current == JisMode::Ascii && b != 0x1B && b != 0x0E && b != 0x0F && b < 0x80) {
        size_t n =
            WidenAscii<AsciiStops::Shifts>(p, p + std::min<size_t>(end - p, limit - out), out);
        p += n;
        out += n;
      } else if (b == 0x1B) {
        if (!ReadEscape(p, end, mode)) {
          *out++ = kReplacement;
          ++p;
        }
      } else if (b == 0x0E || b == 0x0F) {
        shiftedOut = b == 0x0E;
        ++p;
      } else if (b >= 0xA1 && b <= 0xDF) {
        *out++ = static_cast<char16_t>(0xFF61 + (b - 0xA1));
        ++p;
      } else if (b >= 0x80) {
        *out++ = kReplacement;
        ++p;
      } else if (!IsJisByte(b)) {
        *out++ = static_cast<char16_t>(b);  // controls and space in any mode
        ++p;
      } else if (current == JisMode::Kana) {
        *out++ = b <= 0x5F ? static_cast<char16_t>(0xFF61 + (b - 0x21)) : kReplacement;
        ++p;
      } else {
        *out++ = DecodePair(p, end, current);
      }
    }
    return out;
  }
};

}  // namespace

WideString DecodeJis(std::string_view bytes) {
  return DecodeInChunks(bytes, JisReader{});
}

namespace {

/// The JIS X 0208 code of a unit as code page 932 writes it (best fit allowed); 0 if none.
uint16_t JisCodeOf(const SjisTable& t, char16_t unit, bool& ascii) {
  uint16_t code = t.exact[unit] ? t.exact[unit] : t.bestFit[unit];
  ascii = code != 0 && code < 0x80;
  if (code < 0x100) return ascii ? code : 0;
  if ((code >> 8) >= 0xFA) {
    auto it = t.ibmToNecSelected.find(code);
    if (it == t.ibmToNecSelected.end()) return 0;
    code = it->second;
  }
  return SjisToJis(code);
}

class JisWriter {
 public:
  explicit JisWriter(char* out) : out_(out) {}
  void Ascii(char c) {
    Switch(JisMode::Ascii, kToAscii);
    *out_++ = c;
  }
  void Pair(uint16_t jis) {
    Switch(JisMode::Jis0208, kTo0208);
    *out_++ = static_cast<char>(jis >> 8);
    *out_++ = static_cast<char>(jis & 0xFF);
  }
  char* Finish() {
    Switch(JisMode::Ascii, kToAscii);
    return out_;
  }
  bool InAscii() const { return mode_ == JisMode::Ascii; }
  char*& Out() { return out_; }

 private:
  void Switch(JisMode mode, const char* escape) {
    if (mode_ == mode) return;
    mode_ = mode;
    for (int i = 0; i < 3; ++i) *out_++ = escape[i];
  }
  char* out_;
  JisMode mode_ = JisMode::Ascii;
};

}  // namespace

AnsiString EncodeJis(WideView text) {
  const SjisTable& t = Sjis();
  size_t n = text.size();
  ChunkedOutput<char> output(n);
  JisWriter writer(nullptr);
  for (size_t i = 0; i < n;) {
    char* start = output.Begin();
    writer.Out() = start;
    const char* limit = output.Limit();
    while (i < n && writer.Out() < limit) {
      if (writer.InAscii()) {
        const char16_t* from = text.data() + i;
        size_t run = NarrowAsciiBlocks(from, from + std::min<size_t>(n - i, limit - writer.Out()),
                                       writer.Out());
        i += run;
        writer.Out() += run;
        if (i == n || writer.Out() >= limit) continue;
      }
      char16_t unit = text[i];
      size_t used = 1;
      if (unit >= 0xFF61 && unit <= 0xFF9F) unit = FullWidthKana(text, i, used);
      if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < n && text[i + 1] >= 0xDC00 &&
          text[i + 1] <= 0xDFFF)
        used = 2;
      i += used;
      bool ascii = false;
      uint16_t code = unit < 0x80 ? unit : JisCodeOf(t, unit, ascii);
      if (unit < 0x80 || ascii) {
        writer.Ascii(static_cast<char>(code));
      } else if (code != 0) {
        writer.Pair(code);
      } else {
        writer.Ascii('?');
      }
    }
    if (i == n) writer.Finish();
    output.Flush(writer.Out(), i);
  }
  return output.Take();
}

}  // namespace magna::platform::detail
