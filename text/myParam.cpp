#include "text/myParam.h"

#include "platform/fileSystem.h"
#include "platform/myLocale.h"
#include "platform/nativeNames.h"
#include "text/myUtils.h"

namespace magna {

TMyParam* MyParam = nullptr;

namespace {

constexpr char16_t kQuote = u'"';

bool IsSeparator(char16_t c) {
  return c == u'\t' || c == u'\n' || c == u'\r' || c == u' ';
}

/// Whether an argument must be quoted to come back from SplitCommandLine as it is.
bool NeedsQuotes(WideView argument) {
  if (argument.empty()) return true;
  for (char16_t c : argument)
    if (IsSeparator(c) || c == kQuote) return true;
  return false;
}

/// `/name:` followed by another token takes that token as its value.
bool JoinsNextToken(const WideString& token) {
  return !token.empty() && token.front() == u'/' && token.back() == u':';
}

}  // namespace

int SplitCommandLine(const WideString& Text, TMyWStrings& List) {
  List.Clear();
  WideString current;
  bool inQuote = false;
  bool quotePending = false;
  auto addCurrent = [&] {
    List.Add(current);
    current.clear();
  };
  for (size_t i = 0; i < Text.size(); ++i) {
    const char16_t c = Text[i];
    if (IsSeparator(c)) {
      if (inQuote)
        current += c;
      else if (!current.empty())
        addCurrent();
    } else if (c == kQuote) {
      if (!inQuote) {
        inQuote = true;
        if (!current.empty()) addCurrent();
      } else if (quotePending) {
        quotePending = false;
        current += kQuote;
      } else if (i + 1 < Text.size() && Text[i + 1] == kQuote) {
        quotePending = true;
      } else {
        inQuote = false;
        addCurrent();  // also an empty one: "" is a token
      }
    } else {
      current += c;
    }
  }
  if (!current.empty()) addCurrent();
  return List.Count() - 1;
}

WideString JoinCommandLine(const std::vector<WideString>& Arguments) {
  WideString line;
  for (size_t k = 0; k < Arguments.size(); ++k) {
    const WideString& argument = Arguments[k];
    if (k > 0) line += u' ';
    if (!NeedsQuotes(argument)) {
      line += argument;
      continue;
    }
    line += kQuote;
    for (char16_t c : argument) {
      if (c == kQuote) line += kQuote;
      line += c;
    }
    line += kQuote;
  }
  return line;
}

WideString ProcessCommandLine() {
  std::vector<WideString> arguments;
  for (const std::string& argument : platform::ProcessArguments())
    arguments.push_back(platform::NativeNameToWide(argument));
  return JoinCommandLine(arguments);
}

TMyParamOption::TMyParamOption(int32_t AIndex, int32_t AOptionIndex, int32_t AParamIndex,
                               const WideString& Token)
    : Index(AIndex), Text(Token) {
  IsOption = Token.size() >= 2 && Token.front() == u'/';
  if (!IsOption) {
    ParamIndex = AParamIndex;
    return;
  }
  const size_t colon = Token.find(u':');  // never at 0: the token begins with "/"
  HasValue = colon != WideString::npos;
  Name = HasValue ? Token.substr(1, colon - 1) : Token.substr(1);
  Value = HasValue ? Token.substr(colon + 1) : WideString();
  UpperName = platform::UpperCase(Name);
  UpperValue = platform::UpperCase(Value);
  PlainValue = RemoveSuffix(RemovePrefix(TrimBlanks(Value), u"\""), u"\"");
  PlainValue = WideReplaceAll(TrimBlanks(PlainValue), u"\"\"", u"\"", true);
  UpperPlainValue = platform::UpperCase(PlainValue);
  OptionIndex = AOptionIndex;
}

TMyParam::TMyParam() : TMyParam(ProcessCommandLine()) {}

TMyParam::TMyParam(const WideString& ACommandLine) : CommandLine(ACommandLine) {
  SplitCommandLine(CommandLine, Tokens);
  for (int i = 0; i < Tokens.Count(); ++i) {
    WideString token = Tokens.Get(i);
    if (i < Tokens.Count() - 1 && JoinsNextToken(token)) {
      token += Tokens.Get(i + 1);
      Tokens.Put(i, token);
      Tokens.Delete(i + 1);
    }
    auto entry = std::make_unique<TMyParamOption>(i, OptionCount, ParamCount, token);
    if (entry->IsOption) {
      ++OptionCount;
    } else {
      ++ParamCount;
      Params.Add(token);
    }
    Entries.push_back(std::move(entry));
  }
  ProgramToken = Tokens.Get(0);  // empty when there is no token
  Arguments.Assign(Tokens);
  Arguments.Delete(0);
}

TMyParam::~TMyParam() {
  while (!Entries.empty()) Entries.pop_back();
}

void InitializeMyParam() {
  if (!MyParam) MyParam = new TMyParam();
}

void FinalizeMyParam() {
  delete MyParam;
  MyParam = nullptr;
}

}  // namespace magna
