#pragma once
// The language of the program's own captions (its entries, hints and panels).
// Japanese is the source and the default; English is built into the program and
// is chosen only where the user's locale names another language. The status line
// keeps its captions whatever the language: its codes are the point there.
// Typical use, once before the main window is made:
//   InstallCaptionLanguage(app, WantsEnglishCaptions(EnvironmentVariable));
//   action->setText(Caption(u"文字の詳細..."));

#include <QString>
#include <functional>
#include <optional>
#include <string>

class QCoreApplication;

namespace magna {

using TVariable = std::function<std::optional<std::string>(const char* name)>;

/// An environment variable, nullopt where it is unset or empty.
std::optional<std::string> EnvironmentVariable(const char* name);

/// The locale of messages: LC_ALL, else LC_MESSAGES, else LANG; nullopt for none.
std::optional<std::string> MessagesLocale(const TVariable& variable);

/// Whether the locale of messages names a language other than Japanese. No locale, "C" and "POSIX"
/// keep the Japanese captions.
bool WantsEnglishCaptions(const TVariable& variable);

/// Installs the English captions on the application when asked; false when not
/// asked or when they could not be loaded (the captions stay Japanese then).
bool InstallCaptionLanguage(QCoreApplication& app, bool english);

/// Removes what InstallCaptionLanguage installed: the captions are Japanese again.
void RemoveCaptionLanguage(QCoreApplication& app);

/// Whether the English captions are installed (texts made outside the translation
/// file, such as a repair's words, follow it).
bool EnglishCaptionsInstalled();

/// A caption in the installed language, itself where there is no translation.
QString Caption(const char16_t* japanese);
QString Caption(const QString& japanese);

}  // namespace magna
