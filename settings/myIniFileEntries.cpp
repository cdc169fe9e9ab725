// The entry groups of the settings file: a window's bounds and a font.

#include <cstdint>

#include "platform/log.h"
#include "platform/monitorHandles.h"
#include "settings/myIniFile.h"
#include "text/myUtils.h"

namespace magna {

namespace {

const WideString kBoundsSection = u"Bounds";

struct TStyleKey {
  TFontStyle Flag;
  const char16_t* Suffix;
};

// Read and written in this order.
constexpr TStyleKey kStyleKeys[] = {
    {fsBold, u"_FontStyleBold"},
    {fsItalic, u"_FontStyleItalic"},
    {fsUnderline, u"_FontStyleUnderLine"},
    {fsStrikeOut, u"_FontStyleStrikeOut"},
};

/// The position of one edge: inside the work area when the length fits, else at its start.
int64_t FittedStart(int64_t start, int64_t length, int64_t areaStart, int64_t areaLength) {
  if (length >= areaLength) return areaStart;
  return EnsureRange(start, areaStart, areaStart + areaLength - length);
}

/// The largest width or height a window can have on this platform (X11's limit).
constexpr int64_t kMaxWindowExtent = 32767;

/// Whether a window of that size could be shown and used at all.
bool IsUsableSize(const TRect& r) {
  const int64_t w = int64_t(r.Right) - r.Left;
  const int64_t h = int64_t(r.Bottom) - r.Top;
  return w > 0 && h > 0 && w <= kMaxWindowExtent && h <= kMaxWindowExtent;
}

int32_t Clamped32(int64_t value) {
  return int32_t(EnsureRange(value, int64_t(INT32_MIN), int64_t(INT32_MAX)));
}

/// The platform's longest face name: 32 characters with the terminating zero.
constexpr size_t kMaxFaceName = 31;

/// A stored name cut as the platform cuts it (a font lookup with a name of
/// thousands of characters takes seconds); a surrogate pair is not split.
WideString FaceName(WideString name) {
  if (name.size() <= kMaxFaceName) return name;
  name.resize(kMaxFaceName);
  if (name.back() >= 0xD800 && name.back() <= 0xDBFF) name.pop_back();
  return name;
}

}  // namespace

int32_t TMyIniFile::ReadIntegerOrDefault(const WideString& Section, const WideString& Ident,
                                         int32_t Default) {
  try {
    return ReadInteger(Section, Ident, Default);
  } catch (const ERangeError& e) {
    platform::LogNamedWarning(platform::kLogSettings, "reading the entry", Section + u"/" + Ident,
                              std::string(e.what()) + "; its default is used");
    return Default;
  }
}

bool TMyIniFile::ReadBoolOrDefault(const WideString& Section, const WideString& Ident,
                                   bool Default) {
  return ReadIntegerOrDefault(Section, Ident, Default ? 1 : 0) != 0;
}

void TMyIniFile::ReadRect(const WideString& Section, const WideString& Prefix, TRect& Rect,
                          const TRect& Default) {
  Rect.Left = ReadIntegerOrDefault(Section, Prefix + u"_Left", Default.Left);
  Rect.Top = ReadIntegerOrDefault(Section, Prefix + u"_Top", Default.Top);
  Rect.Right = ReadIntegerOrDefault(Section, Prefix + u"_Right", Default.Right);
  Rect.Bottom = ReadIntegerOrDefault(Section, Prefix + u"_Bottom", Default.Bottom);
}

void TMyIniFile::WriteRect(const WideString& Section, const WideString& Prefix, const TRect& Rect) {
  WriteInteger(Section, Prefix + u"_Left", Rect.Left);
  WriteInteger(Section, Prefix + u"_Top", Rect.Top);
  WriteInteger(Section, Prefix + u"_Right", Rect.Right);
  WriteInteger(Section, Prefix + u"_Bottom", Rect.Bottom);
}

void TMyIniFile::ReadBounds(const WideString& Section, const TBoundsWindow& Window, TRect& Rect) {
  ReadRect(Section, Window.ComponentName(), Rect, Window.BoundsRect());
}

void TMyIniFile::WriteBounds(const TBoundsWindow& Window) {
  WriteRect(kBoundsSection, Window.ComponentName(), Window.BoundsRect());
}

void TMyIniFile::ReadVisibleBounds(const WideString& Section, const TBoundsWindow& Window,
                                   TRect& Rect) {
  TRect stored;
  ReadBounds(Section, Window, stored);
  // A stored size of nothing, or beyond any window, would leave no window to use.
  if (!IsUsableSize(stored)) stored = Window.BoundsRect();
  // 64-bit lengths: stored edges may lie anywhere in the 32-bit range.
  const int64_t w = int64_t(stored.Right) - stored.Left;
  const int64_t h = int64_t(stored.Bottom) - stored.Top;
  if (NearestMonitor(stored) == 0) {  // no monitor at all: nothing to fit into
    Rect = stored;
    return;
  }
  const TRect area = NearestMonitorWorkArea(stored);
  const int64_t aw = int64_t(area.Right) - area.Left;
  const int64_t ah = int64_t(area.Bottom) - area.Top;
  const int64_t left = FittedStart(stored.Left, w, area.Left, aw);
  const int64_t top = FittedStart(stored.Top, h, area.Top, ah);
  Rect = TRect{Clamped32(left), Clamped32(top), Clamped32(left + w), Clamped32(top + h)};
}

void TMyIniFile::RestoreBounds(const WideString& Section, TBoundsWindow& Window) {
  TRect r;
  ReadVisibleBounds(Section, Window, r);
  Window.SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

void TMyIniFile::RestoreBounds(TBoundsWindow& Window) {
  RestoreBounds(kBoundsSection, Window);
}

void TMyIniFile::ReadFont(const WideString& Section, const WideString& Prefix, TFont& Font) {
  Font.SetName(FaceName(ReadString(Section, Prefix + u"_FontName", Font.Name())));
  const int32_t size = ReadIntegerOrDefault(Section, Prefix + u"_FontSize", Font.Size());
  // A size of 0 or less, or one beyond any font, would leave the text unreadable.
  if (size >= 1 && size <= TFont::MaxPoints) Font.SetSize(size);
  Font.SetColor(ReadIntegerOrDefault(Section, Prefix + u"_FontColor", Font.Color()));
  const TFontStyles before = Font.Style();
  TFontStyles style = 0;
  for (const TStyleKey& key : kStyleKeys)
    if (ReadBoolOrDefault(Section, Prefix + key.Suffix, (before & key.Flag) != 0))
      style |= key.Flag;
  Font.SetStyle(style);
  const int32_t charset = ReadIntegerOrDefault(Section, Prefix + u"_FontCharset", Font.Charset());
  Font.SetCharset(static_cast<uint8_t>(EnsureRange(charset, 0, 255)));
}

void TMyIniFile::WriteFont(const WideString& Section, const WideString& Prefix, const TFont& Font) {
  WriteString(Section, Prefix + u"_FontName", Font.Name());
  WriteInteger(Section, Prefix + u"_FontSize", Font.Size());
  WriteInteger(Section, Prefix + u"_FontColor", Font.Color());
  for (const TStyleKey& key : kStyleKeys)
    WriteBool(Section, Prefix + key.Suffix, (Font.Style() & key.Flag) != 0);
  WriteInteger(Section, Prefix + u"_FontCharset", Font.Charset());
}

}  // namespace magna
