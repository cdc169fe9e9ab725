// The clipboard exchange: Unicode text preferred, ANSI text (code page 932) as fallback.

#include "platform/log.h"
#include "platform/services.h"
#include "text/myCharCode.h"
#include "text/myUtils.h"

namespace magna {

namespace {

using Format = platform::ClipboardService::Format;

// Keeps the clipboard open for one exchange and closes it on every path.
class OpenClipboard {
 public:
  explicit OpenClipboard(platform::ClipboardService& clipboard)
      : clipboard_(clipboard), open_(clipboard.Open()) {}
  ~OpenClipboard() {
    if (open_) clipboard_.Close();
  }
  OpenClipboard(const OpenClipboard&) = delete;
  OpenClipboard& operator=(const OpenClipboard&) = delete;
  bool IsOpen() const { return open_; }

 private:
  platform::ClipboardService& clipboard_;
  bool open_;
};

// Clipboard text ends at its terminator, as a reader of the data block sees it.
template <class String>
String UpToTerminator(String text) {
  const size_t end = text.find(typename String::value_type{0});
  if (end != String::npos) text.resize(end);
  return text;
}

}  // namespace

WideString GetClipboardText() {
  return GetClipboardText(platform::Clipboard());
}

WideString GetClipboardText(platform::ClipboardService& clipboard) {
  Format format;
  if (clipboard.IsFormatAvailable(Format::UnicodeText))
    format = Format::UnicodeText;
  else if (clipboard.IsFormatAvailable(Format::AnsiText))
    format = Format::AnsiText;
  else
    return {};
  const OpenClipboard open(clipboard);
  if (!open.IsOpen()) {
    // The caller sees "no text"; only the log tells a busy clipboard from an empty one.
    platform::LogWarning(platform::kLogClipboard, "reading the clipboard",
                         "it could not be opened");
    return {};
  }
  if (format == Format::UnicodeText) {
    const auto text = clipboard.GetUnicodeText();
    return text ? UpToTerminator(*text) : WideString();
  }
  const auto bytes = clipboard.GetAnsiText();
  return bytes ? AnsiToWide(UpToTerminator(*bytes)) : WideString();
}

bool SetClipboardText(const WideString& text) {
  if (text.empty()) return false;
  platform::ClipboardService& clipboard = platform::Clipboard();
  const OpenClipboard open(clipboard);
  if (!open.IsOpen()) {
    platform::LogWarning(platform::kLogClipboard, "writing the clipboard",
                         "it could not be opened");
    return false;
  }
  clipboard.Empty();
  clipboard.SetUnicodeText(text);
  clipboard.SetAnsiText(WideToAnsi(text));
  return true;
}

}  // namespace magna
