#pragma once
// Traces of failures that the program survives: a handler that caught an exception,
// a file that was not written, a settings entry that could not be read. Every
// layer writes through this interface under its own category; the program installs
// the Qt implementation at start-up (platform/qt/qtLog.h), one QLoggingCategory per
// category: warnings on, debug messages off unless QT_LOGGING_RULES turns them on
// ("magna.settings.debug=true"). Until then warnings go to standard error and debug
// messages nowhere; tests install a recording log (tests/support).
// Typical use, where Qt calls us (an event, a slot, a queued call, a paint):
//   platform::Guard(platform::kLogApp, "opening the character details",
//                   [&] { OpenCharDetails(); }, platform::OnFailure::Beep);

#include <memory>
#include <string>
#include <string_view>

#include "platform/myBase.h"

namespace magna::platform {

// The categories, one per layer (and one for the clipboard, which crosses layers).
inline constexpr std::string_view kLogPlatform = "magna.platform";
inline constexpr std::string_view kLogText = "magna.text";
inline constexpr std::string_view kLogSettings = "magna.settings";
inline constexpr std::string_view kLogClipboard = "magna.clipboard";
inline constexpr std::string_view kLogEditor = "magna.editor";
inline constexpr std::string_view kLogWidgets = "magna.widgets";
inline constexpr std::string_view kLogApp = "magna.app";

enum class LogLevel { Debug, Warning };

/// Where the messages go.
class LogService {
 public:
  virtual ~LogService() = default;
  /// One message of a category (UTF-8, no line break at the end). May raise; the
  /// functions below catch it.
  virtual void Write(LogLevel level, std::string_view category, std::string_view message) = 0;
};

/// The installed log, or the standard-error default; valid until the next InstallLog.
LogService& Log();
/// Installs a log, freeing the one before; nullptr restores the default.
void InstallLog(std::unique_ptr<LogService> service);

/// "<doing> failed" with the reason when there is one: "<doing> failed: <reason>".
/// What was being done reads as a gerund phrase ("writing the settings file '…'").
std::string FailureMessage(std::string_view doing, std::string_view reason = {});

/// Writes a warning (a failure the program got over) or a debug message. Never
/// raises: a log that fails loses the message, never the caller's work.
void LogWarning(std::string_view category, std::string_view doing,
                std::string_view reason = {}) noexcept;
void LogDebug(std::string_view category, std::string_view message) noexcept;
/// A warning about something named (a file, an entry): "<doing> '<name>' failed:
/// <reason>". Never raises.
void LogNamedWarning(std::string_view category, std::string_view doing, WideView name,
                     std::string_view reason = {}) noexcept;

/// A name for a message: in single quotes, the file system's bytes of it.
std::string QuotedName(WideView name);
/// The system's text for an error number (errno); empty for 0.
std::string ErrorNumberReason(int errorNumber);

/// For a catch clause: a warning whose reason is the exception being handled (its
/// what(), or "unknown exception"). Never raises; call only inside a handler.
void LogCaughtException(std::string_view category, std::string_view doing) noexcept;

/// What the user is told of a failure a guard caught, beside the log.
enum class OnFailure { LogOnly, Beep };

/// For a catch clause: LogCaughtException, then a beep when asked. Never raises.
void ReportCaughtException(std::string_view category, std::string_view doing,
                           OnFailure onFailure) noexcept;

/// Nothing unwinds into Qt. Qt's event delivery cannot carry an exception, so
/// wherever Qt calls the program (an event handler or filter, a slot, a queued call,
/// a paint) the work runs inside this guard: a failure costs that piece of work
/// only, is logged as "<doing> failed: <reason>" under the category and, with
/// OnFailure::Beep, is heard. What the work left half done stays as it is; a caller
/// that must answer Qt sets its answer before and lets the work overwrite it.
template <class Work>
void Guard(std::string_view category, std::string_view doing, Work&& work,
           OnFailure onFailure = OnFailure::LogOnly) noexcept {
  try {
    work();
  } catch (...) {
    ReportCaughtException(category, doing, onFailure);
  }
}

}  // namespace magna::platform
