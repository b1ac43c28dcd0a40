// tfa: builds, lists and unpacks ".tfa" archives from the command line with the
// archive library's reader and writer.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "archive/file_io.h"
#include "archive/tam_archive_create.h"
#include "archive/tam_archive_expand.h"
#include "common/portable.h"

namespace {

const char kUsage[] =
    "usage: tfa pack ARCHIVE FILE...          build ARCHIVE from the files, in order;\n"
    "                                         each member's title is the file's base name\n"
    "       tfa list ARCHIVE                  print index, payload size and title of each member\n"
    "       tfa extract ARCHIVE MEMBER DEST   write the member titled MEMBER (any case) to DEST\n"
    "       tfa unpack ARCHIVE DIR            write every member into DIR under its title\n"
    "exit status: 0 on success, 1 on any error or wrong usage\n";

int usage() {
  std::fputs(kUsage, stderr);
  return 1;
}

// Prints "tfa: <message>" on stderr and answers the failure status.
int fail(const std::string& message) {
  std::fprintf(stderr, "tfa: %s\n", message.c_str());
  return 1;
}

std::string quoted(const std::string& s) { return "'" + s + "'"; }

bool is_separator(char c) {
#ifdef _WIN32
  return c == '/' || c == '\\';
#else
  return c == '/';
#endif
}

std::string base_name(const std::string& path) {
  size_t start = path.size();
  while (start > 0 && !is_separator(path[start - 1])) --start;
  return path.substr(start);
}

// A title may become a file name inside a chosen directory: it must be one plain
// path component, so that no archive can write outside that directory.
const char* title_problem(const std::string& title) {
  if (title.empty()) return "is empty";
  if (title.size() >= static_cast<size_t>(torv::kArchiveTitleSize)) return "is longer than 255 bytes";
  if (title == "." || title == "..") return "is a relative directory name";
  for (char c : title) {
    if (c == '/' || c == '\\') return "contains a path separator";
#ifdef _WIN32
    if (c == ':') return "contains a drive separator";
#endif
  }
  return nullptr;
}

// Reads a regular file whole; on failure answers false with a reason.
bool read_file(const char* path, std::vector<unsigned char>& data, std::string& reason) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) {
    reason = std::strerror(errno);
    return false;
  }
  if (!torv::regular_file_readable(path)) {
    std::fclose(f);
    reason = "not a regular file";
    return false;
  }
  const int64_t length = torv::file_length(f);
  if (length < 0 || length > INT_MAX) {
    std::fclose(f);
    reason = "too large for an archive member";
    return false;
  }
  data.resize(static_cast<size_t>(length));
  const bool ok = std::fread(data.data(), 1, data.size(), f) == data.size();
  std::fclose(f);
  if (!ok) reason = "read error";
  return ok;
}

// Opens the archive, telling a missing file from one that is not an archive.
int open_archive(CTamArchiveExpand& reader, const char* path) {
  if (!torv::regular_file_readable(path)) {
    std::FILE* f = std::fopen(path, "rb");
    const std::string reason = f ? "not a regular file" : std::strerror(errno);
    if (f) std::fclose(f);
    return fail(quoted(path) + ": cannot read: " + reason);
  }
  if (reader.OpenArchive(path) != 0) return fail(quoted(path) + ": not an archive (bad header or directory)");
  return 0;
}

std::string damaged(const char* archive, int index) {
  return quoted(archive) + ": member " + std::to_string(index) + " lies outside the file (damaged directory)";
}

int pack(const char* archive, char** files, int count) {
  CTamArchiveCreate writer;
  for (int i = 0; i < count; ++i) {
    const std::string title = base_name(files[i]);
    if (const char* problem = title_problem(title)) return fail(quoted(files[i]) + ": member name " + problem);
    std::vector<unsigned char> data;
    std::string reason;
    if (!read_file(files[i], data, reason)) return fail(quoted(files[i]) + ": cannot read: " + reason);
    if (writer.AddMemory(data.data(), static_cast<int>(data.size()), title.c_str()) != 0)
      return fail(quoted(files[i]) + ": cannot add (out of memory)");
  }
  if (writer.SaveArchive(archive) != 0) return fail(quoted(archive) + ": cannot write the archive");
  return 0;
}

int list(const char* archive) {
  CTamArchiveExpand reader;
  if (open_archive(reader, archive) != 0) return 1;
  for (int i = 0; i < reader.GetDataCount(); ++i) {
    if (reader.GetDataSize(i) < 0) return fail(damaged(archive, i));
  }
  for (int i = 0; i < reader.GetDataCount(); ++i)
    std::printf("%d\t%d\t%s\n", i, reader.GetDataSize(i), reader.GetFileTitle(i));
  return 0;
}

int extract(const char* archive, const char* member, const char* dest) {
  CTamArchiveExpand reader;
  if (open_archive(reader, archive) != 0) return 1;
  const int index = reader.FindTitle(member);
  if (index < 0) return fail(quoted(archive) + ": no member " + quoted(member));
  if (reader.GetDataSize(index) < 0) return fail(damaged(archive, index));
  if (reader.SaveFile(index, dest) != 0) return fail(quoted(dest) + ": cannot write");
  return 0;
}

int unpack(const char* archive, const char* dir) {
  CTamArchiveExpand reader;
  if (open_archive(reader, archive) != 0) return 1;
  const int count = reader.GetDataCount();
  // Everything is checked before the first file is written.
  for (int i = 0; i < count; ++i) {
    if (const char* problem = title_problem(reader.GetFileTitle(i)))
      return fail(quoted(archive) + ": member " + std::to_string(i) + " title " + quoted(reader.GetFileTitle(i)) + " " +
                  problem);
    if (reader.GetDataSize(i) < 0) return fail(damaged(archive, i));
  }
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec || !std::filesystem::is_directory(dir, ec)) return fail(quoted(dir) + ": cannot create the directory");
  for (int i = 0; i < count; ++i) {
    const char* title = reader.GetFileTitle(i);
    // Lookup by title finds the first of equal titles, so that is the one to keep.
    if (reader.FindTitle(title) != i) {
      std::fprintf(stderr, "tfa: warning: member %d %s repeats an earlier title; skipped\n", i, quoted(title).c_str());
      continue;
    }
    const std::string dest = std::string(dir) + "/" + title;
    if (reader.SaveFile(i, dest.c_str()) != 0) return fail(quoted(dest) + ": cannot write");
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  const std::string command = argv[1];
  if (command == "-h" || command == "--help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (command == "pack" && argc >= 4) return pack(argv[2], argv + 3, argc - 3);
  if (command == "list" && argc == 3) return list(argv[2]);
  if (command == "extract" && argc == 5) return extract(argv[2], argv[3], argv[4]);
  if (command == "unpack" && argc == 4) return unpack(argv[2], argv[3]);
  return usage();
}
