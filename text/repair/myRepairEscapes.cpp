// Backslash escapes as programs write text they cannot or will not write as it is:
// \uXXXX (UTF-16 units, surrogate pairs joined), \UXXXXXXXX (code points), \xHH (bytes,
// as in a dump of UTF-8, Shift_JIS or EUC-JP, or an ISO-8859-1 character when no code
// reads the bytes), with the simple escapes (\n \t \\ \" ...) of the same writers. A
// line is read again whole once it holds an escape that gives a character beyond ASCII.
#include <algorithm>
#include <vector>

#include "text/repair/myRepairBytes.h"
#include "text/repair/myRepairSteps.h"

namespace magna::repair {

namespace {

enum class TokenKind : uint8_t { Literal, Simple, Byte, Unit, CodePoint };

struct Token {
  TokenKind kind;
  size_t from, end;
  char32_t value;
};

struct SimpleEscape {
  char16_t letter, value;
};
constexpr SimpleEscape kSimple[] = {{'\\', '\\'}, {'n', '\n'},  {'t', '\t'}, {'r', '\r'},
                                    {'"', '"'},   {'\'', '\''}, {'/', '/'},  {'b', '\b'},
                                    {'f', '\f'},  {'a', '\a'},  {'v', '\v'}};

bool HexDigits(WideView text, size_t from, size_t count, char32_t& value) {
  if (from + count > text.size()) return false;
  value = 0;
  for (size_t k = 0; k < count; ++k) {
    const int v = HexValue(text[from + k]);
    if (v < 0) return false;
    value = value << 4 | static_cast<char32_t>(v);
  }
  return true;
}

/// The escape at text[i] (a backslash), or a literal backslash when none.
Token EscapeAt(WideView text, size_t i) {
  if (i + 1 < text.size()) {
    const char16_t letter = text[i + 1];
    char32_t v = 0;
    if (letter == 'u' && HexDigits(text, i + 2, 4, v)) return {TokenKind::Unit, i, i + 6, v};
    if (letter == 'U' && HexDigits(text, i + 2, 8, v) && v <= 0x10FFFF)
      return {TokenKind::CodePoint, i, i + 10, v};
    if (letter == 'x' && HexDigits(text, i + 2, 2, v)) return {TokenKind::Byte, i, i + 4, v};
    for (const SimpleEscape& s : kSimple)
      if (letter == s.letter) return {TokenKind::Simple, i, i + 2, s.value};
  }
  return {TokenKind::Literal, i, i + 1, text[i]};
}

std::vector<Token> Tokens(WideView line) {
  std::vector<Token> tokens;
  for (size_t i = 0; i < line.size();) {
    const Token t =
        line[i] == '\\' ? EscapeAt(line, i) : Token{TokenKind::Literal, i, i + 1, line[i]};
    tokens.push_back(t);
    i = t.end;
  }
  return tokens;
}

/// A token that may be one byte of a \xHH run: an escaped byte, or ASCII as itself.
bool IsByteLike(const Token& t) {
  return t.kind == TokenKind::Byte ||
         (t.kind != TokenKind::Unit && t.kind != TokenKind::CodePoint && t.value < 0x80);
}

bool IsHighByte(const Token& t) {
  return t.kind == TokenKind::Byte && t.value >= 0x80;
}

struct Line {
  size_t from, end;
  std::vector<Token> tokens;
  bool hasBytes = false;
};

/// The line's tokens read, byte runs in `code` (None: each escaped byte an ISO-8859-1
/// character); false when a run does not read in it. A run at an edge of the text (a
/// sample of a long one) may be cut inside a character: the escapes of its bytes left out
/// stay as they are. What the escapes gave beyond ASCII goes to `escaped` too.
bool ReadTokens(WideView text, const Line& line, TRepairCode code, WideString& out,
                WideString& escaped) {
  const std::vector<Token>& tokens = line.tokens;
  const WideView source = text.substr(line.from, line.end - line.from);
  out.clear();
  for (size_t i = 0; i < tokens.size();) {
    if (code != TRepairCode::None && IsHighByte(tokens[i])) {
      const size_t first = i;
      AnsiString bytes;
      for (; i < tokens.size() && IsByteLike(tokens[i]); ++i)
        bytes += static_cast<char>(tokens[i].value);
      // Only the first run of a text can start cut, only its last end cut.
      const bool cutStart =
          line.from == 0 &&
          std::none_of(tokens.begin(), tokens.begin() + static_cast<ptrdiff_t>(first), IsHighByte);
      const bool cutEnd =
          line.end == text.size() &&
          std::none_of(tokens.begin() + static_cast<ptrdiff_t>(i), tokens.end(), IsHighByte);
      WideString run;
      size_t head = 0, tail = 0;
      if (!DecodeCut(code, bytes, cutStart, cutEnd, run, head, tail)) return false;
      for (size_t k = first; k < first + head; ++k)
        out += source.substr(tokens[k].from, tokens[k].end - tokens[k].from);
      out += run;
      for (size_t k = i - tail; k < i; ++k)
        out += source.substr(tokens[k].from, tokens[k].end - tokens[k].from);
      for (char16_t u : run)
        if (u >= 0x80) escaped += u;
      continue;
    }
    const Token& t = tokens[i++];
    AppendCodePoint(out, t.value);
    if (t.kind != TokenKind::Literal && t.kind != TokenKind::Simple && t.value >= 0x80)
      AppendCodePoint(escaped, t.value);
  }
  return true;
}

constexpr TRepairCode kByteCodes[] = {TRepairCode::UTF8, TRepairCode::ShiftJIS, TRepairCode::EUCJP,
                                      TRepairCode::None};

/// The code every line's byte runs read in, the cheapest reading first; None when only
/// the reading as ISO-8859-1 characters is left.
TRepairCode ByteCode(WideView text, const std::vector<Line>& lines) {
  TRepairCode best = TRepairCode::None;
  if (std::none_of(lines.begin(), lines.end(), [](const Line& l) { return l.hasBytes; }))
    return best;
  int64_t bestCost = INT64_MAX;
  WideString read, escaped;
  for (TRepairCode code : kByteCodes) {
    int64_t cost = 0;
    bool ok = true;
    for (const Line& line : lines) {
      if (!line.hasBytes) continue;
      ok = ReadTokens(text, line, code, read, escaped) && !HasUnwanted(read);
      if (!ok) break;
      cost += Cost(read);
    }
    if (ok && cost < bestCost) {
      best = code;
      bestCost = cost;
    }
  }
  return best;
}

}  // namespace

bool UndoEscapes(WideView text, StepOutcome& out) {
  std::vector<Line> lines;
  size_t encodedUnits = 0;
  for (size_t from = 0; from < text.size();) {
    size_t end = text.find(u'\n', from);
    end = end == WideView::npos ? text.size() : end;
    const WideView line = text.substr(from, end - from);
    if (line.find(u'\\') != WideView::npos) {
      Line l{from, end, Tokens(line)};
      bool beyondAscii = false;
      for (const Token& t : l.tokens) {
        if (t.kind == TokenKind::Literal || t.kind == TokenKind::Simple) continue;
        encodedUnits += t.end - t.from;
        beyondAscii |= t.value >= 0x80;
        l.hasBytes |= IsHighByte(t);
      }
      if (beyondAscii) lines.push_back(std::move(l));
    }
    from = end + 1;
  }
  OutcomeBuilder builder(text, out);
  const TRepairCode code = ByteCode(text, lines);
  out.step = {TRepairForm::Escapes, code};
  WideString read, escaped;
  for (const Line& line : lines) {
    const size_t before = escaped.size();
    if (!ReadTokens(text, line, code, read, escaped) || HasUnwanted(read)) {
      escaped.resize(before);
      continue;
    }
    const WideView encoded = text.substr(line.from, line.end - line.from);
    builder.Replace(line.from, line.end - line.from, read, {}, Cost(encoded) - Cost(read));
  }
  builder.Finish();
  out.readable = IsReadableDecoding(escaped, encodedUnits, text.size());
  return out.Changed();
}

}  // namespace magna::repair
