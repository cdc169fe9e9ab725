#include "app/desktop/commandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>

#include "app/desktop/captionLanguage.h"
#include "app/desktop/repairCommand.h"
#include "app/desktop/settingsLocation.h"
#include "platform/qt/qtText.h"
#include "text/myUtils.h"

namespace magna {

namespace {

using TRequest = TCommandLine::TRequest;
using TSource = TCommandLine::TSource;
using TError = TCommandLine::TError;

const QString kHelp = QStringLiteral("help");
const QString kVersion = QStringLiteral("version");
const QString kFile = QStringLiteral("file");
const QString kRepair = QStringLiteral("repair");
const QString kStandardInput = QStringLiteral("-");

/// Qt's own options (QGuiApplication, QApplication and the xcb platform of Qt 6),
/// with whether each takes a value.
struct TQtOption {
  const char* name;
  bool takesValue;
};
constexpr TQtOption kQtOptions[] = {
    {"platform", true},
    {"platformpluginpath", true},
    {"platformtheme", true},
    {"plugin", true},
    {"qwindowgeometry", true},
    {"geometry", true},
    {"qwindowicon", true},
    {"icon", true},
    {"qwindowtitle", true},
    {"title", true},
    {"session", true},
    {"style", true},
    {"stylesheet", true},
    {"display", true},
    {"name", true},
    {"visual", true},
    {"qmljsdebugger", true},
    {"reverse", false},
    {"testability", false},
    {"widgetcount", false},
    {"dograb", false},
    {"nograb", false},
};

void DefineOptions(QCommandLineParser& parser) {
  // "-platform" is one option, not -p -l -a ...: Qt's options are single-dash words.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), kHelp}));
  parser.addOption(QCommandLineOption(QStringList{QStringLiteral("v"), kVersion}));
  parser.addOption(QCommandLineOption(kFile, QString(), QStringLiteral("PATH")));
  parser.addOption(QCommandLineOption(kRepair));
  for (const TQtOption& option : kQtOptions) {
    const QString name = QString::fromLatin1(option.name);
    parser.addOption(option.takesValue ? QCommandLineOption(name, QString(), name)
                                       : QCommandLineOption(name));
  }
}

QString DashedName(const QString& name) {
  return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

/// The program's path and Qt's options as Qt reads them ("-name value").
QStringList QtArgumentsOf(const QCommandLineParser& parser, const QString& program) {
  QStringList out{program};
  for (const TQtOption& option : kQtOptions) {
    const QString name = QString::fromLatin1(option.name);
    if (!parser.isSet(name)) continue;
    const QString dashed = QLatin1Char('-') + name;
    if (!option.takesValue) {
      out << dashed;
    } else if (name == QLatin1String("qmljsdebugger")) {
      for (const QString& value : parser.values(name)) out << dashed + QLatin1Char('=') + value;
    } else {
      for (const QString& value : parser.values(name)) out << dashed << value;
    }
  }
  return out;
}

/// Where the text comes from, or an error when more than one source is given.
void ChooseSource(const QCommandLineParser& parser, TCommandLine& line) {
  const QStringList texts = parser.positionalArguments();
  const QStringList files = parser.values(kFile);
  const int sources = (texts.isEmpty() ? 0 : 1) + int(files.size());
  if (sources > 1 || (texts.size() > 1 && texts.contains(kStandardInput))) {
    line.Request = TRequest::UsageError;
    line.Error = TError::TwoSources;
    return;
  }
  if (!files.isEmpty()) {
    line.Source = TSource::File;
    line.FileName = files.first();
  } else if (texts == QStringList{kStandardInput}) {
    line.Source = TSource::StandardInput;
  } else if (!texts.isEmpty()) {
    line.Source = TSource::Arguments;
    line.Text = texts.join(QLatin1Char(' '));
  }
}

/// --repair with its text source; it has no window to show an empty text in.
void AskRepair(TCommandLine& line) {
  if (line.Request != TRequest::Run) return;
  if (line.Source == TSource::None) {
    line.Request = TRequest::UsageError;
    line.Error = TError::NoRepairText;
  } else {
    line.Request = TRequest::Repair;
  }
}

bool Print(FILE* stream, const QString& text) {
  return WriteAll(stream, text.toUtf8());
}

QString Q(const char16_t* text) {
  return QString::fromUtf16(text);
}

}  // namespace

bool WriteAll(FILE* stream, const QByteArray& bytes) {
  const bool written =
      std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size());
  return std::fflush(stream) == 0 && written;
}

QStringList ArgumentsOf(int argc, char** argv) {
  QStringList out;
  for (int i = 0; i < argc; ++i) out << QString::fromLocal8Bit(argv[i]);
  return out;
}

TCommandLine ParseCommandLine(const QStringList& arguments) {
  TCommandLine line;
  const QString program = arguments.value(0);
  line.ProgramName = QFileInfo(program).fileName();
  if (line.ProgramName.isEmpty()) line.ProgramName = QStringLiteral("magna");
  line.QtArguments = QStringList{program};

  QCommandLineParser parser;
  DefineOptions(parser);
  if (!parser.parse(arguments.isEmpty() ? QStringList{program} : arguments)) {
    line.Request = TRequest::UsageError;
    const QStringList unknown = parser.unknownOptionNames();
    line.Error = unknown.isEmpty() ? TError::Other : TError::UnknownOption;
    line.ErrorDetail = unknown.isEmpty() ? parser.errorText() : DashedName(unknown.first());
    return line;
  }
  if (parser.isSet(kHelp)) {
    line.Request = TRequest::Help;
  } else if (parser.isSet(kVersion)) {
    line.Request = TRequest::Version;
  } else {
    ChooseSource(parser, line);
    if (parser.isSet(kRepair)) AskRepair(line);
  }
  line.QtArguments = QtArgumentsOf(parser, program);
  line.ChoosesDisplay =
      parser.isSet(QStringLiteral("platform")) || parser.isSet(QStringLiteral("display"));
  return line;
}

bool PrefersJapanese() {
  const std::optional<std::string> locale = MessagesLocale(EnvironmentVariable);
  return locale && locale->starts_with("ja");
}

QString HelpText(const QString& programName, const QString& settingsFile, bool japanese) {
  const QString text = japanese ? Q(u"使い方: %1 [オプション]... [テキスト]...\n"
                                    u"  または: %1 -\n"
                                    u"  または: %1 --file=パス\n"
                                    u"  または: %1 --repair [テキスト]... | - | --file=パス\n"
                                    u"テキストをとても大きな文字で表示します。"
                                    u"テキストを指定しないと空の状態で起動します。\n"
                                    u"\n"
                                    u"  -                 標準入力から読んだテキストを表示する\n"
                                    u"      --file=パス   ファイルのテキストを表示する\n"
                                    u"      --repair      テキストの文字化けやエンコードを直して"
                                    u"標準出力に書き、\n"
                                    u"                    見つけた化け方を標準エラー出力に"
                                    u"書いて終了する\n"
                                    u"  -h, --help        このヘルプを表示して終了する\n"
                                    u"  -v, --version     バージョン情報を表示して終了する\n"
                                    u"\n"
                                    u"複数のテキストは空白でつないで表示します。"
                                    u"標準入力とファイルの文字コードは自動判定します\n"
                                    u"（Shift_JIS・EUC-JP・ISO-2022-JP・UTF-8・UTF-16・UTF-7）。"
                                    u"末尾の改行 1 つは表示しません。\n"
                                    u"-platform 名前、-style 名前、-display ディスプレイなど"
                                    u" Qt のオプションも使えます。\n"
                                    u"\n"
                                    u"クリップボード監視は、X11 と data-control のある"
                                    u" Wayland（sway、KDE Plasma、\n"
                                    u"Hyprland など）ではウィンドウが後ろにあっても"
                                    u"働きます。\n"
                                    u"GNOME では XWayland を通して働きます。"
                                    u"data-control のない Wayland に\n"
                                    u"QT_QPA_PLATFORM=wayland で表示すると、"
                                    u"このウィンドウがアクティブな\n"
                                    u"あいだしかコピーを監視できません。"
                                    u"QT_QPA_PLATFORM=wayland を\n"
                                    u"付けずに起動してください。\n"
                                    u"\n"
                                    u"設定ファイル: %2\n")
                                : Q(u"Usage: %1 [OPTION]... [TEXT]...\n"
                                    u"  or:  %1 -\n"
                                    u"  or:  %1 --file=PATH\n"
                                    u"  or:  %1 --repair [TEXT]... | - | --file=PATH\n"
                                    u"Show TEXT in a very large font. Without TEXT the window "
                                    u"starts empty.\n"
                                    u"\n"
                                    u"  -                 show the text read from standard input\n"
                                    u"      --file=PATH   show the text of the file PATH\n"
                                    u"      --repair      write the text with its mojibake or "
                                    u"encoding undone to\n"
                                    u"                    standard output, what was found to "
                                    u"standard error, and exit\n"
                                    u"  -h, --help        display this help and exit\n"
                                    u"  -v, --version     output version information and exit\n"
                                    u"\n"
                                    u"Several TEXT arguments are joined with spaces. The character "
                                    u"code of standard\n"
                                    u"input and of files is detected (Shift_JIS, EUC-JP, "
                                    u"ISO-2022-JP, UTF-8, UTF-16\n"
                                    u"or UTF-7); one line break at the very end is not shown.\n"
                                    u"Qt's options such as -platform NAME, -style NAME and "
                                    u"-display DISPLAY are\n"
                                    u"accepted as well.\n"
                                    u"\n"
                                    u"Clipboard watching works in the background on X11 and "
                                    u"on Wayland compositors\n"
                                    u"with data-control (sway, KDE Plasma, Hyprland); on "
                                    u"GNOME it goes through XWayland.\n"
                                    u"Shown on Wayland without data-control "
                                    u"(QT_QPA_PLATFORM=wayland), watching sees\n"
                                    u"copies only while this window is active here; start "
                                    u"without `QT_QPA_PLATFORM=wayland`.\n"
                                    u"\n"
                                    u"Settings file: %2\n");
  return text.arg(programName, settingsFile);
}

QString VersionText() {
  const TMyFileVersionInfo info = ReadVersionInfo(ApplicationFileName());
  return platform::qt::ToQString(ApplicationTitle()) + QLatin1Char(' ') +
         platform::qt::ToQString(info.FileVersion) + QLatin1Char('\n') +
         platform::qt::ToQString(info.Comments) + QLatin1Char('\n');
}

QString UsageErrorText(const TCommandLine& line, bool japanese) {
  QString error = line.ErrorDetail;
  if (line.Error == TError::UnknownOption)
    error = (japanese ? Q(u"不明なオプション '%1'") : QStringLiteral("unknown option '%1'"))
                .arg(line.ErrorDetail);
  else if (line.Error == TError::TwoSources)
    error = japanese ? Q(u"テキスト、'-'、--file のどれか 1 つだけを指定してください")
                     : QStringLiteral("give only one of TEXT, '-' and --file");
  else if (line.Error == TError::NoRepairText)
    error = japanese ? Q(u"--repair にはテキスト、'-'、--file のどれかを指定してください")
                     : QStringLiteral("--repair needs TEXT, '-' or --file");
  const QString text = japanese ? Q(u"%1: %2\n"
                                    u"使い方: %1 [オプション]... [テキスト]... | - | --file=パス\n"
                                    u"詳しくは '%1 --help' を実行してください。\n")
                                : Q(u"%1: %2\n"
                                    u"Usage: %1 [OPTION]... [TEXT]... | - | --file=PATH\n"
                                    u"Try '%1 --help' for more information.\n");
  return text.arg(line.ProgramName, error);
}

std::optional<int> AnswerWithoutWindow(const TCommandLine& line) {
  const bool japanese = PrefersJapanese();
  switch (line.Request) {
    case TRequest::Run: return std::nullopt;
    case TRequest::Help: {
      const QString settings = platform::qt::ToQString(ChooseSettingsFile(ProgramSettingsFacts()));
      return Print(stdout, HelpText(line.ProgramName, settings, japanese)) ? 0 : 1;
    }
    case TRequest::Version: return Print(stdout, VersionText()) ? 0 : 1;
    case TRequest::Repair: return AnswerRepair(line, japanese);
    case TRequest::UsageError: Print(stderr, UsageErrorText(line, japanese)); return 2;
  }
  return std::nullopt;
}

TQtArguments::TQtArguments(const QStringList& arguments) {
  for (const QString& argument : arguments)
    strings_.push_back(argument.toLocal8Bit().toStdString());
  for (std::string& s : strings_) pointers_.push_back(s.data());
  count_ = int(pointers_.size());
  pointers_.push_back(nullptr);  // argv ends with a null pointer
}

}  // namespace magna
