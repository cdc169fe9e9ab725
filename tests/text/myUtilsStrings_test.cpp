#include <gtest/gtest.h>

#include <vector>

#include "tests/support/testSupport.h"
#include "text/myUtils.h"

namespace magna {
namespace {

using test::U8;
using test::W;

TEST(AffixHelpers, AreExactAndCaseSensitive) {
  EXPECT_EQ(RemovePrefix(u"--help", u"--"), u"help");
  EXPECT_EQ(RemovePrefix(u"/Help", u"/h"), u"/Help");
  EXPECT_EQ(RemovePrefix(u"-", u"--"), u"-");
  EXPECT_EQ(RemoveSuffix(u"name.TXT", u".txt"), u"name.TXT");
  EXPECT_EQ(RemoveSuffix(u"a\r\n", u"\r\n"), u"a");
  EXPECT_EQ(RemoveSuffix(u"\n", u"\r\n"), u"\n");
  EXPECT_EQ(IncludeSuffix(u"Magna", u":"), u"Magna:");
  EXPECT_EQ(IncludeSuffix(u"Magna:", u":"), u"Magna:");
  EXPECT_EQ(IncludeSuffix(u"", u"\\"), u"\\");
}

TEST(LeadingRun, TakesTheIndentOfTheFirstNCharacters) {
  const WideString set = u" \t";
  EXPECT_EQ(LeadingRun(u"  \tx  ", set, -1), u"  \t");
  EXPECT_EQ(LeadingRun(u"  \tx  ", set, 2), u"  ");
  EXPECT_EQ(LeadingRun(u"  \tx  ", set, 0), u"");
  EXPECT_EQ(LeadingRun(u"   ", set, 3), u"   ");
  EXPECT_EQ(LeadingRun(u"", set, -1), u"");
  EXPECT_EQ(LeadingRun(u" x", set, 9), u" ");  // stops inside the text: no error
  EXPECT_THROW(LeadingRun(u"  ", set, 3), ERangeError);
  EXPECT_THROW(LeadingRun(u"", set, 1), ERangeError);
}

TEST(NameOfNameValue, TrimsTheNameBeforeTheFirstEquals) {
  EXPECT_EQ(NameOfNameValue(u" key = v"), u"key");
  EXPECT_EQ(NameOfNameValue(u"k=v=w"), u"k");
  EXPECT_EQ(NameOfNameValue(u"\tk\x01=v"), u"k");
  EXPECT_EQ(NameOfNameValue(u"=v"), u"");
  EXPECT_EQ(NameOfNameValue(u"no equals"), u"");
  EXPECT_EQ(NameOfNameValue(u" =v"), u"");  // a blank name trims to nothing
}

TEST(TrimBlanks, RemovesControlsAndSpacesOnly) {
  EXPECT_EQ(TrimBlanks(WideView(u"\x00\x1F a b \r\n", 9)), u"a b");
  EXPECT_EQ(TrimBlanks(u"\x3000x\x3000"), u"\x3000x\x3000");  // ideographic space stays
  EXPECT_EQ(TrimBlanks(u" \t "), u"");
}

// A list of the shape ContainsText expects.
struct Items {
  std::vector<WideString> items;
  int Count() const { return static_cast<int>(items.size()); }
  const WideString& Get(int i) const { return items[static_cast<size_t>(i)]; }
};

TEST(ContainsText, IgnoresCase) {
  const Items list{{u"Bounds", W("ＴＥＸＴ")}};
  EXPECT_TRUE(ContainsText(list, u"bounds"));
  EXPECT_TRUE(ContainsText(list, W("ｔｅｘｔ")));
  EXPECT_FALSE(ContainsText(list, u"Bound"));
  EXPECT_FALSE(ContainsText(Items{}, u""));
}

TEST(PathParts, FollowTheirSeparatorRules) {
  struct Case {
    const char* path;
    const char* dir;    // ExtractDir
    const char* name;   // ExtractName
    const char* base;   // ExtractBaseName
    const char* ext;    // ExtractExt
    const char* split;  // SplitPath's directory
  };
  const Case cases[] = {
      {"C:\\a\\b.txt", "C:\\a\\", "b.txt", "b", ".txt", "C:\\a"},
      {"C:b.txt", "C:\\", "b.txt", "b", ".txt", "C:"},
      {"b.txt", "", "b.txt", "b", ".txt", ""},
      {"/usr/lib/x.so.6", "/usr/lib/", "x.so.6", "x.so", ".6", "/usr/lib"},
      {"a.b.c", "", "a.b.c", "a.b", ".c", ""},
      {".profile", "", ".profile", "", ".profile", ""},
      {"dir.x\\name", "dir.x\\", "name", "name", "", "dir.x"},
      {"dir.x/name", "dir.x/", "name", "name", "", "dir.x"},
      {"a.tar.gz", "", "a.tar.gz", "a.tar", ".gz", ""},
      {"C:", "C:\\", "", "", "", "C:"},
      {"\\", "\\", "", "", "", ""},
      {"", "", "", "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const WideString path = W(c.path);
    EXPECT_EQ(U8(ExtractDir(path)), c.dir);
    EXPECT_EQ(U8(ExtractName(path)), c.name);
    EXPECT_EQ(U8(ExtractBaseName(path)), c.base);
    EXPECT_EQ(U8(ExtractExt(path)), c.ext);
    WideString dir = u"old", name = u"old";
    SplitPath(path, dir, name);
    EXPECT_EQ(U8(dir), c.split);
    EXPECT_EQ(U8(name), c.name);
  }
}

TEST(ChangeExt, StopsOnlyAtBackslashAndColon) {
  struct Case {
    const char* path;
    const char* ext;
    const char* expected;
  };
  const Case cases[] = {
      {"C:\\app\\tool.exe", "ini", "C:\\app\\tool.ini"},
      {"C:\\app.d\\tool", ".ini", "C:\\app.d\\tool.ini"},
      {"a/b.c/d", ".x", "a/b.x"},  // slash does not end the search
      {".cfg", ".ini", ".ini"},
      {"C:.cfg", ".ini", "C:.ini"},
      {"tool.exe", "", "tool"},
      {"a.b.c", "", "a.b"},
      {"tool", "", "tool"},
      {"", "ini", ".ini"},
      {"/home/u/magna", ".ini", "/home/u/magna.ini"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " + " + c.ext);
    EXPECT_EQ(U8(ChangeExt(W(c.path), W(c.ext))), c.expected);
  }
}

}  // namespace
}  // namespace magna
