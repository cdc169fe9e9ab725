#pragma once
// Each form a repair undoes, made from clean text: a wrong decoding, ISO-2022-JP without
// its escape bytes, and the encoded forms, written as the programs people meet write
// them. The tests, the repair corpus and the fuzz seeds are made with these; Punycode's
// two directions live here for the repair itself as well.

#include "platform/myBase.h"
#include "text/repair/myRepair.h"

namespace magna::repair {

/// `text` written in `source` and read as `reader` (ShiftJIS, EUCJP, UTF8, Latin1,
/// Windows1252); false when `source` cannot hold the text. `strict`: Windows-1252's
/// undefined bytes read as U+FFFD, as stricter readers do, rather than as C1 controls.
bool Misread(WideView text, TRepairCode source, TRepairCode reader, bool strict, WideString& out);
/// `text` in ISO-2022-JP shown as ASCII with its escape bytes dropped.
bool DropJisEscapes(WideView text, WideString& out);
/// `text` as MIME encoded-words of `charset`, ten characters a word (a character is never
/// split), folded onto lines of their own ("\n ").
bool MimeEncode(WideView text, TRepairCode charset, bool base64, WideString& out);
/// Every byte of `text` in `code` percent-escaped but the unreserved ASCII (A-Z a-z 0-9 - . _ ~).
bool PercentEncode(WideView text, TRepairCode code, WideString& out);
/// Characters beyond ASCII as numeric references (&#x3053; or &#12371;), & < > as &amp;
/// &lt; &gt;.
WideString ReferenceEncode(WideView text, bool hex);
/// Escapes as Python's unicode_escape writes them (\xHH up to U+00FF, \uXXXX,
/// \UXXXXXXXX, \\ \n \r \t), or as JSON does (\uXXXX and surrogate pairs, \" \\ and the
/// control escapes).
WideString UnicodeEscape(WideView text, bool json);
/// The bytes of `text` in `code` as a dump of bytes writes them: printable ASCII as it
/// is, \\ \n \r \t, everything else \xhh.
bool ByteEscape(WideView text, TRepairCode code, WideString& out);
/// Each run of characters beyond ASCII, with the ASCII letters, digits and hyphens
/// around it, as a Punycode label "xn--...".
WideString PunycodeLabels(WideView text);

/// RFC 3492 in both directions (without the "xn--" prefix); false on a malformed label
/// or a lone surrogate.
bool EncodePunycode(WideView label, WideString& out);
bool DecodePunycode(WideView encoded, WideString& out);

}  // namespace magna::repair
