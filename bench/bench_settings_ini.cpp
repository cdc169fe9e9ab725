// The settings file: a 5,000-line INI file loaded, changed 1,000 times and saved,
// and the program's own settings (two sections, 14 keys) read and written.
// Reference in the same run: copying the same file's bytes (read and write).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "settings/myIniFile.h"

namespace {

using namespace magna;

constexpr int kSections = 50;
constexpr int kKeysPerSection = 99;  // 50 x (1 header + 99 entries) = 5,000 lines

std::filesystem::path TempFile(const std::string& name) {
  return std::filesystem::temp_directory_path() / ("magna_bench_" + name);
}

WideString Wide(const std::string& s) {
  return WideString(s.begin(), s.end());
}

WideString SectionName(int s) {
  return Wide("Section" + std::to_string(s));
}
WideString KeyName(int k) {
  return Wide("Key" + std::to_string(k));
}

void WriteBigFile(const std::filesystem::path& file) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  for (int s = 0; s < kSections; ++s) {
    out << "[Section" << s << "]\r\n";
    for (int k = 0; k < kKeysPerSection; ++k)
      out << "Key" << k << "=value of key " << k << " in section " << s << "\r\n";
  }
}

void WriteProgramFile(const std::filesystem::path& file) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << "[Bounds]\r\nApp_TOOLMagna_Left=100\r\nApp_TOOLMagna_Top=80\r\n"
         "App_TOOLMagna_Right=900\r\nApp_TOOLMagna_Bottom=600\r\n\r\n"
         "[Text]\r\nClipboardWatch=1\r\nWordWrap=0\r\nMemo_Text_FontName=\x82\x6C\x82\x72 "
         "\x83\x53\x83\x56\x83\x62\x83\x4E\r\nMemo_Text_FontSize=72\r\nMemo_Text_FontColor=-"
         "16777208\r\n"
         "Memo_Text_FontStyleBold=0\r\nMemo_Text_FontStyleItalic=0\r\n"
         "Memo_Text_FontStyleUnderLine=0\r\nMemo_Text_FontStyleStrikeOut=0\r\n"
         "Memo_Text_FontCharset=128\r\n\r\n";
}

void CopyBytes(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::ifstream in(from, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  std::ofstream out(to, std::ios::binary | std::ios::trunc);
  out << bytes.str();
}

const WideString kTextKeys[] = {u"ClipboardWatch",
                                u"WordWrap",
                                u"Memo_Text_FontName",
                                u"Memo_Text_FontSize",
                                u"Memo_Text_FontColor",
                                u"Memo_Text_FontStyleBold",
                                u"Memo_Text_FontStyleItalic",
                                u"Memo_Text_FontStyleUnderLine",
                                u"Memo_Text_FontStyleStrikeOut",
                                u"Memo_Text_FontCharset"};
const WideString kBoundsKeys[] = {u"App_TOOLMagna_Left", u"App_TOOLMagna_Top",
                                  u"App_TOOLMagna_Right", u"App_TOOLMagna_Bottom"};

/// Times copying the bytes of a file made by `make`: the reference of the run.
void CopyReference(benchmark::State& state, void (*make)(const std::filesystem::path&),
                   const std::string& name) {
  const auto file = TempFile(name), copy = TempFile("copy_" + name);
  make(file);
  for (auto _ : state) CopyBytes(file, copy);
}

/// Times creating the object on a file made by `make`, `work` on it, and saving.
template <class Work>
void IniRun(benchmark::State& state, void (*make)(const std::filesystem::path&),
            const std::string& fileName, Work work) {
  const auto file = TempFile(fileName);
  make(file);
  const WideString name = Wide(file.string());
  for (auto _ : state) {
    TMyIniFile ini(name, cdAuto);
    work(ini);
    benchmark::DoNotOptimize(ini.UpdateFile());
  }
}

// Reference: the bytes of the 5,000-line file read and written once.
void BM_Reference_CopyBigFile(benchmark::State& state) {
  CopyReference(state, WriteBigFile, "big.ini");
}
BENCHMARK(BM_Reference_CopyBigFile)->Unit(benchmark::kMillisecond);

// Load, 1,000 writes (100 to each of 10 sections in turn), save.
void BM_BigFile_1000WritesBySection(benchmark::State& state) {
  IniRun(state, WriteBigFile, "big.ini", [](TMyIniFile& ini) {
    for (int w = 0; w < 1000; ++w)
      ini.WriteString(SectionName(w / 100 * 5), KeyName(w % 100), u"changed value");
  });
}
BENCHMARK(BM_BigFile_1000WritesBySection)->Unit(benchmark::kMillisecond);

// Load, 1,000 writes that switch the section every time (each switch writes the
// cached section back), save.
void BM_BigFile_1000WritesSwitching(benchmark::State& state) {
  IniRun(state, WriteBigFile, "big.ini", [](TMyIniFile& ini) {
    for (int w = 0; w < 1000; ++w)
      ini.WriteString(SectionName(w % kSections), KeyName(w % kKeysPerSection), u"switch");
  });
}
BENCHMARK(BM_BigFile_1000WritesSwitching)->Unit(benchmark::kMillisecond);

// Reference: the bytes of the program's settings file read and written once.
void BM_Reference_CopyProgramFile(benchmark::State& state) {
  CopyReference(state, WriteProgramFile, "program.ini");
}
BENCHMARK(BM_Reference_CopyProgramFile)->Unit(benchmark::kMicrosecond);

// What the program does at start: one object reads all 14 entries.
void BM_ProgramSettings_Load(benchmark::State& state) {
  IniRun(state, WriteProgramFile, "program.ini", [](TMyIniFile& ini) {
    for (const WideString& key : kBoundsKeys)
      benchmark::DoNotOptimize(ini.ReadInteger(u"Bounds", key, 0));
    for (const WideString& key : kTextKeys)
      benchmark::DoNotOptimize(ini.ReadString(u"Text", key, u""));
  });
}
BENCHMARK(BM_ProgramSettings_Load)->Unit(benchmark::kMicrosecond);

// What the program does at the end: one object writes all 14 entries and saves.
void BM_ProgramSettings_Save(benchmark::State& state) {
  IniRun(state, WriteProgramFile, "program.ini", [](TMyIniFile& ini) {
    for (const WideString& key : kBoundsKeys) ini.WriteInteger(u"Bounds", key, 123);
    for (const WideString& key : kTextKeys) ini.WriteString(u"Text", key, u"1");
  });
}
BENCHMARK(BM_ProgramSettings_Save)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
