// Codec vectors as data files: tests/data/charcode/<code>/NAME.bin is a real file in that
// code, NAME.txt its text in UTF-8. A file a user found misread becomes a test by adding
// the two files. Each pair is read with its code and with automatic detection, and the
// text written in the code gives the file's bytes again (or, for the codes whose writers
// may choose other shifts and escapes, bytes that read back as the text).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <vector>

#include "tests/support/testSupport.h"
#include "text/myCharCode.h"

namespace magna {
namespace {

namespace fs = std::filesystem;
using test::Hex;
using test::U8;

struct Vector {
  std::string code, name;
  fs::path bin, txt;
};

void PrintTo(const Vector& v, std::ostream* os) {
  *os << v.code << "/" << v.name;
}

struct CodeInfo {
  TMyCharCode code;
  TMyCharCode detected;
  bool sameBytes;  // the writer gives exactly the file's bytes
};

const std::map<std::string, CodeInfo>& Codes() {
  static const std::map<std::string, CodeInfo> codes = {
      {"sjis", {cdSJis, cdSJis, true}},
      {"euc", {cdEUC, cdEUC, true}},
      {"jis", {cdJIS, cdJIS, false}},
      {"utf8", {cdUTF_8N, cdUTF_8N, true}},
      {"utf7", {cdUTF_7, cdUTF_7, false}},
      {"utf16le", {cdUTF_16LE, cdUTF_16LE, true}},
      {"utf16be", {cdUTF_16BE, cdUTF_16BE, true}},
  };
  return codes;
}

std::vector<Vector> Vectors() {
  const char* data = std::getenv("MAGNA_TEST_DATA");
  const fs::path root = fs::path(data ? data : "tests/data") / "charcode";
  std::vector<Vector> vectors;
  std::error_code ec;
  for (const auto& dir : fs::directory_iterator(root, ec)) {
    for (const auto& file : fs::directory_iterator(dir.path())) {
      if (file.path().extension() != ".bin") continue;
      fs::path txt = file.path();
      txt.replace_extension(".txt");
      vectors.push_back(
          {dir.path().filename().string(), file.path().stem().string(), file.path(), txt});
    }
  }
  return vectors;
}

class CharCodeVector : public test::FakeServicesTest, public testing::WithParamInterface<Vector> {
 protected:
  test::TempDir dir;
};

TEST_P(CharCodeVector, ReadsAsItsTextAndWritesBack) {
  const Vector& v = GetParam();
  auto info = Codes().find(v.code);
  ASSERT_NE(info, Codes().end()) << "no such code folder: " << v.code;
  const std::string bytes = test::ReadBytes(v.bin);
  const WideString text = test::W(test::ReadBytes(v.txt));
  ASSERT_FALSE(bytes.empty());

  TMyCharCode code = info->second.code;
  EXPECT_EQ(U8(ReadTextFile(test::W(v.bin.string()), code)), U8(text)) << "read as " << v.code;
  code = cdAuto;
  EXPECT_EQ(U8(ReadTextFile(test::W(v.bin.string()), code)), U8(text)) << "read with detection";
  EXPECT_EQ(code, info->second.detected);

  ASSERT_TRUE(WriteTextFile(dir.Wide("w.bin"), text, info->second.code));
  const std::string written = test::ReadBytes(dir / "w.bin");
  if (info->second.sameBytes) {
    EXPECT_EQ(Hex(written), Hex(bytes));
  } else {
    code = info->second.code;
    EXPECT_EQ(U8(ReadTextFile(dir.Wide("w.bin"), code)), U8(text)) << Hex(written);
  }
}

INSTANTIATE_TEST_SUITE_P(DataFiles, CharCodeVector, testing::ValuesIn(Vectors()),
                         [](const testing::TestParamInfo<Vector>& row) {
                           return row.param.code + "_" + row.param.name;
                         });

}  // namespace
}  // namespace magna
