// Builds an archive from fuzzed members, writes it, reads it back and compares:
// every member the writer took comes back under its title with its bytes, by index
// and by title (the first of equal titles, compared without regard to ASCII case),
// and saved to a loose file. The input is a series of members, each:
//   1 byte title length t, t title bytes, 1 byte seed, 2 bytes payload length n
//   (little-endian), n payload bytes
// cut short wherever the input ends.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "archive/tam_archive_create.h"
#include "archive/tam_archive_expand.h"
#include "common/portable.h"
#include "scratch_file.h"

namespace {

struct Member {
  std::string title;
  std::vector<unsigned char> payload;
};

std::vector<Member> members_of(const uint8_t* data, size_t size) {
  std::vector<Member> members;
  size_t at = 0;
  while (at < size) {
    Member m;
    const size_t t = data[at++];
    const size_t title_end = at + t < size ? at + t : size;
    m.title.assign(reinterpret_cast<const char*>(data + at), title_end - at);
    at = title_end;
    const uint8_t seed = at < size ? data[at++] : 0;
    size_t n = at < size ? data[at++] : 0;
    n |= (at < size ? size_t{data[at++]} : 0) << 8;
    const size_t payload_end = at + n < size ? at + n : size;
    m.payload.assign(data + at, data + payload_end);
    at = payload_end;
    m.payload.push_back(seed);  // the seed rides at the end until the member is added
    members.push_back(std::move(m));
  }
  return members;
}

std::vector<unsigned char> file_bytes(const std::string& path) {
  std::vector<unsigned char> bytes;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) std::abort();
  int c;
  while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<unsigned char>(c));
  std::fclose(f);
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const fuzz::ScratchFile archive("fuzz_archive_round_trip");
  static const fuzz::ScratchFile member_file("fuzz_archive_round_trip_member");
  CTamArchiveCreate writer;
  std::vector<Member> taken;
  for (Member& m : members_of(data, size)) {
    const uint8_t seed = m.payload.back();
    m.payload.pop_back();
    const int len = static_cast<int>(m.payload.size());
    const int rc = writer.AddMemory(m.payload.data(), len, m.title.c_str(), seed);
    // A title is a C string: it ends at its first zero byte.
    m.title.resize(std::strlen(m.title.c_str()));
    const bool valid = !m.title.empty() && m.title.size() <= 255;
    if ((rc == 0) != valid) std::abort();
    if (rc == 0) taken.push_back(std::move(m));
  }
  if (writer.GetCount() != static_cast<int>(taken.size())) std::abort();
  if (writer.SaveArchive(archive.c_str()) != 0) {
    if (!taken.empty()) std::abort();
    return 0;
  }

  CTamArchiveExpand reader;
  if (reader.OpenArchive(archive.c_str()) != 0 || reader.GetDataCount() != static_cast<int>(taken.size()))
    std::abort();
  for (size_t i = 0; i < taken.size(); ++i) {
    const Member& m = taken[i];
    const int index = static_cast<int>(i);
    if (m.title != reader.GetFileTitle(index) || reader.GetDataSize(index) != static_cast<int>(m.payload.size()))
      std::abort();
    unsigned char* payload = nullptr;
    const int n = reader.GetMemory(index, &payload);
    if (n != static_cast<int>(m.payload.size()) || (n > 0 && std::memcmp(payload, m.payload.data(), n) != 0))
      std::abort();
    // By title: the first member whose title matches.
    size_t first = 0;
    while (torv::ascii_stricmp(taken[first].title.c_str(), m.title.c_str()) != 0) ++first;
    const int by_title = reader.GetMemory(m.title.c_str(), &payload);
    const std::vector<unsigned char>& expected = taken[first].payload;
    if (by_title != static_cast<int>(expected.size()) ||
        (by_title > 0 && std::memcmp(payload, expected.data(), expected.size()) != 0))
      std::abort();
    if (reader.SaveFile(index, member_file.c_str()) != 0 || file_bytes(member_file.path()) != m.payload) std::abort();
  }
  return 0;
}
