// HTML and XML character references: &#x3053; &#12435; and the named ones an escaping
// writer uses (&amp; &lt; ...). Numeric references from 128 to 159 mean what HTML gives
// them, the characters of Windows-1252. The step applies to the whole text once its
// numeric references give something worth reading; the named ones go with them.
#include <string>

#include "platform/codepage/codePageWestern.h"
#include "text/repair/myRepairSteps.h"

namespace magna::repair {

namespace {

struct Named {
  const char16_t* name;
  char16_t unit;
};

constexpr Named kNamed[] = {
    {u"amp", u'&'},     {u"lt", u'<'},      {u"gt", u'>'},       {u"quot", u'"'},
    {u"apos", u'\''},   {u"nbsp", 0xA0},    {u"copy", 0xA9},     {u"reg", 0xAE},
    {u"yen", 0xA5},     {u"times", 0xD7},   {u"divide", 0xF7},   {u"deg", 0xB0},
    {u"plusmn", 0xB1},  {u"sect", 0xA7},    {u"para", 0xB6},     {u"middot", 0xB7},
    {u"laquo", 0xAB},   {u"raquo", 0xBB},   {u"hellip", 0x2026}, {u"mdash", 0x2014},
    {u"ndash", 0x2013}, {u"lsquo", 0x2018}, {u"rsquo", 0x2019},  {u"ldquo", 0x201C},
    {u"rdquo", 0x201D}, {u"bull", 0x2022},  {u"trade", 0x2122},  {u"euro", 0x20AC},
};

struct Reference {
  size_t end = 0;
  char32_t c = 0;
  bool numeric = false;
};

bool ParseNumeric(WideView text, size_t i, Reference& ref) {
  size_t p = i + 2;
  const bool hex = p < text.size() && (text[p] == 'x' || text[p] == 'X');
  if (hex) ++p;
  const size_t digitsFrom = p;
  char32_t c = 0;
  for (; p < text.size() && p - digitsFrom < 8; ++p) {
    const int v = HexValue(text[p]);
    if (v < 0 || (!hex && v > 9)) break;
    c = c * (hex ? 16 : 10) + static_cast<char32_t>(v);
  }
  if (p == digitsFrom || p >= text.size() || text[p] != ';') return false;
  if (c >= 0x80 && c <= 0x9F)
    c = platform::Windows1252ToWide(std::string(1, static_cast<char>(c)), false)[0];
  if (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
  ref = {p + 1, c, true};
  return true;
}

bool ParseNamed(WideView text, size_t i, Reference& ref) {
  for (const Named& named : kNamed) {
    const WideView name(named.name);
    if (text.substr(i + 1, name.size()) == name && i + 1 + name.size() < text.size() &&
        text[i + 1 + name.size()] == ';') {
      ref = {i + 2 + name.size(), named.unit, false};
      return true;
    }
  }
  return false;
}

bool ParseReference(WideView text, size_t i, Reference& ref) {
  if (text[i] != '&' || i + 1 >= text.size()) return false;
  return text[i + 1] == '#' ? ParseNumeric(text, i, ref) : ParseNamed(text, i, ref);
}

}  // namespace

bool UndoCharacterReferences(WideView text, StepOutcome& out) {
  OutcomeBuilder builder(text, out);
  out.step = {TRepairForm::CharacterReferences};
  const size_t n = text.size();
  WideString numericText, decoded;
  size_t encodedUnits = 0;
  Reference ref;
  for (size_t i = 0; i < n; ++i) {
    if (text[i] != '&' || !ParseReference(text, i, ref)) continue;
    // References side by side are one stretch.
    const size_t from = i;
    decoded.clear();
    do {
      AppendCodePoint(decoded, ref.c);
      if (ref.numeric && ref.c >= 0x80) AppendCodePoint(numericText, ref.c);
      i = ref.end;
    } while (i < n && ParseReference(text, i, ref));
    if (HasUnwanted(decoded)) return false;
    const CharClass before = ClassBefore(text, from), after = ClassAt(text, i);
    const WideView encoded = text.substr(from, i - from);
    builder.Replace(from, i - from, decoded, {},
                    Cost(encoded, before, after) - Cost(decoded, before, after));
    encodedUnits += i - from;
    --i;
  }
  builder.Finish();
  out.readable = IsReadableDecoding(numericText, encodedUnits, n);
  return out.Changed() && !numericText.empty();
}

}  // namespace magna::repair
