// Reading the text sources of the content tools: whole files, lines, words with
// their columns, and "file:line:column: message" errors.
#pragma once

#include <string>
#include <vector>

namespace contentkit {

// Reads a whole file; false when it cannot be read.
bool read_text_file(const std::string& path, std::string& out);
// Writes a whole file through a side file, so a failure leaves no partial output.
// "" or a message.
std::string write_binary_file(const std::string& path, const std::string& bytes);

// Lines without their "\n" or "\r\n".
std::vector<std::string> split_lines(const std::string& text);

struct Word {
  std::string text;
  int column;  // 1-based
};
// Words separated by spaces or tabs.
std::vector<Word> split_words(const std::string& line);

bool is_blank(const std::string& line);

// "file:line:column: " (column 0 leaves the column out).
std::string where(const std::string& file, int line, int column);

// Parses a whole decimal int (optional sign); false on anything else or overflow.
bool parse_int(const std::string& text, int& out);
// Parses a whole decimal number; false on anything else.
bool parse_double(const std::string& text, double& out);

}  // namespace contentkit
