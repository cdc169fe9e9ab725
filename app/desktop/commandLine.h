#pragma once
// The program's command line, by GNU conventions:
//   magna [TEXT]...       the texts, joined by spaces, are shown at start
//   magna -               standard input is shown (character code detected)
//   magna --file PATH     the file's text is shown (character code detected)
//   magna -h | --help     usage on standard output, exit status 0
//   magna -v | --version  name and version on standard output, exit status 0
//   magna --repair SOURCE the text of one of the three sources above, its mojibake or
//                         encoded form repaired, on standard output (repairCommand.h)
// An unknown option, a missing value or two text sources at once is a usage
// error: a short usage line on standard error, exit status 2. "--" ends the
// options. Qt's own options (-platform, -style, -display, ...) are recognised
// here as well and handed to Qt alone, so that a text after "--" can never be
// taken for one of them. Nothing here needs a display.
// Typical use (in main):
//   TCommandLine line = ParseCommandLine(ArgumentsOf(argc, argv));
//   if (auto status = AnswerWithoutWindow(line)) return *status;
//   TQtArguments qt(line.QtArguments);
//   QApplication app(qt.Count(), qt.Values());

#include <QByteArray>
#include <QStringList>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace magna {

struct TCommandLine {
  enum class TRequest { Run, Help, Version, Repair, UsageError };
  enum class TSource { None, Arguments, StandardInput, File };
  enum class TError { None, UnknownOption, TwoSources, NoRepairText, Other };

  TRequest Request = TRequest::Run;
  TSource Source = TSource::None;
  QString ProgramName;          // the name the program was started by, without its folder
  QString Text;                 // Source Arguments: the texts joined by spaces
  QString FileName;             // Source File
  TError Error = TError::None;  // UsageError: what was wrong
  QString ErrorDetail;          // the unknown option, or the parser's own message for Other
  QStringList QtArguments;      // the program's path and Qt's options, as Qt takes them
  bool ChoosesDisplay = false;  // -platform or -display given: the user's choice stands
};

/// Writes all of `bytes` to a standard stream and flushes it; false when any of it failed
/// (a closed pipe, a full disk), so the exit status can say so.
bool WriteAll(FILE* stream, const QByteArray& bytes);

/// The process's arguments as text (the file system's encoding, UTF-8).
QStringList ArgumentsOf(int argc, char** argv);

/// Reads the arguments; the first one is the program's path.
TCommandLine ParseCommandLine(const QStringList& arguments);

/// Whether messages for the user's locale should be Japanese (LC_ALL, then
/// LC_MESSAGES, then LANG: the first one set decides).
bool PrefersJapanese();

/// The --help text; settingsFile is where this user's settings are kept.
QString HelpText(const QString& programName, const QString& settingsFile, bool japanese);
/// The --version text: name and version from the program's version record.
QString VersionText();
/// The usage error: what was wrong, the usage line and where to find more.
QString UsageErrorText(const TCommandLine& line, bool japanese);

/// Answers --help, --version, --repair and usage errors on the standard streams and gives the
/// exit status; nullopt when the program is to run.
std::optional<int> AnswerWithoutWindow(const TCommandLine& line);

/// An argc/argv pair for QApplication that lives as long as this object.
class TQtArguments {
 public:
  explicit TQtArguments(const QStringList& arguments);
  int& Count() { return count_; }
  char** Values() { return pointers_.data(); }

 private:
  std::vector<std::string> strings_;
  std::vector<char*> pointers_;
  int count_ = 0;
};

}  // namespace magna
