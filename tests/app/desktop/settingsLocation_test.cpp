// Where the settings file goes: beside a portable copy, in the configuration
// folder for an installed one.
#include "app/desktop/settingsLocation.h"

#include <gtest/gtest.h>

#include "settings/myIniFile.h"
#include "tests/support/testSupport.h"
#include "text/myUtils.h"

namespace magna {
namespace {

using test::U8;
using test::W;

TEST(SettingsLocation, BesideTheProgramOrInTheConfigurationFolder) {
  struct Row {
    const char* name;
    const char* program;
    bool fileBeside;
    bool writable;
    const char* configHome;
    const char* expected;
  } rows[] = {
      {"portable copy in a writable folder", "/home/u/tools/magna", false, true, "/home/u/.config",
       "/home/u/tools/magna.ini"},
      {"installed in /usr/bin", "/usr/bin/magna", false, false, "/home/u/.config",
       "/home/u/.config/magna/magna.ini"},
      {"/usr/local/bin writable by root", "/usr/local/bin/magna", false, true, "/root/.config",
       "/root/.config/magna/magna.ini"},
      {"/opt writable by its owner", "/opt/magna/bin/magna", false, true, "/home/u/.config",
       "/home/u/.config/magna/magna.ini"},
      {"read-only folder of the user's", "/home/u/ro/magna", false, false, "/x",
       "/x/magna/magna.ini"},
      {"a settings file beside a system copy still counts", "/usr/bin/magna", true, false,
       "/home/u/.config", "/usr/bin/magna.ini"},
      {"a folder that only starts like /usr", "/usrdata/magna", false, true, "/x",
       "/usrdata/magna.ini"},
      {"a folder that only starts like /opt", "/optional/magna", false, true, "/x",
       "/optional/magna.ini"},
      {"no configuration folder known", "/usr/bin/magna", false, false, "", "/usr/bin/magna.ini"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    TSettingsFacts facts{W(r.program), r.fileBeside, r.writable, W(r.configHome)};
    EXPECT_EQ(U8(ChooseSettingsFile(facts)), r.expected);
  }
}

TEST(SettingsLocation, SystemFolders) {
  for (const char* folder : {"/usr", "/usr/bin", "/usr/local/bin", "/opt", "/opt/magna/bin"})
    EXPECT_TRUE(IsSystemFolder(W(folder))) << folder;
  for (const char* folder : {"/", "/home/u", "/usr2", "/tmp/usr", "/op", "/optx/bin"})
    EXPECT_FALSE(IsSystemFolder(W(folder))) << folder;
}

// The test program lives in the build folder, which its user may write to: the
// settings file's place beside the program is kept, and nothing is created elsewhere.
TEST(SettingsLocation, TheRunningProgramInAWritableFolderKeepsItBeside) {
  const TSettingsFacts facts = ProgramSettingsFacts();
  EXPECT_EQ(U8(facts.ProgramFile), U8(ApplicationFileName()));
  EXPECT_TRUE(facts.FolderWritable);
  EXPECT_EQ(U8(ProgramSettingsFile()), U8(SettingsFileNameOf(ApplicationFileName())));
}

}  // namespace
}  // namespace magna
