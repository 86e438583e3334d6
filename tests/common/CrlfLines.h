#pragma once
// The lines of a text file whose every line, the last included, ends with CR LF.
#include <gtest/gtest.h>

#include <string>
#include <vector>

inline std::vector<std::string> crlfLinesOf(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(bytes.substr(start, end - start));
  EXPECT_EQ(start, bytes.size()) << "the last line must end with CR LF too";
  return lines;
}
