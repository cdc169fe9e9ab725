// The command line: what each form asks for, the texts it gives, and Qt's own
// options passed to Qt alone.
#include "app/desktop/commandLine.h"

#include <gtest/gtest.h>

#include "app/desktop/settingsLocation.h"

namespace magna {
namespace {

using TRequest = TCommandLine::TRequest;
using TSource = TCommandLine::TSource;
using TError = TCommandLine::TError;

TCommandLine Parse(QStringList arguments) {
  arguments.prepend(QStringLiteral("/usr/bin/magna"));
  return ParseCommandLine(arguments);
}

QStringList L(std::initializer_list<const char*> items) {
  QStringList out;
  for (const char* item : items) out << QString::fromUtf8(item);
  return out;
}

TEST(CommandLine, RequestsAndTextSources) {
  struct Row {
    const char* name;
    QStringList arguments;
    TRequest request;
    TSource source;
    const char* text;
    const char* file;
  } rows[] = {
      {"no arguments", {}, TRequest::Run, TSource::None, "", ""},
      {"one text", L({"会議は3時から"}), TRequest::Run, TSource::Arguments, "会議は3時から", ""},
      {"texts joined by spaces", L({"会議は", "3時", "から"}), TRequest::Run, TSource::Arguments,
       "会議は 3時 から", ""},
      {"an empty text", L({""}), TRequest::Run, TSource::Arguments, "", ""},
      {"standard input", L({"-"}), TRequest::Run, TSource::StandardInput, "", ""},
      {"--file PATH", L({"--file", "a b.txt"}), TRequest::Run, TSource::File, "", "a b.txt"},
      {"--file=PATH", L({"--file=a.txt"}), TRequest::Run, TSource::File, "", "a.txt"},
      {"texts after -- may look like options", L({"--", "-v", "--help"}), TRequest::Run,
       TSource::Arguments, "-v --help", ""},
      {"--help", L({"--help"}), TRequest::Help, TSource::None, "", ""},
      {"-h wins over a text", L({"abc", "-h"}), TRequest::Help, TSource::None, "", ""},
      {"--version", L({"--version"}), TRequest::Version, TSource::None, "", ""},
      {"-v", L({"-v"}), TRequest::Version, TSource::None, "", ""},
      {"--repair TEXT", L({"--repair", "abc"}), TRequest::Repair, TSource::Arguments, "abc", ""},
      {"--repair -", L({"-", "--repair"}), TRequest::Repair, TSource::StandardInput, "", ""},
      {"--help wins over --repair", L({"--repair", "-h"}), TRequest::Help, TSource::None, "", ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const TCommandLine line = Parse(r.arguments);
    EXPECT_EQ(line.Request, r.request);
    EXPECT_EQ(line.Source, r.source);
    EXPECT_EQ(line.Text.toStdString(), r.text);
    EXPECT_EQ(line.FileName.toStdString(), r.file);
    EXPECT_EQ(line.ProgramName.toStdString(), "magna");
  }
}

TEST(CommandLine, UsageErrors) {
  struct Row {
    const char* name;
    QStringList arguments;
    TError error;
    const char* detail;
  } rows[] = {
      {"unknown long option", L({"--bogus"}), TError::UnknownOption, "--bogus"},
      {"unknown short option", L({"-x"}), TError::UnknownOption, "-x"},
      {"short options are not compacted", L({"-hv"}), TError::UnknownOption, "--hv"},
      {"text and file", L({"abc", "--file", "a.txt"}), TError::TwoSources, ""},
      {"standard input and text", L({"-", "abc"}), TError::TwoSources, ""},
      {"standard input twice", L({"-", "-"}), TError::TwoSources, ""},
      {"two files", L({"--file=a", "--file=b"}), TError::TwoSources, ""},
      {"--repair without a text", L({"--repair"}), TError::NoRepairText, ""},
      {"missing value", L({"--file"}), TError::Other, "Missing value after '--file'."},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const TCommandLine line = Parse(r.arguments);
    EXPECT_EQ(line.Request, TRequest::UsageError);
    EXPECT_EQ(line.Error, r.error);
    EXPECT_EQ(line.ErrorDetail.toStdString(), r.detail);
  }
}

TEST(CommandLine, QtOptionsGoToQtAloneInTheFormItReads) {
  const TCommandLine line = Parse(L({"-platform", "offscreen", "--style=fusion", "-reverse",
                                     "テキスト", "-qmljsdebugger=port:1234", "-display", ":1"}));
  EXPECT_EQ(line.Request, TRequest::Run);
  EXPECT_EQ(line.Text.toStdString(), "テキスト");
  EXPECT_EQ(line.QtArguments.join(QLatin1Char(' ')).toStdString(),
            "/usr/bin/magna -platform offscreen -style fusion -display :1 "
            "-qmljsdebugger=port:1234 -reverse");
  EXPECT_TRUE(line.ChoosesDisplay);

  const TCommandLine plain = Parse(L({"--", "-reverse", "-style", "x"}));
  EXPECT_EQ(plain.QtArguments, QStringList{QStringLiteral("/usr/bin/magna")})
      << "a text never reaches Qt's option parser";
  EXPECT_FALSE(plain.ChoosesDisplay);
  EXPECT_EQ(plain.Text.toStdString(), "-reverse -style x");
}

TEST(CommandLine, HelpAndUsageTextsNameTheProgramAndTheSettingsFile) {
  const QString help =
      HelpText(QStringLiteral("magna"), QStringLiteral("/h/.config/magna/magna.ini"), false);
  EXPECT_TRUE(help.startsWith(QStringLiteral("Usage: magna [OPTION]... [TEXT]...\n")));
  EXPECT_TRUE(help.endsWith(QStringLiteral("Settings file: /h/.config/magna/magna.ini\n")));
  const QString japanese = HelpText(QStringLiteral("magna"), QStringLiteral("/x.ini"), true);
  EXPECT_TRUE(japanese.startsWith(QString::fromUtf8("使い方: magna")));
  EXPECT_TRUE(japanese.endsWith(QString::fromUtf8("設定ファイル: /x.ini\n")));

  const QString usage = UsageErrorText(Parse(L({"--bogus"})), false);
  EXPECT_EQ(usage.toStdString(),
            "magna: unknown option '--bogus'\n"
            "Usage: magna [OPTION]... [TEXT]... | - | --file=PATH\n"
            "Try 'magna --help' for more information.\n");
  EXPECT_TRUE(UsageErrorText(Parse(L({"-", "a"})), true)
                  .startsWith(QString::fromUtf8("magna: テキスト、'-'、--file のどれか")));
}

TEST(CommandLine, VersionComesFromTheVersionRecord) {
  // The test program carries no record of its own: the name falls back to the file's.
  const QString version = VersionText();
  EXPECT_TRUE(version.startsWith(QStringLiteral("test_app_desktop_commandLine_test ")))
      << version.toStdString();
}

TEST(CommandLine, QtArgumentsOutliveTheirSource) {
  TQtArguments arguments(L({"magna", "-platform", "会議"}));
  EXPECT_EQ(arguments.Count(), 3);
  EXPECT_STREQ(arguments.Values()[2], "会議");
  EXPECT_EQ(arguments.Values()[3], nullptr);
}

}  // namespace
}  // namespace magna
