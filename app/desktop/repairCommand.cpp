#include "app/desktop/repairCommand.h"

#include "app/desktop/startText.h"
#include "platform/qt/qtText.h"
#include "text/repair/myRepair.h"

namespace magna {

using platform::qt::ToQString;

TRepairAnswer RepairForOutput(const WideString& text, bool japanese) {
  // The final break stays out of the search: it belongs to the output's layout.
  const WideString body = WithoutFinalLineBreak(text);
  const WideView lineBreak = WideView(text).substr(body.size());
  const TRepair repair = FindRepair(body);
  if (!repair.Found()) return {ToQString(text).toUtf8(), QString()};
  const TRepairLanguage language = japanese ? TRepairLanguage::Japanese : TRepairLanguage::English;
  return {ToQString(repair.text + WideString(lineBreak)).toUtf8(),
          ToQString(RepairWords(repair, language))};
}

int AnswerRepair(const TCommandLine& line, bool japanese) {
  TStartText read = ReadSourceText(line);
  if (!read.Text) {
    WriteAll(stderr,
             (line.ProgramName + QStringLiteral(": ") + read.Error + QLatin1Char('\n')).toUtf8());
    return 1;
  }
  if (line.Source == TCommandLine::TSource::Arguments) read.Text->push_back(u'\n');
  const TRepairAnswer answer = RepairForOutput(*read.Text, japanese);
  if (!answer.Words.isEmpty()) WriteAll(stderr, (answer.Words + QLatin1Char('\n')).toUtf8());
  return WriteAll(stdout, answer.Output) ? 0 : 1;
}

}  // namespace magna
