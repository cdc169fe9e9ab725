// MIME encoded-words (RFC 2047): =?charset?B?base64?= and =?charset?Q?quoted?=. Words
// side by side, with only white space (folding included) between them, are one text:
// the white space goes, and the bytes of words of the same charset are read together,
// so that a character a careless writer split between two words is whole again.
#include <cctype>
#include <string>

#include "text/repair/myRepairBytes.h"
#include "text/repair/myRepairSteps.h"

namespace magna::repair {

namespace {

struct Word {
  size_t from = 0, end = 0;
  TRepairCode charset = TRepairCode::None;
  bool base64 = false;
  AnsiString bytes;
};

struct CharsetName {
  const char* name;
  TRepairCode code;
};

constexpr CharsetName kCharsets[] = {
    {"utf-8", TRepairCode::UTF8},
    {"utf8", TRepairCode::UTF8},
    {"shift_jis", TRepairCode::ShiftJIS},
    {"shift-jis", TRepairCode::ShiftJIS},
    {"sjis", TRepairCode::ShiftJIS},
    {"x-sjis", TRepairCode::ShiftJIS},
    {"cp932", TRepairCode::ShiftJIS},
    {"windows-31j", TRepairCode::ShiftJIS},
    {"ms932", TRepairCode::ShiftJIS},
    {"csshiftjis", TRepairCode::ShiftJIS},
    {"euc-jp", TRepairCode::EUCJP},
    {"x-euc-jp", TRepairCode::EUCJP},
    {"eucjp", TRepairCode::EUCJP},
    {"iso-2022-jp", TRepairCode::ISO2022JP},
    {"csiso2022jp", TRepairCode::ISO2022JP},
    {"utf-7", TRepairCode::UTF7},
    {"utf-16", TRepairCode::UTF16BE},
    {"utf-16be", TRepairCode::UTF16BE},
    {"utf-16le", TRepairCode::UTF16LE},
    {"us-ascii", TRepairCode::ASCII},
    {"iso-8859-1", TRepairCode::Latin1},
    {"latin1", TRepairCode::Latin1},
    {"windows-1252", TRepairCode::Windows1252},
    {"cp1252", TRepairCode::Windows1252},
};

TRepairCode CharsetOf(WideView label) {
  std::string name;
  for (char16_t u : label) {
    if (u == '*') break;  // RFC 2231 language suffix
    if (u >= 0x80) return TRepairCode::None;
    name += static_cast<char>(std::tolower(static_cast<unsigned char>(u)));
  }
  for (const CharsetName& c : kCharsets)
    if (name == c.name) return c.code;
  return TRepairCode::None;
}

int Base64Value(char16_t u) {
  if (u >= 'A' && u <= 'Z') return u - 'A';
  if (u >= 'a' && u <= 'z') return u - 'a' + 26;
  if (u >= '0' && u <= '9') return u - '0' + 52;
  if (u == '+') return 62;
  if (u == '/') return 63;
  return -1;
}

bool DecodeBase64(WideView text, AnsiString& bytes) {
  uint32_t bits = 0;
  int count = 0;
  size_t i = 0;
  for (; i < text.size() && text[i] != '='; ++i) {
    const int v = Base64Value(text[i]);
    if (v < 0) return false;
    bits = bits << 6 | static_cast<uint32_t>(v);
    count += 6;
    if (count >= 8) {
      count -= 8;
      bytes += static_cast<char>((bits >> count) & 0xFF);
    }
  }
  for (; i < text.size(); ++i)
    if (text[i] != '=') return false;
  return true;
}

bool DecodeQ(WideView text, AnsiString& bytes) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t u = text[i];
    if (u == '_') {
      bytes += ' ';
    } else if (u == '=') {
      if (i + 2 >= text.size()) return false;
      const int high = HexValue(text[i + 1]), low = HexValue(text[i + 2]);
      if (high < 0 || low < 0) return false;
      bytes += static_cast<char>(high << 4 | low);
      i += 2;
    } else if (u > 0x20 && u < 0x7F) {
      bytes += static_cast<char>(u);
    } else {
      return false;
    }
  }
  return true;
}

bool IsWordText(char16_t u) {
  return u > 0x20 && u < 0x7F && u != '?';
}

/// The encoded-word starting at text[i] ("=?"), false when none is there.
bool ParseWord(WideView text, size_t i, Word& word) {
  const size_t n = text.size();
  size_t p = i + 2;
  const size_t labelFrom = p;
  while (p < n && IsWordText(text[p])) ++p;
  if (p + 3 >= n || p == labelFrom || text[p] != '?' || text[p + 2] != '?') return false;
  word.charset = CharsetOf(text.substr(labelFrom, p - labelFrom));
  const char16_t encoding = text[p + 1];
  word.base64 = encoding == 'B' || encoding == 'b';
  if (word.charset == TRepairCode::None || (!word.base64 && encoding != 'Q' && encoding != 'q'))
    return false;
  p += 3;
  const size_t payloadFrom = p;
  while (p < n && IsWordText(text[p])) ++p;
  if (p + 1 >= n || text[p] != '?' || text[p + 1] != '=') return false;
  const WideView payload = text.substr(payloadFrom, p - payloadFrom);
  word.bytes.clear();
  if (!(word.base64 ? DecodeBase64(payload, word.bytes) : DecodeQ(payload, word.bytes)))
    return false;
  word.from = i;
  word.end = p + 2;
  return true;
}

bool IsFoldingSpace(char16_t u) {
  return u == ' ' || u == '\t' || u == '\r' || u == '\n';
}

/// UTF-16 labelled without an order: a byte order mark decides, else big-endian.
TRepairCode Utf16Order(TRepairCode charset, AnsiString& bytes) {
  if (charset != TRepairCode::UTF16BE || bytes.size() < 2) return charset;
  if (bytes.compare(0, 2, "\xFF\xFE") == 0) {
    bytes.erase(0, 2);
    return TRepairCode::UTF16LE;
  }
  if (bytes.compare(0, 2, "\xFE\xFF") == 0) bytes.erase(0, 2);
  return charset;
}

}  // namespace

bool UndoMime(WideView text, StepOutcome& out) {
  OutcomeBuilder builder(text, out);
  out.step = {TRepairForm::MimeB, TRepairCode::None};
  const size_t n = text.size();
  Word word, next, other;
  for (size_t i = 0; i + 1 < n; ++i) {
    if (text[i] != '=' || text[i + 1] != '?' || !ParseWord(text, i, word)) continue;
    // The words that follow with only white space between, in the same charset.
    AnsiString bytes = word.bytes;
    size_t end = word.end;
    for (;;) {
      size_t p = end;
      while (p < n && IsFoldingSpace(text[p])) ++p;
      if (p + 1 >= n || text[p] != '=' || text[p + 1] != '?' || !ParseWord(text, p, next) ||
          next.charset != word.charset)
        break;
      bytes += next.bytes;
      end = next.end;
    }
    // White space before a word of another charset goes with this stretch.
    size_t following = end;
    while (following < n && IsFoldingSpace(text[following])) ++following;
    if (following > end && following + 1 < n && text[following] == '=' &&
        text[following + 1] == '?' && ParseWord(text, following, other))
      end = following;
    const TRepairCode charset = Utf16Order(word.charset, bytes);
    size_t errors = 0;
    const WideString decoded = DecodeIn(charset, bytes, errors);
    if (errors == 0 && !HasUnwanted(decoded)) {
      const CharClass before = ClassBefore(text, i), after = ClassAt(text, end);
      const WideView encoded = text.substr(i, end - i);
      builder.Replace(i, end - i, decoded, {},
                      Cost(encoded, before, after) - Cost(decoded, before, after));
      if (out.spans.size() == 1)  // the chain names the first charset found
        out.step = {word.base64 ? TRepairForm::MimeB : TRepairForm::MimeQ, word.charset};
    }
    i = end - 1;
  }
  builder.Finish();
  return out.Changed();
}

}  // namespace magna::repair
