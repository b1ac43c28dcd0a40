#include "draw/draw_backends.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

using torv::DrawBackendBinding;
using torv::DrawProc;

void Target0() {}
void Target1() {}

// A loader over a set of fake libraries, each exporting a set of names. It keeps
// count of what is loaded so a test can see that a failed bind unloaded.
class FakeLoader : public torv::ModuleLoader {
public:
  std::map<std::string, std::set<std::string>> libraries;
  std::multiset<std::string> loaded;
  std::vector<std::string> load_attempts;

  void* Load(const char* file_name) override {
    load_attempts.push_back(file_name);
    auto it = libraries.find(file_name);
    if (it == libraries.end()) return nullptr;
    loaded.insert(it->first);
    return const_cast<std::string*>(&it->first);  // the handle names the library
  }
  DrawProc Find(void* module, const char* name) override {
    const std::string& library = *static_cast<std::string*>(module);
    if (!libraries[library].count(name)) return nullptr;
    // Distinct non-null addresses so a test can tell entries apart.
    return std::string(name) == "dllInit16b" ? &Target1 : &Target0;
  }
  void Free(void* module) override {
    auto it = loaded.find(*static_cast<std::string*>(module));
    ASSERT_NE(it, loaded.end()) << "freed a library that was not loaded";
    loaded.erase(it);
  }
};

std::set<std::string> AllNames(bool with16b) {
  std::set<std::string> names;
  for (int e = 0; e < torv::kDrawBackendEntryCount; ++e) {
    if (e == torv::kEntryInit16b && !with16b) continue;
    names.insert(torv::draw_backend_entry_name(static_cast<torv::DrawBackendEntry>(e)));
  }
  return names;
}

void ExpectEmpty(const DrawBackendBinding& b) {
  EXPECT_FALSE(b.loaded());
  EXPECT_EQ(b.mode, DRAW_INIT_NONE);
  for (int e = 0; e < torv::kDrawBackendEntryCount; ++e) EXPECT_EQ(b.entry[e], nullptr) << e;
}

TEST(DrawBackends, TableNamesOneLibraryPerMode) {
  struct Case {
    int mode;
    const char* library;
    bool init16b;
  };
  const Case cases[] = {
      {DRAW_INIT_D3D, "tamDx3DDraw.dll", true},
      {DRAW_INIT_DDRAW, "tamDDDraw.dll", false},
      {DRAW_INIT_DIB, "tamDIBDraw.dll", false},
  };
  for (const Case& c : cases) {
    const torv::DrawBackendInfo* info = torv::draw_find_backend(static_cast<DRAW_INIT_MODE>(c.mode));
    ASSERT_NE(info, nullptr) << c.mode;
    EXPECT_STREQ(info->library, c.library);
    EXPECT_EQ(info->offers_init16b, c.init16b);
  }
  for (int mode : {0, 4, -1, 100}) EXPECT_EQ(torv::draw_find_backend(static_cast<DRAW_INIT_MODE>(mode)), nullptr);
  int count = 0;
  const torv::DrawBackendInfo* all = torv::draw_backends(&count);
  ASSERT_EQ(count, 3);
  for (int i = 0; i < count; ++i) EXPECT_EQ(all[i].mode, i + 1);
}

TEST(DrawBackends, EntryNamesAreTheContractsInFieldOrder) {
  const char* expected[] = {"dllInit", "dllInit16b", "dllCreateImageLoadFromFile", "dllCreateImageLoadFromMemory",
                            "dllCreateImageLoadFromExpTfaFile", "dllReCreateImageLoadFromFile",
                            "dllReCreateImageLoadFromMemory", "dllReCreateImageLoadFromExpTfaFile", "dllSetFont",
                            "dllGetFont", "dllClearStringCache", "dllBeginDraw", "dllEndDraw", "dllDrawImage",
                            "dllDrawImageDetail", "dllDrawImageFast", "dllDrawText", "dllGetImageWidth",
                            "dllGetImageHeight"};
  ASSERT_EQ(sizeof expected / sizeof expected[0], static_cast<size_t>(torv::kDrawBackendEntryCount));
  for (int e = 0; e < torv::kDrawBackendEntryCount; ++e) {
    EXPECT_STREQ(torv::draw_backend_entry_name(static_cast<torv::DrawBackendEntry>(e)), expected[e]);
  }
}

TEST(DrawBackends, CompleteBackendBindsEveryEntry) {
  FakeLoader loader;
  loader.libraries["tamDIBDraw.dll"] = AllNames(false);
  DrawBackendBinding b;
  ASSERT_EQ(torv::draw_bind_backend(loader, DRAW_INIT_DIB, false, b), 0);
  EXPECT_TRUE(b.loaded());
  EXPECT_EQ(b.mode, DRAW_INIT_DIB);
  for (int e = 0; e < torv::kDrawBackendEntryCount; ++e) {
    if (e == torv::kEntryInit16b) {
      EXPECT_EQ(b.entry[e], nullptr);  // not offered, so not even looked up
    } else {
      EXPECT_NE(b.entry[e], nullptr) << torv::draw_backend_entry_name(static_cast<torv::DrawBackendEntry>(e));
    }
  }
  EXPECT_EQ(loader.loaded.count("tamDIBDraw.dll"), 1u);
  torv::draw_unbind_backend(loader, b);
  ExpectEmpty(b);
  EXPECT_TRUE(loader.loaded.empty());
}

TEST(DrawBackends, AnyOneMissingNameFailsAndUnloads) {
  for (int missing = 0; missing < torv::kDrawBackendEntryCount; ++missing) {
    if (missing == torv::kEntryInit16b) continue;
    const char* name = torv::draw_backend_entry_name(static_cast<torv::DrawBackendEntry>(missing));
    FakeLoader loader;
    loader.libraries["tamDDDraw.dll"] = AllNames(false);
    loader.libraries["tamDDDraw.dll"].erase(name);
    DrawBackendBinding b;
    EXPECT_EQ(torv::draw_bind_backend(loader, DRAW_INIT_DDRAW, false, b), -1) << name;
    ExpectEmpty(b);
    EXPECT_TRUE(loader.loaded.empty()) << name;
    EXPECT_EQ(loader.load_attempts.size(), 1u);
  }
}

TEST(DrawBackends, RefusedStartsLeaveNothingLoaded) {
  struct Case {
    const char* what;
    int mode;
    bool use16;
    bool d3d_has_16b;
    bool attempts_load;
  };
  const Case cases[] = {
      {"mode 0 names no back-end", DRAW_INIT_NONE, false, true, false},
      {"mode 4 names no back-end", 4, false, true, false},
      {"negative mode", -3, false, true, false},
      {"16-bit asked of DirectDraw", DRAW_INIT_DDRAW, true, true, false},
      {"16-bit asked of DIB", DRAW_INIT_DIB, true, true, false},
      {"16-bit asked of a Direct3D library without it", DRAW_INIT_D3D, true, false, true},
  };
  for (const Case& c : cases) {
    FakeLoader loader;
    loader.libraries["tamDx3DDraw.dll"] = AllNames(c.d3d_has_16b);
    loader.libraries["tamDDDraw.dll"] = AllNames(false);
    loader.libraries["tamDIBDraw.dll"] = AllNames(false);
    DrawBackendBinding b;
    EXPECT_EQ(torv::draw_bind_backend(loader, static_cast<DRAW_INIT_MODE>(c.mode), c.use16, b), -1) << c.what;
    ExpectEmpty(b);
    EXPECT_TRUE(loader.loaded.empty()) << c.what;
    EXPECT_EQ(!loader.load_attempts.empty(), c.attempts_load) << c.what;
  }
}

TEST(DrawBackends, MissingLibraryFails) {
  FakeLoader loader;  // no library exists
  for (int mode : {1, 2, 3}) {
    DrawBackendBinding b;
    EXPECT_EQ(torv::draw_bind_backend(loader, static_cast<DRAW_INIT_MODE>(mode), false, b), -1);
    ExpectEmpty(b);
  }
  EXPECT_EQ(loader.load_attempts, (std::vector<std::string>{"tamDx3DDraw.dll", "tamDDDraw.dll", "tamDIBDraw.dll"}));
}

TEST(DrawBackends, Direct3DInit16bIsOptionalUnlessAskedFor) {
  struct Case {
    bool has16b;
    bool use16;
    int result;
  };
  const Case cases[] = {{true, true, 0}, {true, false, 0}, {false, false, 0}, {false, true, -1}};
  for (const Case& c : cases) {
    FakeLoader loader;
    loader.libraries["tamDx3DDraw.dll"] = AllNames(c.has16b);
    DrawBackendBinding b;
    EXPECT_EQ(torv::draw_bind_backend(loader, DRAW_INIT_D3D, c.use16, b), c.result) << c.has16b << c.use16;
    if (c.result == 0) {
      EXPECT_EQ(b.entry[torv::kEntryInit16b], c.has16b ? &Target1 : nullptr);
      // The entry to call is the one asked for, and it is bound.
      EXPECT_NE(b.entry[torv::draw_init_entry(c.use16)], nullptr);
      torv::draw_unbind_backend(loader, b);
    }
    EXPECT_TRUE(loader.loaded.empty());
  }
  EXPECT_EQ(torv::draw_init_entry(true), torv::kEntryInit16b);
  EXPECT_EQ(torv::draw_init_entry(false), torv::kEntryInit);
}

}  // namespace
