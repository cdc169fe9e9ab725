#include "app/desktop/startText.h"

#include <QFile>
#include <exception>
#include <utility>

#include "platform/qt/qtText.h"
#include "platform/standardInputFile.h"
#include "text/myCharCode.h"

namespace magna {

namespace {

using TSource = TCommandLine::TSource;

/// The whole file, character code detected; an error text when it can't be read.
TStartText ReadDetected(const WideString& fileName, const QString& shownName) {
  QFile probe(platform::qt::ToQString(fileName));
  if (!probe.open(QIODevice::ReadOnly))
    return {std::nullopt, QStringLiteral("'%1': %2").arg(shownName, probe.errorString())};
  probe.close();
  try {
    TMyCharCode code = cdAuto;
    return {ReadTextFile(fileName, code), QString()};
  } catch (const std::exception&) {  // 4 GiB or more
    return {std::nullopt, QStringLiteral("'%1': file too large").arg(shownName)};
  }
}

}  // namespace

WideString WithoutFinalLineBreak(WideString text) {
  if (text.ends_with(u"\r\n"))
    text.resize(text.size() - 2);
  else if (!text.empty() && (text.back() == u'\n' || text.back() == u'\r'))
    text.pop_back();
  return text;
}

TStartText ReadStartText(const TCommandLine& line) {
  TStartText read = ReadSourceText(line);
  if (read.Text && line.Source != TSource::Arguments)
    read.Text = WithoutFinalLineBreak(std::move(*read.Text));
  return read;
}

TStartText ReadSourceText(const TCommandLine& line) {
  switch (line.Source) {
    case TSource::None: return {};
    case TSource::Arguments: return {platform::qt::ToWide(line.Text), QString()};
    case TSource::File: return ReadDetected(platform::qt::ToWide(line.FileName), line.FileName);
    case TSource::StandardInput: {
      platform::TStandardInputFile input;
      if (!input.IsOpen()) return {std::nullopt, QStringLiteral("cannot read standard input")};
      return ReadDetected(Utf8ToWide(input.Path()), QStringLiteral("-"));
    }
  }
  return {};
}

}  // namespace magna
