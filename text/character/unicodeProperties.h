#pragma once
// What the Unicode Character Database says about one code point, as the ICU the
// program runs on knows it: name, general category, block, script. Plain C++
// over ICU; every answer is ASCII text, never empty, for any value up to
// U+10FFFF (surrogates and unassigned code points included).

#include <string>

namespace magna {

/// The character's name ("HIRAGANA LETTER A"), its corrected name where Unicode
/// corrected it; where it has none, its code point label ("<control-0000>",
/// "<lead surrogate-D800>", "<unassigned-0378>").
std::string UnicodeName(char32_t code);

/// The general category's short and long names: "Lo (Other Letter)".
std::string UnicodeCategory(char32_t code);

/// The block's name ("CJK Unified Ideographs"); "No Block" outside any block.
std::string UnicodeBlock(char32_t code);

/// The script's name ("Han"); for a character of shared use its script extensions
/// follow where they name scripts of their own: "Common (Hiragana, Katakana)".
std::string UnicodeScript(char32_t code);

}  // namespace magna
