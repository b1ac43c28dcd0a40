// tamSound.dll and tamDIJoy.dll loaded by name as the game loads them, driven
// through the bound entry points with sounds from a real ".tfa" archive.
//
// Run in two set-ups (see CMakeLists.txt): with Wine's audio drivers switched off
// (no device: the module must run silent) and against a PulseAudio null sink (the
// DirectSound path, with its refill thread, runs in real time). The environment
// variable TORV_EXPECT_SOUND_DEVICE (0 or 1) says which one this is, so a set-up
// that did not give what it promised fails instead of testing the other path.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "archive/tam_archive_create.h"
#include "joystick/tamDIJoy.h"
#include "sound/tamSound.h"

namespace {

// The game's sound files (its resource table), here made of the build-time tones.
struct Member {
  const char* title;
  const char* fixture;
};
const Member kEffects[] = {
    {"Break.ogg", "tone440_m22_500ms.ogg"},     {"ded.ogg", "tone300_m8_250ms.ogg"},
    {"uded.ogg", "tone440_m22_500ms.ogg"},      {"jump.ogg", "tone300_m8_250ms.ogg"},
    {"menu.ogg", "tone440_m22_500ms.ogg"},      {"item.ogg", "tone300_m8_250ms.ogg"},
    {"damage.ogg", "tone440_m22_500ms.ogg"},    {"lifeup.ogg", "tone300_m8_250ms.ogg"},
    {"fire.ogg", "tone440_m22_500ms.ogg"},      {"freeze.ogg", "tone300_m8_250ms.ogg"},
    {"clear.ogg", "tone1000-500_s44_1000ms.ogg"}, {"timep.ogg", "tone300_m8_250ms.ogg"},
};
const Member kMusic[] = {
    {"BGM1.ogg", "tone220-330_s44_3000ms.ogg"},
    {"BGM2.ogg", "tone440_m22_500ms.ogg"},
    {"BGM3.ogg", "tone1000-500_s44_1000ms.ogg"},
};

std::vector<uint8_t> read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

int expected_device() {
  const char* v = std::getenv("TORV_EXPECT_SOUND_DEVICE");
  return v ? std::atoi(v) : -1;  // -1: run by hand, either is fine
}

// Every entry point the game binds, looked up by name.
struct SoundApi {
  HMODULE module = nullptr;
  TamSoundInitProc Init = nullptr;
  TamSoundTerminateProc TerminateDS = nullptr;
  TamSoundCreateVoidProc CreateVoid = nullptr;
  TamSoundCreateFileProc CreateStream = nullptr;
  TamSoundCreateTfaProc CreateStreamFromTfa = nullptr;
  TamSoundReCreateFileProc ReCreateStream = nullptr;
  TamSoundReCreateTfaProc ReCreateStreamFromTfa = nullptr;
  TamSoundCreateFileProc CreateEffect = nullptr;
  TamSoundCreateTfaProc CreateEffectFromTfa = nullptr;
  TamSoundReCreateFileProc ReCreateEffect = nullptr;
  TamSoundReCreateTfaProc ReCreateEffectFromTfa = nullptr;
  TamSoundClearAllProc ClearAllBuffer = nullptr;
  TamSoundHandleProc Play = nullptr;
  TamSoundHandleProc PlayLoop = nullptr;
  TamSoundHandleProc Stop = nullptr;
  TamSoundSetVolumeProc SetVolume = nullptr;
  TamSoundSetReadBufferSizeProc SetReadBufferSize = nullptr;
  TamSoundSetSoundBufferSecProc SetSoundBufferSec = nullptr;
  TamSoundGetStatusProc GetStatus = nullptr;

  template <class T>
  void Bind(T& slot, const char* name, std::vector<std::string>& missing) {
    slot = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (!slot) missing.push_back(name);
  }
  // The 18 names the game requires, and the status call the tests use.
  std::vector<std::string> BindAll() {
    std::vector<std::string> missing;
    Bind(Init, "dllInit", missing);
    Bind(TerminateDS, "dllTerminateDS", missing);
    Bind(CreateVoid, "dllCreateOggVoidSoundBuffer", missing);
    Bind(CreateStream, "dllCreateOggSoundBuffer", missing);
    Bind(CreateStreamFromTfa, "dllCreateOggSoundBufferFromTfa", missing);
    Bind(ReCreateStream, "dllReCreateOggSoundBuffer", missing);
    Bind(ReCreateStreamFromTfa, "dllReCreateOggSoundBufferFromTfa", missing);
    Bind(CreateEffect, "dllCreateOggSoundBufferNonStreaming", missing);
    Bind(CreateEffectFromTfa, "dllCreateOggSoundBufferNonStreamingFromTfa", missing);
    Bind(ReCreateEffect, "dllReCreateOggSoundBufferNonStreaming", missing);
    Bind(ReCreateEffectFromTfa, "dllReCreateOggSoundBufferNonStreamingFromTfa", missing);
    Bind(ClearAllBuffer, "dllClearAllBuffer", missing);
    Bind(Play, "dllPlay", missing);
    Bind(PlayLoop, "dllPlayLoop", missing);
    Bind(Stop, "dllStop", missing);
    Bind(SetVolume, "dllSetVolume", missing);
    Bind(SetReadBufferSize, "dllSetReadBufferSize", missing);
    Bind(SetSoundBufferSec, "dllSetSoundBufferSec", missing);
    Bind(GetStatus, "dllGetSoundStatus", missing);
    return missing;
  }
};

SoundApi* g_api = nullptr;
std::string* g_archive = nullptr;

// Loads the module once for the whole program, as the game does, and writes the
// archive into the working folder (bin/, shared: a name of our own).
class SoundEnvironment : public testing::Environment {
public:
  void SetUp() override {
    g_archive = new std::string("tamsound_test_" + std::to_string(GetCurrentProcessId()) + ".tfa");
    CTamArchiveCreate writer;
    auto add = [&writer](const Member& m) {
      const std::vector<uint8_t> bytes = read_file(std::string(TORV_OGG_FIXTURES) + "/" + m.fixture);
      ASSERT_FALSE(bytes.empty()) << m.fixture;
      ASSERT_EQ(writer.AddMemory(bytes.data(), static_cast<int>(bytes.size()), m.title), 0);
    };
    for (const Member& m : kEffects) add(m);
    for (const Member& m : kMusic) add(m);
    const char text[] = "not a sound";
    ASSERT_EQ(writer.AddMemory(reinterpret_cast<const unsigned char*>(text), sizeof text, "text.ogg"), 0);
    const std::vector<uint8_t> cut = read_file(std::string(TORV_OGG_FIXTURES) + "/tone440_m22_500ms.ogg");
    ASSERT_EQ(writer.AddMemory(cut.data(), static_cast<int>(cut.size() * 2 / 3), "cut.ogg"), 0);
    ASSERT_EQ(writer.SaveArchive(g_archive->c_str()), 0);

    g_api = new SoundApi();
    g_api->module = LoadLibraryA("tamSound.dll");
    ASSERT_NE(g_api->module, nullptr) << "tamSound.dll did not load";
  }
  void TearDown() override {
    if (g_api && g_api->module) FreeLibrary(g_api->module);
    delete g_api;
    if (g_archive) DeleteFileA(g_archive->c_str());
    delete g_archive;
  }
};

const testing::Environment* const g_env = testing::AddGlobalTestEnvironment(new SoundEnvironment);

int thread_count() {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snap == INVALID_HANDLE_VALUE) return -1;
  THREADENTRY32 te = {};
  te.dwSize = sizeof te;
  int n = 0;
  const DWORD self = GetCurrentProcessId();
  for (BOOL ok = Thread32First(snap, &te); ok; ok = Thread32Next(snap, &te)) {
    if (te.th32OwnerProcessID == self) ++n;
  }
  CloseHandle(snap);
  return n;
}

// Handles this process holds. GetProcessHandleCount answers 0 under Wine; the
// system handle list is right on both.
int handle_count() {
  struct Entry {
    ULONG owner_pid;
    BYTE object_type;
    BYTE flags;
    USHORT value;
    PVOID object;
    ULONG access;
  };
  struct Table {
    ULONG count;
    Entry entries[1];
  };
  using QueryProc = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  constexpr ULONG kSystemHandleInformation = 16;
  constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004L);
  auto query = reinterpret_cast<QueryProc>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return -1;
  std::vector<char> buffer(1 << 20);
  ULONG length = 0;
  LONG status;
  while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &length)) ==
         kInfoLengthMismatch) {
    buffer.resize(buffer.size() * 2);
  }
  if (status != 0) return -1;
  const auto* table = reinterpret_cast<const Table*>(buffer.data());
  int n = 0;
  for (ULONG i = 0; i < table->count; ++i) {
    if (table->entries[i].owner_pid == GetCurrentProcessId()) ++n;
  }
  return n;
}

// Committed private memory. Wine leaves PrivateUsage at 0; PagefileUsage is the
// same figure on Windows and a true one under Wine.
SIZE_T private_bytes() {
  PROCESS_MEMORY_COUNTERS pmc = {};
  pmc.cb = sizeof pmc;
  GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
  return pmc.PagefileUsage;
}

class SoundModule : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(g_api, nullptr);
    ASSERT_NE(g_api->module, nullptr);
    ASSERT_TRUE(g_api->BindAll().empty());
    api_ = *g_api;
  }
  void TearDown() override { api_.TerminateDS(); }

  // The game's start-up: init, the two settings, 12 effects and the music.
  int StartLikeTheGame(int effects[12], int* music) {
    api_.Init(nullptr);
    int sum = api_.SetReadBufferSize(500) + api_.SetSoundBufferSec(0.1f);
    for (int i = 0; i < 12; ++i) sum += api_.CreateEffectFromTfa(&effects[i], kEffects[i].title, Archive());
    sum += api_.CreateStreamFromTfa(music, "BGM1.ogg", Archive());
    return sum;
  }
  TamSoundStatus Status(int handle) {
    TamSoundStatus st = {};
    EXPECT_EQ(api_.GetStatus(handle, &st), 0);
    return st;
  }
  bool Device(int handle) { return Status(handle).device == 1; }
  static const char* Archive() { return g_archive->c_str(); }

  SoundApi api_;
};

TEST(ModulesLoadByName, All23NamesBind) {
  ASSERT_NE(g_api, nullptr);
  const std::vector<std::string> missing = g_api->BindAll();
  EXPECT_TRUE(missing.empty()) << "missing: " << (missing.empty() ? "" : missing.front());
  HMODULE joy = LoadLibraryA("tamDIJoy.dll");
  ASSERT_NE(joy, nullptr) << "tamDIJoy.dll did not load";
  for (const char* name : {"dllInit", "dllGetJoyBtn", "dllGetJoyXY", "dllGetJoy", "dllTerminateDI"}) {
    EXPECT_NE(GetProcAddress(joy, name), nullptr) << name;
  }
  FreeLibrary(joy);
}

TEST_F(SoundModule, TheSetUpGivesTheDeviceItPromises) {
  int handle = 0;
  api_.Init(nullptr);
  ASSERT_EQ(api_.CreateVoid(&handle), 0);
  const int expected = expected_device();
  if (expected >= 0) {
    EXPECT_EQ(Status(handle).device, expected);
  }
  std::printf("sound device: %s\n", Status(handle).device ? "DirectSound" : "none (silent)");
}

TEST_F(SoundModule, StartsPlaysSwapsAndStopsLikeTheGame) {
  int fx[12] = {};
  int music = 0;
  ASSERT_EQ(StartLikeTheGame(fx, &music), 0);
  EXPECT_EQ(Status(music).kind, 2);
  EXPECT_EQ(Status(music).frames, 132300);
  for (int h : fx) EXPECT_EQ(Status(h).kind, 1);
  const bool device = Device(music);

  EXPECT_EQ(api_.PlayLoop(music), 0);
  for (int frame = 0; frame < 30; ++frame) {  // half a second of frames, some effects every frame
    EXPECT_EQ(api_.Play(fx[frame % 12]), 0);
    EXPECT_EQ(api_.Play(fx[0]), 0);
    Sleep(16);
  }
  TamSoundStatus st = Status(music);
  EXPECT_EQ(st.playing, 1);
  EXPECT_EQ(st.looping, 1);
  if (device) {
    EXPECT_GT(st.played, 0) << "the refill thread saw the cursor move";
    EXPECT_GE(st.written, st.played);
    EXPECT_LE(st.written - st.played, 17640) << "never more than the 0.1 s ring ahead";
  }

  // pick_music: re-create in place (here while playing), then loop it.
  ASSERT_EQ(api_.ReCreateStreamFromTfa(music, "BGM2.ogg", Archive()), 0);
  st = Status(music);
  EXPECT_EQ(st.frames, 11025);
  EXPECT_EQ(st.channels, 1);
  EXPECT_EQ(st.playing, 1) << "a playing handle goes on with the new piece";
  EXPECT_EQ(st.looping, 1);
  EXPECT_EQ(api_.PlayLoop(music), 0);

  // The time bonus: a looped effect, stopped later; the music stopped at the goal.
  EXPECT_EQ(api_.Stop(music), 0);
  EXPECT_EQ(Status(music).playing, 0);
  EXPECT_EQ(api_.PlayLoop(fx[11]), 0);
  Sleep(100);
  EXPECT_EQ(Status(fx[11]).playing, 1);
  EXPECT_EQ(api_.Stop(fx[11]), 0);
  EXPECT_EQ(Status(fx[11]).playing, 0);

  EXPECT_EQ(api_.TerminateDS(), 0);
  EXPECT_EQ(api_.Play(fx[0]), TAMSOUND_E_ARGUMENT);
  EXPECT_EQ(api_.Stop(music), TAMSOUND_E_ARGUMENT);
  EXPECT_EQ(api_.ReCreateStreamFromTfa(music, "BGM1.ogg", Archive()), TAMSOUND_E_ARGUMENT);
  int h = -4;
  EXPECT_EQ(api_.CreateVoid(&h), TAMSOUND_E_ARGUMENT);
  EXPECT_EQ(h, -4);
  EXPECT_EQ(api_.TerminateDS(), 0);
}

TEST_F(SoundModule, MissingOrDamagedDataFailsCreationWithOrWithoutADevice) {
  api_.Init(nullptr);
  struct Case {
    const char* name;
    const char* archive;
    int result;
  };
  const Case cases[] = {
      {"nothere.ogg", g_archive->c_str(), TAMSOUND_E_NOT_FOUND},
      {"text.ogg", g_archive->c_str(), TAMSOUND_E_BAD_DATA},
      {"cut.ogg", g_archive->c_str(), TAMSOUND_E_BAD_DATA},
      {"BGM1.ogg", "no_such_archive.tfa", TAMSOUND_E_NOT_FOUND},
      {"BGM1.ogg", nullptr, TAMSOUND_E_ARGUMENT},
      {nullptr, g_archive->c_str(), TAMSOUND_E_ARGUMENT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name ? c.name : "(null)");
    int h = -4;
    EXPECT_EQ(api_.CreateEffectFromTfa(&h, c.name, c.archive), c.result);
    EXPECT_EQ(api_.CreateStreamFromTfa(&h, c.name, c.archive), c.result);
    EXPECT_EQ(h, -4);
  }
  int h = 0;
  ASSERT_EQ(api_.CreateStreamFromTfa(&h, "BGM1.ogg", Archive()), 0);
  EXPECT_EQ(api_.ReCreateStreamFromTfa(h, "cut.ogg", Archive()), TAMSOUND_E_BAD_DATA);
  EXPECT_EQ(Status(h).kind, 0) << "left silent";
  EXPECT_EQ(api_.PlayLoop(h), 0);
  EXPECT_EQ(api_.Play(12345), TAMSOUND_E_ARGUMENT);
  EXPECT_EQ(api_.Stop(-1), TAMSOUND_E_ARGUMENT);
  EXPECT_EQ(api_.ReCreateEffectFromTfa(777777, "Break.ogg", Archive()), TAMSOUND_E_ARGUMENT);
}

TEST_F(SoundModule, LooseFilesAndVolumeWork) {
  api_.Init(nullptr);
  const std::string file = std::string(TORV_OGG_FIXTURES) + "/tone440_m22_500ms.ogg";
  int fx = 0, bgm = 0, v = 0;
  ASSERT_EQ(api_.CreateEffect(&fx, file.c_str()), 0);
  ASSERT_EQ(api_.CreateStream(&bgm, file.c_str()), 0);
  ASSERT_EQ(api_.CreateVoid(&v), 0);
  EXPECT_EQ(api_.ReCreateEffect(v, file.c_str()), 0);
  EXPECT_EQ(Status(v).kind, 1);
  EXPECT_EQ(api_.ReCreateStream(v, file.c_str()), 0);
  EXPECT_EQ(Status(v).kind, 2);
  EXPECT_EQ(api_.SetVolume(fx, 40), 0);
  EXPECT_EQ(api_.SetVolume(fx, 101), TAMSOUND_E_ARGUMENT);
  EXPECT_EQ(Status(fx).volume, 40);
  EXPECT_EQ(api_.Play(fx), 0);
  EXPECT_EQ(api_.ClearAllBuffer(), 0);
  EXPECT_EQ(api_.Play(fx), TAMSOUND_E_ARGUMENT);
}

TEST_F(SoundModule, LoopedMusicStreamsAcrossItsSeamInRealTime) {
  api_.Init(nullptr);
  // A quarter-second ring: the test is about the seams, and a shared CI machine may
  // hold the refill thread up for longer than the game's 0.1 s now and then.
  ASSERT_EQ(api_.SetSoundBufferSec(0.25f), 0);
  ASSERT_EQ(api_.SetReadBufferSize(1000), 0);
  int music = 0;
  ASSERT_EQ(api_.CreateStreamFromTfa(&music, "BGM2.ogg", Archive()), 0);  // 0.5 s, 22050 bytes
  ASSERT_EQ(api_.PlayLoop(music), 0);
  Sleep(1600);
  const TamSoundStatus st = Status(music);
  EXPECT_EQ(st.playing, 1);
  if (st.device) {
    // Three times the piece went by; the ring (11026 bytes) was refilled all along
    // and the decoder went back to the start at each seam.
    EXPECT_GE(st.seams, 2);
    EXPECT_GE(st.played, 22050 * 3 / 2);
    EXPECT_GE(st.written, st.played);
    EXPECT_LE(st.written - st.played, 11026);
    EXPECT_EQ(st.pcm_held, 11026 + 1000) << "the ring and one decode step, not the piece";
  } else {
    EXPECT_EQ(st.played, 0) << "nothing plays without a device";
    EXPECT_EQ(st.pcm_held, 0);
  }
}

TEST_F(SoundModule, SoundsPlayedOnceEndByThemselves) {
  api_.Init(nullptr);
  int music = 0, fx = 0;
  ASSERT_EQ(api_.CreateStreamFromTfa(&music, "BGM2.ogg", Archive()), 0);  // 0.5 s
  ASSERT_EQ(api_.CreateEffectFromTfa(&fx, "Break.ogg", Archive()), 0);    // 0.5 s
  if (!Device(music)) GTEST_SKIP() << "no device: nothing plays, so nothing ends";
  ASSERT_EQ(api_.Play(music), 0);
  ASSERT_EQ(api_.Play(fx), 0);
  EXPECT_EQ(Status(fx).playing, 1);
  bool music_ended = false, fx_ended = false;
  for (int i = 0; i < 300 && !(music_ended && fx_ended); ++i) {  // up to 3 s for half a second of sound
    Sleep(10);
    music_ended = Status(music).playing == 0;
    fx_ended = Status(fx).playing == 0;
  }
  EXPECT_TRUE(music_ended);
  EXPECT_TRUE(fx_ended);
  const TamSoundStatus st = Status(music);
  EXPECT_EQ(st.seams, 0);
  EXPECT_GE(st.played, 22050);

  ASSERT_EQ(api_.PlayLoop(fx), 0);
  Sleep(800);
  EXPECT_EQ(Status(fx).playing, 1) << "a looped effect goes on past its end";
  ASSERT_EQ(api_.Play(fx), 0);  // restarts, and now ends
  fx_ended = false;
  for (int i = 0; i < 300 && !fx_ended; ++i) {
    Sleep(10);
    fx_ended = Status(fx).playing == 0;
  }
  EXPECT_TRUE(fx_ended);
}

TEST_F(SoundModule, TerminateEndsTheModulesThreadsAndCanBeRepeated) {
  // Settle whatever the sound system starts once per process.
  api_.Init(nullptr);
  api_.TerminateDS();
  const int settled = thread_count();
  for (int cycle = 0; cycle < 5; ++cycle) {
    api_.Init(nullptr);
    int music = 0;
    ASSERT_EQ(api_.CreateStreamFromTfa(&music, "BGM1.ogg", Archive()), 0);
    ASSERT_EQ(api_.PlayLoop(music), 0);
    Sleep(50);
    if (Device(music)) {
      EXPECT_GT(thread_count(), settled) << "the refill thread runs";
    } else {
      EXPECT_EQ(thread_count(), settled) << "no device, no thread";
    }
    EXPECT_EQ(api_.TerminateDS(), 0);
    EXPECT_EQ(thread_count(), settled) << "cycle " << cycle;
  }
}

TEST_F(SoundModule, ThousandsOfCreatesPlaysAndReCreatesKeepHandlesThreadsAndMemoryFlat) {
  int fx[12] = {};
  int music = 0;
  auto iterate = [&](int i) {
    ASSERT_EQ(api_.ReCreateStreamFromTfa(music, kMusic[i % 3].title, Archive()), 0);
    ASSERT_EQ(api_.PlayLoop(music), 0);
    ASSERT_EQ(api_.ReCreateEffectFromTfa(fx[i % 12], kEffects[(i + 1) % 12].title, Archive()), 0);
    ASSERT_EQ(api_.Play(fx[i % 12]), 0);
    ASSERT_EQ(api_.Play(fx[(i + 5) % 12]), 0);
    int extra = 0;
    ASSERT_EQ(api_.CreateEffectFromTfa(&extra, "ded.ogg", Archive()), 0);
    ASSERT_EQ(api_.Play(extra), 0);
    if (i % 50 == 49) {  // the extras pile up, then go all at once
      ASSERT_EQ(api_.ClearAllBuffer(), 0);
      ASSERT_EQ(StartLikeTheGame(fx, &music), 0);
    }
    if (i % 400 == 399) {  // and now and then the whole module restarts
      ASSERT_EQ(api_.TerminateDS(), 0);
      ASSERT_EQ(StartLikeTheGame(fx, &music), 0);
    }
  };
  ASSERT_EQ(StartLikeTheGame(fx, &music), 0);
  for (int i = 0; i < 250; ++i) {
    iterate(i);
    if (HasFatalFailure()) return;
  }
  const int handles = handle_count();
  const int threads = thread_count();
  const SIZE_T bytes = private_bytes();
  for (int i = 250; i < 2000; ++i) {
    iterate(i);
    if (HasFatalFailure()) return;
  }
  const int handles_after = handle_count();
  const int threads_after = thread_count();
  const SIZE_T bytes_after = private_bytes();
  std::printf("after 250 rounds: %d handles, %d threads, %lu KiB; after 2000: %d, %d, %lu KiB\n", handles,
              threads, static_cast<unsigned long>(bytes / 1024), handles_after, threads_after,
              static_cast<unsigned long>(bytes_after / 1024));
  ASSERT_GT(handles, 0) << "the handle count could not be read";
  ASSERT_GT(bytes, 0u) << "the memory figure could not be read";
  EXPECT_LE(handles_after, handles + 8);
  EXPECT_EQ(threads_after, threads);
  // Each round makes an effect of 4000 bytes of PCM: 1750 rounds leaking it would
  // pass 6 MiB.
  EXPECT_LT(bytes_after, bytes + 2 * 1024 * 1024);
}

}  // namespace
