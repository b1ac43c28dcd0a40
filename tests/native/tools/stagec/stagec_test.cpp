#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <unistd.h>
#include <string>
#include <vector>

#include "tests/native/data/stage_reader.h"
#include "tools/contentkit/image.h"
#include "tools/stagec/stage_file.h"
#include "tools/stagec/stage_legend.h"
#include "tools/stagec/stage_overview.h"
#include "tools/stagec/stage_source.h"

namespace {

// A text stage: header lines, then the map (120 rows of 200 '.' unless changed).
struct Fixture {
  std::vector<std::string> header = {"title: 草原 1", "background: 2", "start: 3 110", "time: 300", "next: 0002"};
  std::vector<std::string> map = std::vector<std::string>(120, std::string(200, '.'));
  std::string text() const {
    std::string t;
    for (const std::string& h : header) t += h + "\n";
    t += "map:\n";
    for (const std::string& m : map) t += m + "\n";
    return t;
  }
};

std::string parse(const Fixture& f, stagec::Stage& out) { return stagec::parse_stage(f.text(), "s.txt", out); }

TEST(StageSource, EveryLegendCharacterRoundTripsThroughTheStageFile) {
  Fixture f;
  f.map[111][3] = '=';  // floor under the start cell
  // Each legend entry once, on row 5, column = its index; the last row gets a pattern
  // that tells columns apart.
  const auto& legend = stagec::legend();
  for (size_t i = 0; i < legend.size(); ++i) f.map[5][i] = legend[i].symbol;
  f.map[119][199] = 'B';
  f.map[0][0] = 'G';
  stagec::Stage stage;
  ASSERT_EQ(parse(f, stage), "");
  const std::vector<uint8_t> bytes = stagec::encode_stage(stage);

  stage_test::StageFile back;
  ASSERT_EQ(stage_test::read_stage(bytes.data(), bytes.size(), back), "");
  EXPECT_EQ(back.title, "\x91\x90\x8C\xB4 1");  // 草原 in Shift-JIS, then " 1"
  EXPECT_EQ(back.background, 2);
  EXPECT_EQ(back.start_column, 3);
  EXPECT_EQ(back.start_row, 110);
  EXPECT_EQ(back.time_seconds, 300);
  EXPECT_EQ(back.next, "0002");
  for (size_t i = 0; i < legend.size(); ++i) EXPECT_EQ(back.tile(static_cast<int>(i), 5), legend[i].code) << legend[i].symbol;
  EXPECT_EQ(back.tile(0, 0), 34);
  EXPECT_EQ(back.tile(199, 119), 37);
  EXPECT_EQ(back.tile(3, 111), 2);
  EXPECT_EQ(back.tile(1, 0), 0);
  // Column-major: the byte after column 0's 120 rows is column 1, row 0.
  EXPECT_EQ(bytes.size(), 6u + 4 + 6 + 16 + 4 + 4 + 24000u);
  EXPECT_EQ(bytes[bytes.size() - 1], 37);
  EXPECT_EQ(bytes[bytes.size() - 24000], 34);
}

TEST(StageSource, HeaderBytesFollowTheFormat) {
  Fixture f;
  f.header[0] = "title: AB";
  f.header[4] = "next: end";
  stagec::Stage stage;
  ASSERT_EQ(parse(f, stage), "");
  const std::vector<uint8_t> b = stagec::encode_stage(stage);
  const std::vector<uint8_t> head = {'T', 'O', 'R', 'V', 0xB8, 0x0B,       // version 3000
                                     2, 0, 0, 0, 0xBE, 0xBD,               // "AB" complemented
                                     2, 0, 0, 0, 3, 0, 0, 0, 110, 0, 0, 0, // background, column, row
                                     0x2C, 0x01, 0, 0,                     // 300 seconds
                                     3, 0, 0, 0, 0x9A, 0x91, 0x9B};        // "end" complemented
  ASSERT_GE(b.size(), head.size());
  EXPECT_EQ(std::vector<uint8_t>(b.begin(), b.begin() + static_cast<long>(head.size())), head);
}

struct ErrorCase {
  const char* what;
  void (*change)(Fixture&);
  const char* expected;  // a part of the message, position included
};

const ErrorCase kErrors[] = {
    {"unknown map character", [](Fixture& f) { f.map[4][17] = 'q'; }, "s.txt:11:18: unknown map character 'q'"},
    {"short map line", [](Fixture& f) { f.map[0].pop_back(); }, "s.txt:7:200: map line is 199 characters long, not 200"},
    {"long map line", [](Fixture& f) { f.map[2] += "."; }, "s.txt:9:201: map line is 201 characters long"},
    {"too few map lines", [](Fixture& f) { f.map.pop_back(); }, "the map has 119 lines, not 120"},
    {"too many map lines", [](Fixture& f) { f.map.push_back(std::string(200, '.')); }, "s.txt:127:1: the map has more than 120 lines"},
    {"missing time", [](Fixture& f) { f.header.erase(f.header.begin() + 3); }, "missing header field \"time\""},
    {"missing title", [](Fixture& f) { f.header.erase(f.header.begin()); }, "missing header field \"title\""},
    {"no map line", [](Fixture& f) { f.map.clear(); }, "the map has 0 lines"},
    {"title too wide", [](Fixture& f) { f.header[0] = "title: あいうえおかきくけこさしすせそたちつてとなにぬねのはひふ"; },
     "s.txt:1:8: the title is 56 columns wide; the status bar fits 54"},
    {"title not in Shift-JIS", [](Fixture& f) { f.header[0] = "title: 🙂"; }, "s.txt:1:8: the title has a character that Shift-JIS cannot hold"},
    {"empty title", [](Fixture& f) { f.header[0] = "title:"; }, "the title is empty"},
    {"start outside", [](Fixture& f) { f.header[2] = "start: 200 5"; }, "s.txt:3:8: start cell is outside"},
    {"start malformed", [](Fixture& f) { f.header[2] = "start: 3"; }, "start wants a column and a row"},
    {"start in a block", [](Fixture& f) { f.map[110][3] = '#'; }, "s.txt:3: the start cell holds '#'"},
    {"start on a marker", [](Fixture& f) { f.map[110][3] = 's'; }, "the start cell holds 's'"},
    {"time zero", [](Fixture& f) { f.header[3] = "time: 0"; }, "time wants seconds from 1 to 999"},
    {"time four digits", [](Fixture& f) { f.header[3] = "time: 1000"; }, "time wants seconds from 1 to 999"},
    {"time not a number", [](Fixture& f) { f.header[3] = "time: 3x"; }, "time wants seconds"},
    {"bad next name", [](Fixture& f) { f.header[4] = "next: ../x"; }, "s.txt:5:7: next wants a base name"},
    {"negative background", [](Fixture& f) { f.header[1] = "background: -1"; }, "background wants a number"},
    {"duplicate field", [](Fixture& f) { f.header.push_back("time: 20"); }, "s.txt:6:1: \"time\" given twice (first on line 4)"},
    {"unknown field", [](Fixture& f) { f.header.push_back("music: 3"); }, "unknown header field \"music\""},
    {"not key value", [](Fixture& f) { f.header.push_back("oops"); }, "s.txt:6:1: expected \"key: value\""},
};

TEST(StageSource, ErrorsNameTheLineAndColumn) {
  for (const ErrorCase& c : kErrors) {
    Fixture f;
    c.change(f);
    stagec::Stage stage;
    const std::string e = parse(f, stage);
    EXPECT_NE(e.find(c.expected), std::string::npos) << c.what << ": got \"" << e << "\"";
  }
}

TEST(StageSource, CommentsAndBlankLinesInTheHeaderAreSkipped) {
  Fixture f;
  f.header.insert(f.header.begin(), "; a comment");
  f.header.insert(f.header.begin() + 2, "");
  stagec::Stage stage;
  EXPECT_EQ(parse(f, stage), "");
  EXPECT_EQ(stage.time_seconds, 300);
}

TEST(StageSource, ShiftJisWidthCountsDoubleByteCharactersTwice) {
  struct Case {
    const char* sjis;
    int columns;
  } cases[] = {{"", 0}, {"abc", 3}, {"\x91\x90\x8C\xB4", 4}, {"\x91\x90x", 3}, {"\xB1\xB2", 2}, {"\x95\x5C", 2}};
  for (const Case& c : cases) EXPECT_EQ(stagec::sjis_columns(c.sjis), c.columns) << c.sjis;
}

TEST(StageLegend, SymbolsAndCodesAreOneToOneOverAllCodes) {
  for (int code = 0; code <= 40; ++code) {
    const stagec::LegendEntry* e = stagec::find_code(code);
    ASSERT_NE(e, nullptr) << code;
    EXPECT_EQ(stagec::find_symbol(e->symbol), e) << code;
  }
  EXPECT_EQ(stagec::legend().size(), 41u);
  EXPECT_EQ(stagec::find_symbol(' '), nullptr);
}

// The overview draws real images where the game would: tiles at their cell, slimes
// 12 pixels down, the player 4 pixels into the start cell, the background at half
// scale.
TEST(StageOverview, UsedRowsReachUpToTheStartCellWhenNothingIsHigher) {
  Fixture f;
  f.header[2] = "start: 3 60";
  f.map[61][3] = '=';
  stagec::Stage stage;
  ASSERT_EQ(parse(f, stage), "");
  int first = -1, last = -1;
  stagec::used_rows(stage, first, last);
  EXPECT_EQ(first, 58);
  EXPECT_EQ(last, 119);
}

TEST(StageOverview, DrawsImagesWhereTheGameWould) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("stagec_overview_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  auto solid = [&](const std::string& name, int w, int h, contentkit::Rgba c) {
    ASSERT_EQ(contentkit::write_png((dir / name).string(), contentkit::Image(w, h, c), true), "");
  };
  contentkit::Image bg(2720, 1656, contentkit::Rgba{0, 0, 200, 255});
  bg.at(100, 50) = contentkit::Rgba{1, 2, 3, 255};
  ASSERT_EQ(contentkit::write_png((dir / "2.png").string(), bg, false), "");
  solid("br0124.png", 24, 24, {200, 0, 0, 255});
  solid("slim01.png", 24, 11, {0, 200, 0, 255});
  solid("---0.png", 16, 16, {250, 250, 0, 255});

  Fixture f;
  f.map[10][20] = '#';
  f.map[30][40] = 's';
  stagec::Stage stage;
  ASSERT_EQ(parse(f, stage), "");
  contentkit::Image img;
  ASSERT_EQ(stagec::render_overview(stage, dir.string(), img), "");
  EXPECT_EQ(img.width(), 4800);
  EXPECT_EQ(img.height(), 2880);
  EXPECT_EQ(img.at(20 * 24, 10 * 24), (contentkit::Rgba{200, 0, 0, 255}));
  EXPECT_EQ(img.at(20 * 24 + 23, 10 * 24 + 23), (contentkit::Rgba{200, 0, 0, 255}));
  EXPECT_EQ(img.at(40 * 24, 30 * 24 + 11), (contentkit::Rgba{0, 0, 200, 255}));  // above the slime
  EXPECT_EQ(img.at(40 * 24, 30 * 24 + 12), (contentkit::Rgba{0, 200, 0, 255}));
  EXPECT_EQ(img.at(40 * 24, 30 * 24 + 22), (contentkit::Rgba{0, 200, 0, 255}));
  EXPECT_EQ(img.at(3 * 24 + 4, 110 * 24 + 4), (contentkit::Rgba{250, 250, 0, 255}));
  EXPECT_EQ(img.at(3 * 24 + 3, 110 * 24 + 4), (contentkit::Rgba{0, 0, 200, 255}));
  EXPECT_EQ(img.at(200, 100), (contentkit::Rgba{1, 2, 3, 255}));
  EXPECT_EQ(img.at(201, 101), (contentkit::Rgba{1, 2, 3, 255}));

  // Cropping keeps two rows above the highest used cell: here the tile at row 10.
  int first = -1, last = -1;
  stagec::used_rows(stage, first, last);
  EXPECT_EQ(first, 8);
  EXPECT_EQ(last, 119);

  // A missing image is named in the error.
  f.map[50][50] = 'G';
  ASSERT_EQ(parse(f, stage), "");
  const std::string e = stagec::render_overview(stage, dir.string(), img);
  EXPECT_NE(e.find("goal.png"), std::string::npos) << e;
  fs::remove_all(dir);
}

}  // namespace
