// Strings: prefixes and suffixes, leading runs, name=value names, trimming, replace-all.

#include "text/myUtils.h"

#include <vector>

#include "platform/myLocale.h"

namespace magna {

namespace {
bool IsBlank(char16_t c) {
  return c <= u' ';
}
}  // namespace

WideString RemovePrefix(const WideString& text, const WideString& prefix) {
  return text.starts_with(prefix) ? text.substr(prefix.size()) : text;
}

WideString RemoveSuffix(const WideString& text, const WideString& suffix) {
  return text.ends_with(suffix) ? text.substr(0, text.size() - suffix.size()) : text;
}

WideString IncludeSuffix(const WideString& text, const WideString& suffix) {
  return text.ends_with(suffix) ? text : text + suffix;
}

WideString LeadingRun(const WideString& text, const WideString& set, int n) {
  const size_t limit = n < 0 ? text.size() : static_cast<size_t>(n);
  size_t length = 0;
  for (; length < limit; ++length) {
    if (length >= text.size()) throw ERangeError("LeadingRun: count beyond the text");
    if (set.find(text[length]) == WideString::npos) break;
  }
  return text.substr(0, length);
}

WideString NameOfNameValue(const WideString& text) {
  const size_t equals = text.find(u'=');
  if (equals == WideString::npos || equals == 0) return {};
  return TrimBlanks(WideView(text).substr(0, equals));
}

WideString TrimBlanks(WideView text) {
  size_t first = 0, last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return WideString(text.substr(first, last - first));
}

WideString WideReplaceAll(const WideString& text, const WideString& find,
                          const WideString& replacement, bool caseSensitive) {
  if (text.empty() || find.empty()) return text;
  WideString haystack = caseSensitive ? text : platform::UpperCase(text);
  WideString needle = caseSensitive ? find : platform::UpperCase(find);
  std::vector<size_t> found;
  for (size_t at = haystack.find(needle); at != WideString::npos;
       at = haystack.find(needle, at + needle.size()))
    found.push_back(at);
  if (found.empty()) return text;
  int64_t length = int64_t(text.size()) +
                   (int64_t(replacement.size()) - int64_t(find.size())) * int64_t(found.size());
  if (length <= 0) return {};
  WideString out;
  out.reserve(size_t(length));
  size_t from = 0;
  for (size_t at : found) {
    out.append(text, from, at - from);
    out += replacement;
    from = at + find.size();
  }
  out.append(text, from, WideString::npos);
  return out;
}

}  // namespace magna
