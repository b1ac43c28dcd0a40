// Runs the built tfa program and checks its exit status, messages and files.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "archive_test_util.h"

namespace {

using namespace archive_test;

struct Result {
  int status;
  std::string out, err;
};

class Tfa : public ::testing::Test {
protected:
  void SetUp() override {
    write_file(dir / "a.txt", text_bytes("alpha"));
    write_file(dir / "B.bin", random_bytes(3000, 2));
    write_file(dir / "empty", {});
    write_file(dir / "good.tfa", build_archive({{"a.txt", text_bytes("alpha"), 1}, {"B.bin", random_bytes(3000, 2), 2}}));
    Bytes damaged = build_archive({{"a.txt", text_bytes("alpha"), 1}, {"B.bin", random_bytes(3000, 2), 2}});
    put32(damaged, entry_at(1) + 4, static_cast<int32_t>(damaged.size()));
    write_file(dir / "damaged.tfa", damaged);
    write_file(dir / "text.txt", text_bytes("hello world, this is not an archive"));
  }

  Result tfa(const std::vector<std::string>& args) {
    std::string command = TFA_PATH;
    for (const std::string& a : args) command += " '" + a + "'";
    command += " >'" + (dir / "stdout") + "' 2>'" + (dir / "stderr") + "'";
    const int raw = std::system(command.c_str());
    Result r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, "", ""};
    const Bytes out = read_file(dir / "stdout");
    const Bytes err = read_file(dir / "stderr");
    r.out.assign(out.begin(), out.end());
    r.err.assign(err.begin(), err.end());
    return r;
  }

  ScratchDir dir;
};

TEST_F(Tfa, ReportsEachFailureOnOneLineWithStatusOne) {
  struct Case {
    std::vector<std::string> args;
    std::string message;  // expected in stderr
  };
  const std::string d = dir.path();
  const Case cases[] = {
      {{}, "usage: tfa"},
      {{"frobnicate", d + "/good.tfa"}, "usage: tfa"},
      {{"list"}, "usage: tfa"},
      {{"list", d + "/good.tfa", "extra"}, "usage: tfa"},
      {{"pack", d + "/new.tfa"}, "usage: tfa"},
      {{"extract", d + "/good.tfa", "a.txt"}, "usage: tfa"},
      {{"list", d + "/missing.tfa"}, "tfa: '" + d + "/missing.tfa': cannot read: No such file or directory\n"},
      {{"list", d}, "tfa: '" + d + "': cannot read: not a regular file\n"},
      {{"list", d + "/text.txt"}, "tfa: '" + d + "/text.txt': not an archive (bad header or directory)\n"},
      {{"list", d + "/damaged.tfa"}, "tfa: '" + d + "/damaged.tfa': member 1 lies outside the file (damaged directory)\n"},
      {{"extract", d + "/good.tfa", "nosuch", d + "/x"}, "tfa: '" + d + "/good.tfa': no member 'nosuch'\n"},
      {{"extract", d + "/damaged.tfa", "b.bin", d + "/x"}, "member 1 lies outside the file (damaged directory)\n"},
      {{"extract", d + "/good.tfa", "a.txt", d + "/no/dir/x"}, "tfa: '" + d + "/no/dir/x': cannot write\n"},
      {{"unpack", d + "/damaged.tfa", d + "/x"}, "(damaged directory)\n"},
      {{"unpack", d + "/good.tfa", d + "/a.txt"}, "tfa: '" + d + "/a.txt': cannot create the directory\n"},
      {{"pack", d + "/x", d + "/a.txt", d + "/missing"}, "tfa: '" + d + "/missing': cannot read: No such file or directory\n"},
      {{"pack", d + "/x", d}, "tfa: '" + d + "': cannot read: not a regular file\n"},
      {{"pack", d + "/x", d + "/"}, "tfa: '" + d + "/': member name is empty\n"},
      {{"pack", d + "/x", d + "/" + std::string(256, 'n')}, "member name is longer than 255 bytes\n"},
      {{"pack", d + "/x", d + "/back\\slash"}, "member name contains a path separator\n"},
      {{"pack", d + "/no/dir/x", d + "/a.txt"}, "tfa: '" + d + "/no/dir/x': cannot write the archive\n"},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& a : c.args) shown += a + " ";
    const Result r = tfa(c.args);
    EXPECT_EQ(r.status, 1) << shown;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << shown << "\nstderr: " << r.err;
    EXPECT_EQ(r.out, "") << shown;
  }
  EXPECT_FALSE(file_exists(dir / "x"));  // no failed command left an archive or member behind
  EXPECT_FALSE(file_exists(dir / "new.tfa"));
}

TEST_F(Tfa, HelpGoesToStandardOutput) {
  const Result r = tfa({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("tfa unpack ARCHIVE DIR"), std::string::npos);
}

TEST_F(Tfa, PackListExtractAndUnpackRoundTrip) {
  ASSERT_EQ(tfa({"pack", dir / "out.tfa", dir / "a.txt", dir / "B.bin", dir / "empty"}).status, 0);

  const Result listed = tfa({"list", dir / "out.tfa"});
  EXPECT_EQ(listed.status, 0);
  EXPECT_EQ(listed.out, "0\t5\ta.txt\n1\t3000\tB.bin\n2\t0\tempty\n");
  EXPECT_EQ(listed.err, "");

  ASSERT_EQ(tfa({"extract", dir / "out.tfa", "b.BIN", dir / "b.copy"}).status, 0);
  EXPECT_EQ(read_file(dir / "b.copy"), read_file(dir / "B.bin"));

  ASSERT_EQ(tfa({"unpack", dir / "out.tfa", dir / "new/sub"}).status, 0);
  for (const char* name : {"a.txt", "B.bin", "empty"}) {
    ASSERT_TRUE(file_exists(dir / "new/sub/" + name)) << name;
    EXPECT_EQ(read_file(dir / "new/sub/" + name), read_file(dir / name)) << name;
  }
  // The archive the tool wrote is the format's layout of those members.
  const Bytes raw = read_file(dir / "out.tfa");
  EXPECT_EQ(raw, build_archive({{"a.txt", text_bytes("alpha"), raw[entry_at(3)]},
                                {"B.bin", read_file(dir / "B.bin"), raw[entry_at(3) + 6]},
                                {"empty", {}, raw[entry_at(3) + 6 + 3001]}}));
}

TEST_F(Tfa, UnpackNeverWritesOutsideTheDirectory) {
  const char* titles[] = {"../escape", "..", ".", "sub/inner", "dir\\inner", ""};
  std::filesystem::create_directory(dir / "target");
  for (const char* title : titles) {
    SCOPED_TRACE(title);
    write_file(dir / "evil.tfa", build_archive({{"fine.txt", text_bytes("ok"), 0}, {title, text_bytes("bad"), 0}}));
    const Result r = tfa({"unpack", dir / "evil.tfa", dir / "target"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("tfa: '" + (dir / "evil.tfa") + "': member 1 title"), std::string::npos) << r.err;
    EXPECT_TRUE(std::filesystem::is_empty(dir / "target"));  // checked before anything is written
  }
  EXPECT_FALSE(file_exists(dir / "escape"));
}

TEST_F(Tfa, UnpackKeepsTheFirstOfEqualTitles) {
  write_file(dir / "dup.tfa", build_archive({{"Same.txt", text_bytes("first"), 0}, {"SAME.TXT", text_bytes("second"), 0}}));
  const Result r = tfa({"unpack", dir / "dup.tfa", dir / "out"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("tfa: warning: member 1 'SAME.TXT' repeats an earlier title; skipped"), std::string::npos);
  EXPECT_EQ(read_file(dir / "out/Same.txt"), text_bytes("first"));
  EXPECT_FALSE(file_exists(dir / "out/SAME.TXT"));
}

}  // namespace
