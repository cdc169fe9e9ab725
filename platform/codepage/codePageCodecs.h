#pragma once
// The decoders and encoders behind codePage.h, one per code page. Their input is
// already cut at its terminator (EncodeUtf7 stops at the first zero unit itself); they write
// through ChunkedOutput (codePageOutput.h), so their results are sized by what they hold.

#include <cstddef>

#include "platform/myBase.h"

namespace magna::platform::detail {

constexpr char16_t kReplacement = 0xFFFD;

WideString DecodeSjis(std::string_view bytes);
AnsiString EncodeSjis(WideView text, bool bestFit, bool& usedDefault, char defaultChar);
WideString DecodeEuc(std::string_view bytes);
AnsiString EncodeEuc(WideView text, bool bestFit, bool& usedDefault, char defaultChar);
WideString DecodeJis(std::string_view bytes);
AnsiString EncodeJis(WideView text);
WideString DecodeUtf8(std::string_view bytes);
AnsiString EncodeUtf8(WideView text);
WideString DecodeUtf7(std::string_view bytes);
AnsiString EncodeUtf7(WideView text);

/// Text with every base character + combining mark pair joined where a precomposed form exists;
/// false (out untouched) when the text has no combining mark.
bool ComposeMarks(WideView text, WideString& out);

/// The full-width form of a half-width katakana at text[i], joining a following sound
/// mark when the joined form exists; `used` is 1 or 2 code units.
char16_t FullWidthKana(WideView text, size_t i, size_t& used);

}  // namespace magna::platform::detail
