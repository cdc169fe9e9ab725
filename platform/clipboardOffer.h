#pragma once
// What another program's clipboard offer means to a reader of its own: which of
// the offered formats carries the text (and how its bytes are encoded), whether a
// password manager marked it secret, and the text from the bytes. The names are
// those of X11 targets and Wayland MIME types alike: an owner offers either, and
// the XWayland bridge turns one into the other.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/myBase.h"

namespace magna::platform {

/// Set by KeePassXC, QtPass, Plasma Pass and others beside what they copy.
inline constexpr std::string_view kPasswordManagerHint = "x-kde-passwordManagerHint";

enum class TextEncoding {
  Utf8,
  Latin1,
  Utf8OrLatin1,  // UTF-8 when the bytes are valid UTF-8, else Latin-1 (legacy owners)
};

struct TTextFormat {
  std::string Name;  // as offered
  TextEncoding Encoding = TextEncoding::Utf8;
  friend bool operator==(const TTextFormat&, const TTextFormat&) = default;
};

/// The best text format among the offered names, or nullopt when none carries
/// text. UTF-8 first ("text/plain;charset=utf-8" in any spelling, "UTF8_STRING"),
/// then "text/plain" and "TEXT", then Latin-1 "STRING".
std::optional<TTextFormat> ChooseTextFormat(const std::vector<std::string>& offered);

/// Whether the names include the password manager's hint.
bool OffersPasswordHint(const std::vector<std::string>& offered);

/// Whether the hint's value marks the content secret: "secret" (surrounding
/// blanks ignored), or no value at all (a hint that could not be read is taken
/// for a secret: better not shown).
bool IsSecretHint(const std::optional<std::string>& value);

/// The text of the bytes in the encoding; invalid UTF-8 becomes replacement
/// characters. Stops at a zero byte, as the program's other text edges do.
WideString DecodeText(std::string_view bytes, TextEncoding encoding);

/// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view bytes);

}  // namespace magna::platform
