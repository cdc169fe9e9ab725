// TMyFileStrings::Search of a folder tree beside `find -L ROOT -type f | sort -V`
// on the same tree in the same run, on two trees: a generated one of 100,000 files
// in 1,000 folders, and /usr/share as it is found. The search runs as in the
// program: a QApplication with the Qt services installed, so the pending-message
// passes of the search are real event-loop passes. A second search passes after
// every entry, to show what the sliced passes save. Each side makes its own list
// (the pipe's output is read into lines). Each figure is the best of three rounds,
// after one round that warms the file system's caches.
// Usage: bench_text_fileSearch [folder for the generated tree]
// Run with QT_QPA_PLATFORM=offscreen or under a display.
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/nativeNames.h"
#include "platform/qt/qtServices.h"
#include "platform/qt/qtUi.h"
#include "text/myFileStrings.h"

namespace {

namespace fs = std::filesystem;
using namespace magna;

/// The Qt event loop with a pass after every entry of a loop, not sliced.
class EveryEntryUi : public platform::UiService {
 public:
  void ProcessMessages() override { qt_.ProcessMessages(); }
  void ProcessMessagesInLoop() override { qt_.ProcessMessages(); }
  void Beep() override {}
  bool Terminated() override { return qt_.Terminated(); }

 private:
  platform::qt::QtUi qt_;
};

double SecondsOf(const std::function<void()>& run) {
  const auto start = std::chrono::steady_clock::now();
  run();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

/// 10 folders of 99 subfolders each, 100 files in every one of the 1,000 folders.
void MakeTree(const fs::path& root) {
  for (int d = 1; d <= 10; ++d) {
    const fs::path top = root / ("d" + std::to_string(d));
    std::vector<fs::path> folders{top};
    for (int s = 1; s <= 99; ++s) folders.push_back(top / ("s" + std::to_string(s)));
    for (const fs::path& folder : folders) {
      fs::create_directories(folder);
      for (int f = 1; f <= 100; ++f) std::ofstream(folder / ("f" + std::to_string(f) + ".txt"));
    }
  }
}

/// The lines `find -L root -type f | sort -V` writes.
std::vector<std::string> FindAndSort(const std::string& root) {
  const std::string command = "find -L '" + root + "' -type f 2>/dev/null | sort -V";
  std::vector<std::string> lines;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return lines;
  std::string all;
  char chunk[1 << 16];
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) all.append(chunk, n);
  pclose(pipe);
  for (size_t start = 0; start < all.size();) {
    const size_t end = std::min(all.find('\n', start), all.size());
    lines.push_back(all.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

int SearchCount(const std::string& root) {
  TMyFileStrings files;
  files.Search(platform::NativeNameToWide(root) + u"/");
  return files.Count();
}

void Compare(const char* title, const std::string& root) {
  size_t findCount = 0;
  int searchCount = 0;
  double find = 1e9, sliced = 1e9, every = 1e9;
  for (int round = 0; round <= 3; ++round) {
    const double f = SecondsOf([&] { findCount = FindAndSort(root).size(); });
    const double s = SecondsOf([&] { searchCount = SearchCount(root); });
    platform::InstallUi(std::make_unique<EveryEntryUi>());
    const double e = SecondsOf([&] { SearchCount(root); });
    platform::InstallUi(std::make_unique<platform::qt::QtUi>());
    if (round == 0) continue;  // the caches warm up
    find = std::min(find, f);
    sliced = std::min(sliced, s);
    every = std::min(every, e);
  }
  std::printf("%s: find|sort -V %zu files, Search %d files\n", title, findCount, searchCount);
  std::printf("  find -L | sort -V                        %8.1f ms   1.00x\n", find * 1000);
  std::printf("  Search, passes at most every 10 ms       %8.1f ms  %5.2fx\n", sliced * 1000,
              sliced / find);
  std::printf("  Search, a pass after every entry         %8.1f ms  %5.2fx\n", every * 1000,
              every / find);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  platform::qt::InstallQtServices();
  const bool ownTree = argc < 2;
  const fs::path tree =
      ownTree ? fs::temp_directory_path() / ("magna-bench-tree-" + std::to_string(getpid()))
              : fs::path(argv[1]);
  if (!fs::exists(tree / "d10/s99/f100.txt")) {
    const double made = SecondsOf([&] { MakeTree(tree); });
    std::printf("generated tree made in %.1f s\n", made);
  }
  Compare("generated tree, 100,000 files in 1,000 folders", tree.string());
  Compare("/usr/share", "/usr/share");
  if (ownTree) fs::remove_all(tree);
  return 0;
}
