// TMyFileStrings: the extension filter, folder searches over real temporary
// trees (links, unreadable folders, stops), the sorts and the shuffle.
#include "text/myFileStrings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <vector>

#include "platform/random.h"
#include "tests/support/testSupport.h"
#include "text/myCharCode.h"
#include "text/myNumeral.h"
#include "text/myUtils.h"

namespace magna {
namespace {

namespace fs = std::filesystem;
using test::W;

std::vector<WideString> Items(TMyWStrings& list) {
  std::vector<WideString> items;
  for (int i = 0; i < list.Count(); ++i) items.push_back(list.Get(i));
  return items;
}

/// Counts its destructions: tells which objects a list freed.
struct Counted : TObject {
  explicit Counted(int& freed) : freed_(freed) {}
  ~Counted() override { ++freed_; }
  int& freed_;
};

class FileStringsTest : public test::FakeServicesTest {
 protected:
  /// Makes the entries under the temporary folder and the folders they are in: a
  /// name ending in "/" is a folder, any other a file holding its own name.
  void Make(std::initializer_list<std::string> entries) {
    for (const std::string& e : entries) {
      fs::create_directories((dir / e).parent_path());
      if (!e.ends_with('/')) test::WriteBytes(dir / e, e);
    }
  }
  WideString Root() const { return dir.Wide(""); }
  /// Names under the temporary folder as the search lists them.
  std::vector<WideString> Under(std::initializer_list<std::string> names) const {
    std::vector<WideString> full;
    for (const std::string& n : names) full.push_back(Root() + W(n));
    return full;
  }

  test::TempDir dir;
  TMyFileStrings files;
};

TEST_F(FileStringsTest, FilterIgnoresCaseAndGuardsEveryWayIn) {
  files.IncludeExts.Add(u".txt");
  files.ExcludeExts.Add(u".TXT");  // exclusion wins over inclusion
  EXPECT_FALSE(files.Accepts(u"a.txt"));
  files.ExcludeExts.Clear();
  for (const char16_t* name : {u"a.txt", u"B.TXT", u"dir.x/c.Txt"})
    EXPECT_TRUE(files.Accepts(name));
  for (const char16_t* name : {u"noext", u"a.md", u"a.txt/x", u"a.txt.bak"})
    EXPECT_FALSE(files.Accepts(name));

  int freed = 0;
  EXPECT_EQ(files.AddObject(u"a.md", new Counted(freed)), -1);
  files.InsertObject(0, u"b.md", new Counted(freed));
  EXPECT_EQ(freed, 2);
  files.Add(u"keep.txt");
  files.Append(u"drop.doc");
  files.Insert(0, u"first.TXT");
  files.Put(1, u"put.doc");  // Put bypasses the filter
  EXPECT_EQ(Items(files), (std::vector<WideString>{u"first.TXT", u"put.doc"}));

  // Assign: the items pass the old filter of this list, then the filters are copied.
  TMyFileStrings other;
  other.ExcludeExts.Add(u".c");
  other.Add(u"x.c");
  other.Add(u"y.txt");
  files.Assign(other);
  EXPECT_EQ(Items(files), std::vector<WideString>{u"y.txt"});
  EXPECT_EQ(files.IncludeExts.Count(), 0);
  EXPECT_FALSE(files.Accepts(u"z.C"));

  // Extensions given in the ANSI code page compare as text: 日 is 93 FA.
  TMyStore ansi;
  ansi.Add(".\x93\xFA");
  files.SetIncludeExts(ansi);
  EXPECT_TRUE(files.Accepts(u"a.\u65E5"));
  EXPECT_FALSE(files.Accepts(u"a.txt"));
}

TEST_F(FileStringsTest, SearchGoesFolderByFolderInPathOrder) {
  Make({"a10.txt", "a2.txt", ".hidden", "x10/", "x2/", "x1/y/", "x10/f", "x2/f", "x1/f", "x1/y/f",
        "x1/.h/g"});
  std::vector<std::pair<int32_t, WideString>> found;
  files.OnFound = [&](int32_t count, const WideString& name) { found.emplace_back(count, name); };
  files.Add(u"already here");
  EXPECT_TRUE(files.Search(Root()));
  std::vector<WideString> expected{u"already here"};
  for (const WideString& name :
       Under({".hidden", "a2.txt", "a10.txt", "x1/f", "x1/.h/g", "x1/y/f", "x2/f", "x10/f"}))
    expected.push_back(name);
  EXPECT_EQ(Items(files), expected);
  ASSERT_EQ(found.size(), 8u);
  for (size_t k = 0; k < found.size(); ++k) EXPECT_EQ(found[k].first, int32_t(k + 1));
  // A pass of pending messages after every entry ("." and ".." too) and every
  // folder: the root has 8 entries, x1 5, the four others 3 each.
  EXPECT_EQ(ui->ProcessCount, (8 + 1) + (5 + 1) + 4 * (3 + 1));
  EXPECT_EQ(Items(files.SearchPaths), std::vector<WideString>{Root()});
}

/// The search order as written: the whole queue sorted again after every folder.
std::vector<WideString> OrderResortingTheQueue(const WideString& root) {
  std::vector<WideString> order;
  TMyWStrings queue, folderFiles;
  queue.Add(root + u"*.*");
  while (queue.Count() > 0) {
    const WideString pattern = queue.Get(0);
    queue.Delete(0);
    const WideString folder = pattern.substr(0, pattern.size() - 3);
    folderFiles.Clear();
    for (const auto& entry : fs::directory_iterator(test::U8(folder))) {
      const WideString name = W(entry.path().filename().string());
      if (entry.is_directory())
        queue.Add(folder + name + u"/*.*");
      else
        folderFiles.Add(folder + name);
    }
    folderFiles.SortPaths();
    for (int i = 0; i < folderFiles.Count(); ++i) order.push_back(folderFiles.Get(i));
    queue.SortPaths();
  }
  return order;
}

TEST_F(FileStringsTest, SearchOrderEqualsResortingTheQueueAfterEveryFolder) {
  // Random trees with names rich in digit runs, some holding a backslash or a
  // colon (fixed random start).
  const char* parts[] = {"a", "b", "1", "2", "10", "0", "_", ".", "\\", ":"};
  std::mt19937 random(15);
  auto name = [&] {
    std::string n;
    for (int k = 1 + int(random() % 3); k > 0; --k) n += parts[random() % std::size(parts)];
    return n;
  };
  for (int tree = 0; tree < 25; ++tree) {
    test::TempDir tmp;
    std::vector<fs::path> folders{tmp.Path()};
    for (int k = 0; k < 40; ++k) {
      const fs::path parent = folders[random() % folders.size()];
      const fs::path entry = parent / name();
      if (fs::exists(entry)) continue;
      if (random() % 3 == 0 && fs::create_directory(entry))
        folders.push_back(entry);
      else
        test::WriteBytes(entry, "");
    }
    files.KeepItems = false;
    ASSERT_TRUE(files.Search(tmp.Wide("")));
    ASSERT_EQ(Items(files), OrderResortingTheQueue(tmp.Wide(""))) << "tree " << tree;
  }
}

TEST_F(FileStringsTest, SearchPathsPatternsAndDuplicates) {
  Make({"a.txt", "b.md", "sub.txt/", "sub.txt/c.md", "other/", "other/d.txt", "A/", "A/e", "a/",
        "a/f", "drive:/", "drive:/g", "x\\y"});
  // A pattern reaches the files and the subfolders its matches; below them, all.
  EXPECT_TRUE(files.Search(Root() + u"*.TXT"));
  EXPECT_EQ(Items(files), Under({"a.txt", "sub.txt/c.md"}));

  // The same path twice is searched once; names that differ in case are two folders.
  TMyWStrings paths;
  for (const char* p : {"A/", "a/", "A/"}) paths.Add(Root() + W(p));
  files.KeepItems = false;
  EXPECT_TRUE(files.Search(paths));
  EXPECT_EQ(Items(files), Under({"A/e", "a/f"}));
  EXPECT_EQ(files.SearchPaths.Count(), 2);

  // AddSearch keeps the items for its call only; ":" and "\" ends take "*.*".
  EXPECT_TRUE(files.AddSearch(Root() + u"drive:"));
  EXPECT_TRUE(files.AddSearch(Root() + u"x\\"));
  EXPECT_FALSE(files.KeepItems);
  EXPECT_EQ(Items(files), Under({"A/e", "a/f", "drive:/g", "x\\y"}));

  // Nothing to search: false, and nothing added.
  files.KeepItems = true;
  TMyWStrings none;
  EXPECT_FALSE(files.Search(none));
  EXPECT_FALSE(files.Search(u""));
  EXPECT_TRUE(files.Search(Root() + u"missing/"));  // searched, found nothing
  EXPECT_EQ(files.Count(), 4);
}

TEST_F(FileStringsTest, LinksAreFollowedOnceAndLoopsEnd) {
  Make({"f", "sub/", "sub/g", "outside/", "outside/o"});
  fs::create_directory_symlink(dir.Path(), dir / "sub/up");          // a loop
  fs::create_directory_symlink(dir / "outside", dir / "sub/0link");  // reached twice
  EXPECT_TRUE(files.Search(Root() + u"sub/"));
  // Through the link the files keep the path that reached them, once.
  EXPECT_EQ(Items(files), Under({"sub/g", "sub/0link/o", "sub/up/f"}));
}

TEST_F(FileStringsTest, NamesOutsideUtf8OpenTheFileTheyCameFrom) {
  test::WriteBytes(dir / "\x93\xFA\x96\x7B.txt", "12345");  // 日本.txt in Shift_JIS
  EXPECT_TRUE(files.Search(Root()));
  ASSERT_EQ(files.Count(), 1);
  EXPECT_EQ(files.Get(0), Root() + u"\xDC93\xDCFA\xDC96{.txt");
  EXPECT_EQ(FileSizeOf(files.Get(0)), 5u);
  TMyCharCode code = cdAuto;
  EXPECT_EQ(ReadTextFile(files.Get(0), code), u"12345");
}

TEST_F(FileStringsTest, UnreadableFoldersAreSkipped) {
  Make({"a", "locked/", "locked/c", "open/", "open/b"});
  fs::permissions(dir / "locked", fs::perms::none);
  auto search = [&] { return files.Search(Root()) && Items(files) == Under({"a", "open/b"}); };
  if (geteuid() != 0) {
    EXPECT_TRUE(search());
  } else {
    // Root reads every folder: the search runs in a child that gives up root's
    // rights first, and reports through its exit code.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(setegid(65534) == 0 && seteuid(65534) == 0 && search() ? 0 : 1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  fs::permissions(dir / "locked", fs::perms::owner_all);
}

TEST_F(FileStringsTest, AStopKeepsTheFilesFoundAndEndsTheWholeSearch) {
  Make({"one/", "one/a", "one/b", "one/c", "two/", "two/d"});
  TMyWStrings paths;
  paths.Add(Root() + u"one/");
  paths.Add(Root() + u"two/");
  int checks = 0, reported = 0;
  files.OnFound = [&](int32_t, const WideString&) { ++reported; };
  // True once, false again after: the stop must hold all the same.
  files.OnAbortCheck = [&] { return ++checks == 4; };
  EXPECT_FALSE(files.Search(paths));
  EXPECT_EQ(checks, 4);
  // Four entries of "one" were read, two of them perhaps "." and "..".
  ASSERT_GE(files.Count(), 2);
  EXPECT_EQ(files.Count(), reported);
  const std::vector<WideString> all = Under({"one/a", "one/b", "one/c"});
  std::vector<WideString> found = Items(files);
  EXPECT_TRUE(std::includes(all.begin(), all.end(), found.begin(), found.end()));

  // The application's end stops it too; so does Esc, in SearchCancellable only.
  files.OnAbortCheck = nullptr;
  ui->IsTerminated = true;
  EXPECT_FALSE(files.AddSearch(Root() + u"two/"));
  ui->IsTerminated = false;
  keys->Held = {0x1B};
  files.KeepItems = false;
  EXPECT_TRUE(files.Search(Root() + u"two/"));
  EXPECT_TRUE(files.SearchCancellable());  // EscapeCancels is off
  files.EscapeCancels = true;
  bool replaced = false;
  ui->OnProcess = [&] { files.OnFound = [&](int32_t, const WideString&) { replaced = true; }; };
  EXPECT_FALSE(files.SearchCancellable());
  ui->OnProcess = nullptr;
  EXPECT_FALSE(files.OnAbortCheck);
  files.OnFound(0, u"");  // the handler from before the call is back
  EXPECT_FALSE(replaced);
  files.OnAbortCheck = [] { return false; };  // a check of its own wins over Esc
  EXPECT_TRUE(files.SearchCancellable());
  EXPECT_EQ(Items(files), Under({"two/d"}));
}

TEST_F(FileStringsTest, SortsByNumeralKeys) {
  const std::vector<WideString> input{u"d/b10.txt", u"d2/a2.TXT", u"d/a10.md", u"d1/b2.txt"};
  struct Row {
    const char* name;
    void (TMyFileStrings::*sort)(bool, int, int);
    bool ascending;
    std::vector<int> order;  // indexes into input
  } rows[] = {
      {"path", &TMyFileStrings::SortByPath, true, {2, 0, 3, 1}},
      {"path descending", &TMyFileStrings::SortByPath, false, {1, 3, 0, 2}},
      {"name", &TMyFileStrings::SortByName, true, {1, 2, 3, 0}},
      {"folder, equal keys keep their order", &TMyFileStrings::SortByFolder, true, {0, 2, 3, 1}},
      {"extension descending", &TMyFileStrings::SortByExt, false, {0, 1, 3, 2}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    files.Clear();
    for (const WideString& item : input) files.Add(item);
    (files.*r.sort)(r.ascending, 0, -1);
    std::vector<WideString> expected;
    for (int i : r.order) expected.push_back(input[size_t(i)]);
    EXPECT_EQ(Items(files), expected);
  }

  // A numeral beyond 64 bits: the name sorts by its whole text, the sort goes on.
  const WideString huge = u"x/9000000000000000009\u5341", small = u"x/1";
  ASSERT_THROW(CompareNumeralPath(huge, small), EIntOverflow);
  files.Clear();
  for (const WideString& item : {huge, small, WideString(u"x/0")}) files.Add(item);
  files.SortByName(true, 0, -1);
  EXPECT_EQ(Items(files), (std::vector<WideString>{u"x/0", small, huge}));
}

TEST_F(FileStringsTest, SortsBySizeAndTimesAskingTheFileSystem) {
  Make({"z", "y", "x"});
  test::WriteBytes(dir / "y", "");
  test::WriteBytes(dir / "x", "1");
  test::WriteBytes(dir / "z", "1");
  const std::vector<WideString> input = Under({"z", "y", "x", "missing"});
  for (const WideString& item : input) files.Add(item);
  files.SortBySize(true, 0, -1);
  EXPECT_EQ(Items(files), Under({"y", "missing", "z", "x"}));
  files.SortBySize(false, 0, -1);
  EXPECT_EQ(Items(files), Under({"z", "x", "y", "missing"}));

  const auto now = fs::file_time_type::clock::now();
  fs::last_write_time(dir / "z", now - std::chrono::hours(1));
  fs::last_write_time(dir / "y", now + std::chrono::hours(1));
  fs::last_write_time(dir / "x", now);
  files.SortByWriteTime(true, 0, -1);
  EXPECT_EQ(Items(files), Under({"missing", "z", "x", "y"}));
  files.SortByWriteTime(false, 1, 2);  // only the middle two
  EXPECT_EQ(Items(files), Under({"missing", "x", "z", "y"}));

  // Birth times depend on the file system; whatever it keeps, the order follows it.
  files.SortByCreationTime(true, 0, -1);
  for (int i = 1; i < files.Count(); ++i)
    EXPECT_LE(FileCreationTime(files.Get(i - 1)), FileCreationTime(files.Get(i)));
}

TEST_F(FileStringsTest, ShuffleKeepsEveryItemWithItsObject) {
  TObject objects[10];
  auto fill = [&] {
    files.Clear();
    for (int i = 0; i < 10; ++i) files.AddObject(W(std::to_string(i)), &objects[i]);
  };
  auto check = [&](int low, int high) {
    for (int i = 0; i < 10; ++i) {
      const int k = std::stoi(test::U8(files.Get(i)));
      EXPECT_EQ(files.GetObject(i), &objects[k]);
      if (i < low || i > high) EXPECT_EQ(k, i) << "outside the range";
    }
    std::vector<WideString> sorted = Items(files);
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::unique(sorted.begin(), sorted.end()), sorted.end()) << "an item lost";
  };
  fill();
  platform::RandomStart(7);
  files.Shuffle(2, 7);
  check(2, 7);
  const std::vector<WideString> first = Items(files);
  fill();
  platform::RandomStart(7);
  files.Shuffle(2, 7);
  EXPECT_EQ(Items(files), first);  // the generator decides the order
  fill();
  files.Shuffle(-3, 100);  // a range beyond the list loses nothing
  check(0, 9);
  EXPECT_EQ(files.Count(), 10);
}

}  // namespace
}  // namespace magna
