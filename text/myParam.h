#pragma once
// The command line as tokens: SplitCommandLine cuts a text at blanks, tabs and
// line breaks outside double quotes (a doubled quote inside quotes is one quote
// character, a quote always starts a new token and a closing quote ends one, so
// "" is an empty token; an unclosed quote runs to the end). TMyParam joins an
// option written "/name:" with the token after it and describes every token by a
// TMyParamOption. Upper-case forms map code unit by code unit and keep the length.
//
// On this platform a process is given its arguments, not one command line: the
// process's command line is its arguments joined by JoinCommandLine, which quotes
// just as SplitCommandLine unquotes, so the split gives back exactly the
// arguments. Arguments in bytes that are not UTF-8 keep those bytes as escapes
// (platform/nativeNames.h), so an argument naming a file opens that file.
//
// The process-wide MyParam is made at start-up (InitializeMyParam) and freed at
// the end (FinalizeMyParam); nothing in the program acts on it.
//
// Typical use:
//   TMyParam param(u"magna /size:40 \"a b.txt\"");
//   param.Entries[1]->UpperName;  // u"SIZE"
//   param.Params.Get(1);          // u"a b.txt"

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/myBase.h"
#include "text/myFileStrings.h"
#include "text/myWStrings.h"

namespace magna {

/// Clears the list and fills it with the tokens of text; the index of the last
/// token (-1 when there is none).
int SplitCommandLine(const WideString& Text, TMyWStrings& List);

/// The arguments as one command line: each is written in double quotes, inner
/// quotes doubled, when it is empty or holds a blank, tab, line break or quote.
WideString JoinCommandLine(const std::vector<WideString>& Arguments);

/// The process's command line: its arguments joined by JoinCommandLine.
WideString ProcessCommandLine();

/// One token described.
class TMyParamOption : public TObject {
 public:
  TMyParamOption(int32_t AIndex, int32_t AOptionIndex, int32_t AParamIndex,
                 const WideString& Token);

  int32_t Index = 0;
  int32_t OptionIndex = -1;  // options before this one; -1 for a non-option
  int32_t ParamIndex = -1;   // non-options before this one; -1 for an option
  bool IsOption = false;     // at least 2 characters, the first "/"
  bool HasValue = false;     // an option with a ":"
  WideString Name;
  WideString UpperName;
  WideString Value;
  WideString UpperValue;
  WideString PlainValue;  // Value without its surrounding quotes and blanks, "" as "
  WideString UpperPlainValue;
  WideString Text;  // the token as given
};

class TMyParam : public TObject {
 public:
  /// From the process's command line.
  TMyParam();
  /// From the given command line; any text is taken (never fails).
  explicit TMyParam(const WideString& ACommandLine);
  /// Frees the entries from the last to the first.
  ~TMyParam() override;
  TMyParam(const TMyParam&) = delete;
  TMyParam& operator=(const TMyParam&) = delete;

  std::vector<std::unique_ptr<TMyParamOption>> Entries;
  int32_t OptionCount = 0;
  int32_t ParamCount = 0;  // the program's path counts as one
  TMyFileStrings Tokens;
  TMyFileStrings Arguments;  // Tokens without the first
  TMyFileStrings Params;     // the non-options, beginning with the first token
  WideString CommandLine;
  WideString ProgramToken;
};

/// The process-wide command line; nullptr before InitializeMyParam and after
/// FinalizeMyParam.
extern TMyParam* MyParam;
/// Makes MyParam from the process's command line, unless it exists already.
void InitializeMyParam();
/// Frees MyParam and sets it to nullptr; harmless when there is none.
void FinalizeMyParam();

}  // namespace magna
