// SplitCommandLine and TMyParam on arbitrary UTF-16 (the input's bytes as
// little-endian code units). No crash, no sanitizer report, and every token is
// described consistently: counts add up, each option's name and value make up its
// text again, upper-case forms keep the length.

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "text/myParam.h"

namespace {

using namespace magna;

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckOption(const TMyParamOption& o, const WideString& token) {
  Require(o.Text == token);
  Require(o.IsOption == (token.size() >= 2 && token[0] == u'/'));
  Require(o.UpperName.size() == o.Name.size() && o.UpperValue.size() == o.Value.size());
  Require(o.UpperPlainValue.size() == o.PlainValue.size());
  if (!o.IsOption) {
    Require(o.Name.empty() && o.Value.empty() && o.PlainValue.empty() && !o.HasValue);
    return;
  }
  Require(u"/" + o.Name + (o.HasValue ? u":" + o.Value : WideString()) == token);
  Require(o.PlainValue.size() <= o.Value.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WideString text(size / 2, u'\0');
  std::memcpy(text.data(), data, text.size() * 2);

  TMyWStrings split;
  const int last = SplitCommandLine(text, split);
  Require(last == split.Count() - 1);

  TMyParam param(text);
  const int count = param.Tokens.Count();
  Require(count <= split.Count());  // joining only ever takes tokens away
  Require(int(param.Entries.size()) == count);
  Require(param.OptionCount + param.ParamCount == count);
  Require(param.Params.Count() == param.ParamCount);
  Require(param.Arguments.Count() == (count > 0 ? count - 1 : 0));
  Require(param.ProgramToken == param.Tokens.Get(0));
  int options = 0, params = 0;
  for (int i = 0; i < count; ++i) {
    const TMyParamOption& o = *param.Entries[size_t(i)];
    CheckOption(o, param.Tokens.Get(i));
    Require(o.Index == i);
    Require(o.IsOption ? o.OptionIndex == options++ && o.ParamIndex == -1
                       : o.ParamIndex == params++ && o.OptionIndex == -1);
    if (i > 0) Require(param.Arguments.Get(i - 1) == o.Text);
  }
  return 0;
}
