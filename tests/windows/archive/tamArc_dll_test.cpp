// Loads "tamArc.dll" by name, as the game and the drawing back-ends do, and drives
// every entry point: reading an archive made by the native tool, and writing one
// that the native tool then checks (see check_dll_archive.sh).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "archive/tamArc.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Wine maps drive Z: to the Unix root; the Windows writer wants backslashes.
std::string windows_path(const std::string& unix_path) {
  std::string p = "Z:" + unix_path;
  for (char& c : p) {
    if (c == '/') c = '\\';
  }
  return p;
}

Bytes read_file(const std::string& path) {
  Bytes data;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    unsigned char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.insert(data.end(), buf, buf + n);
    std::fclose(f);
  }
  return data;
}

void write_file(const std::string& path, const Bytes& data) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  const size_t written = data.empty() ? 0 : std::fwrite(data.data(), 1, data.size(), f);
  std::fclose(f);
  ASSERT_EQ(written, data.size()) << path;
}

bool file_exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The library bound by name, the way its users bind it.
struct TamArc {
  HMODULE module = nullptr;
  TamArcOpenArchiveFn OpenArchive = nullptr;
  TamArcCloseArchiveFn CloseArchive = nullptr;
  TamArcGetDataCountFn GetDataCount = nullptr;
  TamArcGetFileTitleFn GetFileTitle = nullptr;
  TamArcGetFileTitleBufFn GetFileTitleBuf = nullptr;
  TamArcGetMemoryFromIndexFn GetMemoryFromIndex = nullptr;
  TamArcGetMemoryFromFileNameFn GetMemoryFromFileName = nullptr;
  TamArcSaveFileFromIndexFn SaveFileFromIndex = nullptr;
  TamArcSaveFileFromFileNameFn SaveFileFromFileName = nullptr;
  TamArcAddFileFn AddFile = nullptr;
  TamArcSaveArchiveFn SaveArchive = nullptr;
  TamArcClearArchiveFn ClearArchive = nullptr;

  template <class Fn>
  bool bind(Fn& fn, const char* name) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (!fn) ADD_FAILURE() << "tamArc.dll does not export " << name;
    return fn != nullptr;
  }

  bool Load() {
    module = LoadLibraryA("tamArc.dll");
    if (!module) return false;
    bool ok = true;
    ok &= bind(OpenArchive, "dllOpenArchive");
    ok &= bind(CloseArchive, "dllCloseArchive");
    ok &= bind(GetDataCount, "dllGetDataCount");
    ok &= bind(GetFileTitle, "dllGetFileTitle");
    ok &= bind(GetFileTitleBuf, "dllGetFileTitleBuf");
    ok &= bind(GetMemoryFromIndex, "dllGetMemoryFromIndex");
    ok &= bind(GetMemoryFromFileName, "dllGetMemoryFromFileName");
    ok &= bind(SaveFileFromIndex, "dllSaveFileFromIndex");
    ok &= bind(SaveFileFromFileName, "dllSaveFileFromFileName");
    ok &= bind(AddFile, "dllAddFile");
    ok &= bind(SaveArchive, "dllSaveArchive");
    ok &= bind(ClearArchive, "dllClearArchive");
    return ok;
  }
  ~TamArc() {
    if (module) FreeLibrary(module);
  }
};

class TamArcDll : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(arc.Load()) << "LoadLibraryA(\"tamArc.dll\") failed: " << GetLastError(); }
  TamArc arc;
};

TEST_F(TamArcDll, ReadsAnArchiveMadeByTheNativeTool) {
  const std::string fixtures = windows_path(FIXTURE_DIR);
  ASSERT_EQ(arc.OpenArchive(windows_path(NATIVE_ARCHIVE).c_str()), 0);
  ASSERT_EQ(arc.GetDataCount(), 3);
  const char* titles[] = {"Alpha.TXT", "bytes.bin", "empty.dat"};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(titles[i]);
    EXPECT_STREQ(arc.GetFileTitle(i), titles[i]);
    const Bytes expected = read_file(fixtures + "\\" + titles[i]);
    unsigned char* p = nullptr;
    ASSERT_EQ(arc.GetMemoryFromIndex(i, &p), static_cast<int>(expected.size()));
    EXPECT_EQ(Bytes(p, p + expected.size()), expected);

    const std::string out = windows_path(OUTPUT_DIR) + "\\saved_" + titles[i];
    ASSERT_EQ(arc.SaveFileFromIndex(i, out.c_str()), 0);
    EXPECT_EQ(read_file(out), expected);
    EXPECT_TRUE(file_exists(out));
  }

  unsigned char* p = nullptr;
  ASSERT_EQ(arc.GetMemoryFromFileName("ALPHA.txt", &p), 37);
  EXPECT_EQ(std::memcmp(p, "Alpha: a text member.", 21), 0);
  ASSERT_EQ(arc.SaveFileFromFileName("BYTES.BIN", (windows_path(OUTPUT_DIR) + "\\by_title.bin").c_str()), 0);
  EXPECT_EQ(read_file(windows_path(OUTPUT_DIR) + "\\by_title.bin"), read_file(fixtures + "\\bytes.bin"));

  EXPECT_EQ(arc.GetMemoryFromFileName("nothing", &p), -1);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(arc.SaveFileFromFileName("nothing", (windows_path(OUTPUT_DIR) + "\\nothing").c_str()), -1);
  EXPECT_STREQ(arc.GetFileTitle(-1), "");
  EXPECT_STREQ(arc.GetFileTitle(3), "");
  EXPECT_EQ(arc.GetMemoryFromIndex(3, &p), -1);

  arc.CloseArchive();
  EXPECT_EQ(arc.GetDataCount(), 0);
}

TEST_F(TamArcDll, TitleBufferFollowsStrncpy) {
  ASSERT_EQ(arc.OpenArchive(windows_path(NATIVE_ARCHIVE).c_str()), 0);
  char buf[16];
  std::memset(buf, '#', sizeof buf);
  EXPECT_EQ(arc.GetFileTitleBuf(0, buf, 5), buf);
  EXPECT_EQ(std::string(buf, 6), "Alpha#");  // filled: no terminator, nothing past length

  std::memset(buf, '#', sizeof buf);
  arc.GetFileTitleBuf(1, buf, 12);
  EXPECT_EQ(std::string(buf, 13), std::string("bytes.bin\0\0\0#", 13));  // zero-filled to length

  std::memset(buf, '#', sizeof buf);
  arc.GetFileTitleBuf(7, buf, 4);  // bad index: the empty title
  EXPECT_EQ(std::string(buf, 5), std::string("\0\0\0\0#", 5));
  EXPECT_EQ(arc.GetFileTitleBuf(0, nullptr, 8), nullptr);
  EXPECT_EQ(arc.GetFileTitleBuf(0, buf, 0), buf);
}

TEST_F(TamArcDll, WritesAnArchiveWithItsWriter) {
  const std::string dir = windows_path(OUTPUT_DIR) + "\\dll_written";
  const std::string loose = dir + "\\loose";
  CreateDirectoryA(dir.c_str(), nullptr);
  CreateDirectoryA(loose.c_str(), nullptr);

  std::mt19937 gen(42);
  Bytes big(300000);
  for (auto& b : big) b = static_cast<unsigned char>(gen());
  const std::string text = "written by tamArc.dll\n";
  struct Member {
    std::string name;
    Bytes data;
  };
  const Member members[] = {{"one.txt", Bytes(text.begin(), text.end())}, {"Two.bin", big}, {"3", Bytes{0}}};
  std::string order;
  arc.ClearArchive();
  for (const Member& m : members) {
    write_file(loose + "\\" + m.name, m.data);
    ASSERT_EQ(arc.AddFile((loose + "\\" + m.name).c_str()), 0) << m.name;
    order += m.name + "\n";
  }
  write_file(loose + "\\order.txt", Bytes(order.begin(), order.end()));
  write_file(dir + "\\empty", {});
  EXPECT_EQ(arc.AddFile((dir + "\\empty").c_str()), 0);  // an empty file is skipped
  EXPECT_EQ(arc.AddFile((dir + "\\missing").c_str()), -1);
  const std::string archive = dir + "\\written.tfa";
  DeleteFileA(archive.c_str());  // the native check must not see an older run's archive
  ASSERT_EQ(arc.SaveArchive(archive.c_str()), 0);

  ASSERT_EQ(arc.OpenArchive(archive.c_str()), 0);
  ASSERT_EQ(arc.GetDataCount(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_STREQ(arc.GetFileTitle(i), members[i].name.c_str());
    unsigned char* p = nullptr;
    ASSERT_EQ(arc.GetMemoryFromIndex(i, &p), static_cast<int>(members[i].data.size()));
    EXPECT_EQ(Bytes(p, p + members[i].data.size()), members[i].data);
  }

  arc.ClearArchive();
  EXPECT_EQ(arc.SaveArchive((dir + "\\cleared.tfa").c_str()), -1);
  EXPECT_FALSE(file_exists(dir + "\\cleared.tfa"));
}

TEST_F(TamArcDll, BadArgumentsFailWithoutCrashing) {
  unsigned char* p = nullptr;
  EXPECT_EQ(arc.OpenArchive(nullptr), -1);
  EXPECT_EQ(arc.OpenArchive("Z:\\no\\such\\archive.tfa"), -1);
  EXPECT_EQ(arc.OpenArchive(windows_path(FIXTURE_DIR).c_str()), -1);  // a directory
  EXPECT_EQ(arc.OpenArchive(std::string(1024, 'x').c_str()), -1);
  EXPECT_EQ(arc.GetDataCount(), 0);
  EXPECT_EQ(arc.GetMemoryFromIndex(0, nullptr), -1);
  EXPECT_EQ(arc.GetMemoryFromFileName(nullptr, &p), -1);
  EXPECT_EQ(arc.SaveFileFromIndex(0, nullptr), -1);
  EXPECT_EQ(arc.SaveFileFromFileName(nullptr, nullptr), -1);
  EXPECT_EQ(arc.AddFile(nullptr), -1);
  EXPECT_EQ(arc.SaveArchive(nullptr), -1);
}

TEST_F(TamArcDll, ReloadingTheLibraryStartsAFreshInstance) {
  ASSERT_EQ(arc.OpenArchive(windows_path(NATIVE_ARCHIVE).c_str()), 0);
  ASSERT_EQ(arc.GetDataCount(), 3);
  // A second load by name is the same instance: the archive is open there too.
  HMODULE again = LoadLibraryA("tamArc.dll");
  ASSERT_EQ(again, arc.module);
  auto count = reinterpret_cast<TamArcGetDataCountFn>(reinterpret_cast<void*>(GetProcAddress(again, "dllGetDataCount")));
  EXPECT_EQ(count(), 3);
  FreeLibrary(again);

  FreeLibrary(arc.module);  // detach destroys the reader
  arc.module = nullptr;
  ASSERT_TRUE(arc.Load());
  EXPECT_EQ(arc.GetDataCount(), 0);
}

}  // namespace
