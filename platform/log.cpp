#include "platform/log.h"

#include <cstring>
#include <exception>

#include "platform/nativeNames.h"
#include "platform/services.h"

namespace magna::platform {

std::string FailureMessage(std::string_view doing, std::string_view reason) {
  std::string message(doing);
  message += " failed";
  if (!reason.empty()) {
    message += ": ";
    message += reason;
  }
  return message;
}

void LogWarning(std::string_view category, std::string_view doing,
                std::string_view reason) noexcept {
  try {
    Log().Write(LogLevel::Warning, category, FailureMessage(doing, reason));
  } catch (...) {  // the trace is lost, the caller's recovery goes on
  }
}

void LogDebug(std::string_view category, std::string_view message) noexcept {
  try {
    Log().Write(LogLevel::Debug, category, message);
  } catch (...) {
  }
}

void LogNamedWarning(std::string_view category, std::string_view doing, WideView name,
                     std::string_view reason) noexcept {
  try {
    LogWarning(category, std::string(doing) + " " + QuotedName(name), reason);
  } catch (...) {
  }
}

std::string QuotedName(WideView name) {
  return "'" + WideToNativeName(name) + "'";
}

std::string ErrorNumberReason(int errorNumber) {
  return errorNumber == 0 ? std::string() : std::string(std::strerror(errorNumber));
}

void LogCaughtException(std::string_view category, std::string_view doing) noexcept {
  try {
    throw;
  } catch (const std::exception& e) {
    LogWarning(category, doing, e.what());
  } catch (...) {
    LogWarning(category, doing, "unknown exception");
  }
}

void ReportCaughtException(std::string_view category, std::string_view doing,
                           OnFailure onFailure) noexcept {
  LogCaughtException(category, doing);
  if (onFailure != OnFailure::Beep) return;
  try {
    Ui().Beep();
  } catch (...) {  // the failure is logged; silence is all that is lost
  }
}

}  // namespace magna::platform
