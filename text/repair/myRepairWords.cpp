// The chain in words, Japanese and English, for the captions that offer a repair.
#include <string>

#include "platform/codepage/codePage.h"
#include "text/repair/myRepair.h"
#include "text/repair/myRepairBytes.h"

namespace magna {

namespace {

WideString FromUtf8(std::string_view utf8) {
  return platform::MultiByteToWide(platform::CP_UTF8, utf8);
}

std::string Name(TRepairCode code) {
  return repair::CodeLabel(code);
}

std::string StepWords(const TRepairStep& s, bool english) {
  const std::string code = Name(s.code);
  switch (s.form) {
    case TRepairForm::Misread:
      return english ? code + " read as " + Name(s.readAs)
                     : code + " を " + Name(s.readAs) + " として読んだ文字化け";
    case TRepairForm::JisEscapesLost:
      return english ? "ISO-2022-JP with its escape bytes lost"
                     : "ISO-2022-JP のエスケープ（ESC）が失われた文字化け";
    case TRepairForm::MimeB:
    case TRepairForm::MimeQ: {
      const std::string kind = s.form == TRepairForm::MimeB ? "B" : "Q";
      return english ? "MIME encoded-words (" + code + ", " + kind + ")"
                     : "MIME エンコード（" + code + "、" + kind + "）";
    }
    case TRepairForm::Percent:
      return english ? "percent-encoded " + code : "URL エンコード（" + code + "）";
    case TRepairForm::CharacterReferences:
      return english ? "HTML character references" : "HTML 文字参照";
    case TRepairForm::Escapes:
      if (s.code == TRepairCode::None) return english ? "\\u escapes" : "\\u エスケープ";
      return english ? "\\x escapes of " + code : "\\x エスケープ（" + code + "）";
    case TRepairForm::Punycode:
      return english ? "Punycode host names" : "Punycode（国際化ドメイン名）";
  }
  return "";
}

}  // namespace

WideString RepairCodeName(TRepairCode code) {
  return FromUtf8(Name(code));
}

WideString ChainWords(const std::vector<TRepairStep>& chain, TRepairLanguage language) {
  const bool english = language == TRepairLanguage::English;
  std::string words;
  for (size_t i = 0; i < chain.size(); ++i) {
    if (i > 0 && chain[i] == chain[i - 1]) {
      words += english ? ", twice" : "（二重）";
      continue;
    }
    if (i > 0) words += english ? ", then " : "、さらに ";
    words += StepWords(chain[i], english);
  }
  return FromUtf8(words);
}

WideString RepairWords(const TRepair& repair, TRepairLanguage language) {
  WideString words = ChainWords(repair.chain, language);
  if (repair.LostBytes()) {
    const std::string count = std::to_string(repair.lost.size());
    words +=
        FromUtf8(language == TRepairLanguage::English
                     ? " (" + count + (repair.lost.size() == 1 ? " place" : " places") + " lost)"
                     : "（失われたバイトのある箇所: " + count + "）");
  }
  return words;
}

}  // namespace magna
