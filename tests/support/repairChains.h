#pragma once
// The chains the repair is measured on, for the repair corpus (bench/bench_text_repairCorpus)
// and the property tests alike: every wrong decoding of Japanese that the repair undoes,
// chains of two, encoded forms of a misread text, and every encoded form; each with the
// steps FindRepair should name for it.

#include <string>
#include <vector>

#include "text/repair/myRepair.h"
#include "text/repair/myRepairForms.h"

namespace magna::test {

using C = TRepairCode;
enum class Kind { Misread, JisNoEsc, Mime, Percent, References, PyEscape, JsonEscape, Bytes, Puny };

struct Layer {
  Kind kind;
  C code = C::None;    // the code the bytes are in (Misread: the source)
  C reader = C::None;  // Misread
  bool flag = false;   // Misread: strict; Mime: base64; References: hex
};

struct Chain {
  std::string name;
  std::vector<Layer> layers;          // in the order they happen
  std::vector<TRepairStep> expected;  // what FindRepair should name
};

/// `in` through one layer; false when the text cannot go through it. `lossless` is
/// cleared when the layer lost a byte.
inline bool ApplyLayer(const Layer& l, WideView in, WideString& out, bool& lossless) {
  switch (l.kind) {
    case Kind::Misread:
      if (l.code == C::ISO2022JP) return repair::Misread(in, C::ISO2022JP, C::Latin1, false, out);
      if (!repair::Misread(in, l.code, l.reader, l.flag, out)) return false;
      if (out.find(u'\xFFFD') != WideString::npos) lossless = false;
      return true;
    case Kind::JisNoEsc: return repair::DropJisEscapes(in, out);
    case Kind::Mime: return repair::MimeEncode(in, l.code, l.flag, out);
    case Kind::Percent: return repair::PercentEncode(in, l.code, out);
    case Kind::References: out = repair::ReferenceEncode(in, l.flag); return true;
    case Kind::PyEscape: out = repair::UnicodeEscape(in, false); return true;
    case Kind::JsonEscape: out = repair::UnicodeEscape(in, true); return true;
    case Kind::Bytes: return repair::ByteEscape(in, l.code, out);
    case Kind::Puny: out = repair::PunycodeLabels(in); return true;
  }
  return false;
}

/// `text` through every layer of `chain`; false when it cannot go through one.
inline bool MakeChain(const Chain& chain, WideView text, WideString& out, bool& lossless) {
  WideString current(text), next;
  lossless = true;
  for (const Layer& l : chain.layers) {
    if (!ApplyLayer(l, current, next, lossless)) return false;
    current.swap(next);
  }
  out = std::move(current);
  return true;
}

inline const char* CodeName(C c) {
  switch (c) {
    case C::UTF8: return "utf8";
    case C::ShiftJIS: return "sjis";
    case C::EUCJP: return "eucjp";
    case C::ISO2022JP: return "jis";
    case C::UTF7: return "utf7";
    case C::UTF16LE: return "utf16le";
    case C::UTF16BE: return "utf16be";
    case C::Latin1: return "latin1";
    case C::Windows1252: return "cp1252";
    case C::ASCII: return "ascii";
    default: return "none";
  }
}

inline Layer MisreadLayer(C source, C reader, bool strict = false) {
  return {Kind::Misread, source, reader, strict};
}

inline TRepairStep MisreadStep(C source, C reader) {
  return {TRepairForm::Misread, source, reader};
}

inline std::string MisreadName(const Layer& l) {
  return std::string(CodeName(l.code)) + ">" + CodeName(l.reader) + (l.flag ? "strict" : "");
}

inline std::vector<Chain> Chains() {
  std::vector<Chain> chains;
  const C jp[] = {C::UTF8, C::ShiftJIS, C::EUCJP};
  const C readers[] = {C::ShiftJIS, C::EUCJP, C::UTF8, C::Latin1, C::Windows1252};
  for (C source : jp) {
    for (C reader : readers) {
      if (reader == source) continue;
      const Layer l = MisreadLayer(source, reader);
      chains.push_back({MisreadName(l), {l}, {MisreadStep(source, reader)}});
    }
    const Layer strict = MisreadLayer(source, C::Windows1252, true);
    chains.push_back({MisreadName(strict), {strict}, {MisreadStep(source, C::Windows1252)}});
  }
  chains.push_back(
      {"jis>ascii", {MisreadLayer(C::ISO2022JP, C::ASCII)}, {MisreadStep(C::ISO2022JP, C::ASCII)}});
  chains.push_back(
      {"jis-noesc", {{Kind::JisNoEsc}}, {{TRepairForm::JisEscapesLost, C::ISO2022JP}}});
  // Two wrong decodings: the text misread, saved as UTF-8, misread again.
  const std::pair<Layer, Layer> doubles[] = {
      {MisreadLayer(C::UTF8, C::Windows1252), MisreadLayer(C::UTF8, C::Windows1252)},
      {MisreadLayer(C::UTF8, C::Latin1), MisreadLayer(C::UTF8, C::Latin1)},
      {MisreadLayer(C::UTF8, C::ShiftJIS), MisreadLayer(C::UTF8, C::ShiftJIS)},
      {MisreadLayer(C::UTF8, C::ShiftJIS), MisreadLayer(C::UTF8, C::Windows1252)},
      {MisreadLayer(C::ShiftJIS, C::Windows1252), MisreadLayer(C::UTF8, C::Windows1252)},
      {MisreadLayer(C::EUCJP, C::ShiftJIS), MisreadLayer(C::UTF8, C::ShiftJIS)},
      {MisreadLayer(C::UTF8, C::Windows1252), MisreadLayer(C::UTF8, C::ShiftJIS)},
      {MisreadLayer(C::ShiftJIS, C::Latin1), MisreadLayer(C::UTF8, C::ShiftJIS)},
  };
  for (const auto& [a, b] : doubles)
    chains.push_back({MisreadName(a) + "+" + MisreadName(b),
                      {a, b},
                      {MisreadStep(a.code, a.reader), MisreadStep(b.code, b.reader)}});
  // Encoded forms of a misread text: UTF-8 bytes in a word labelled ISO-8859-1, and a
  // page that kept UTF-8 read as Windows-1252 as character references.
  const Layer latin = MisreadLayer(C::UTF8, C::Latin1);
  chains.push_back({"utf8>latin1+mime-q-latin1",
                    {latin, {Kind::Mime, C::Latin1, C::None, false}},
                    {MisreadStep(C::UTF8, C::Latin1), {TRepairForm::MimeQ, C::Latin1}}});
  const Layer western = MisreadLayer(C::UTF8, C::Windows1252);
  chains.push_back({"utf8>cp1252+html-dec",
                    {western, {Kind::References, C::None, C::None, false}},
                    {MisreadStep(C::UTF8, C::Windows1252), {TRepairForm::CharacterReferences}}});
  for (C charset : {C::UTF8, C::ShiftJIS, C::EUCJP, C::ISO2022JP, C::UTF7, C::UTF16LE, C::UTF16BE})
    for (bool base64 : {true, false})
      chains.push_back({std::string("mime-") + (base64 ? "b-" : "q-") + CodeName(charset),
                        {{Kind::Mime, charset, C::None, base64}},
                        {{base64 ? TRepairForm::MimeB : TRepairForm::MimeQ, charset}}});
  for (C code : jp) {
    chains.push_back({std::string("percent-") + CodeName(code),
                      {{Kind::Percent, code}},
                      {{TRepairForm::Percent, code}}});
  }
  chains.push_back({"html-hex",
                    {{Kind::References, C::None, C::None, true}},
                    {{TRepairForm::CharacterReferences}}});
  chains.push_back({"html-dec",
                    {{Kind::References, C::None, C::None, false}},
                    {{TRepairForm::CharacterReferences}}});
  chains.push_back({"escape-python", {{Kind::PyEscape}}, {{TRepairForm::Escapes}}});
  chains.push_back({"escape-json", {{Kind::JsonEscape}}, {{TRepairForm::Escapes}}});
  for (C code : jp)
    chains.push_back({std::string("xbytes-") + CodeName(code),
                      {{Kind::Bytes, code}},
                      {{TRepairForm::Escapes, code}}});
  chains.push_back({"punycode", {{Kind::Puny}}, {{TRepairForm::Punycode}}});
  return chains;
}

/// Steps named alike: the Western readers, and the escapes' byte code where the text
/// needed no byte escape.
inline bool SameStep(const TRepairStep& a, const TRepairStep& b) {
  auto western = [](C c) { return c == C::Latin1 || c == C::Windows1252; };
  if (a.form != b.form) return false;
  if (a.form == TRepairForm::Misread)
    return a.code == b.code && (a.readAs == b.readAs || (western(a.readAs) && western(b.readAs)));
  if (a.form == TRepairForm::MimeB || a.form == TRepairForm::MimeQ ||
      a.form == TRepairForm::Percent)
    return a.code == b.code;
  return true;
}

inline bool NamedRight(const std::vector<TRepairStep>& got, const std::vector<TRepairStep>& want) {
  if (got.size() != want.size()) return false;
  for (size_t i = 0; i < got.size(); ++i)
    if (!SameStep(got[i], want[i])) return false;
  return true;
}

}  // namespace magna::test
