#pragma once
// The text the edit benchmarks share: about 60 characters a line, words of 2 to 9 letters, the
// same for every seed-1 run. Lines are joined by Break (CR LF for Kestrel, LF for the peers).

#include <cstddef>
#include <random>
#include <string>

namespace kestrel::bench {

template <typename Char>
std::basic_string<Char> MakeEditBenchText(int lines, const std::basic_string<Char>& lineBreak) {
  std::mt19937 random(1);
  std::basic_string<Char> text;
  text.reserve(static_cast<size_t>(lines) * 62);
  for (int i = 0; i < lines; ++i) {
    const int target = 30 + static_cast<int>(random() % 60);
    int length = 0;
    while (length < target) {
      const int word = 2 + static_cast<int>(random() % 8);
      text.append(static_cast<size_t>(word), static_cast<Char>('a' + random() % 26));
      text += static_cast<Char>(' ');
      length += word + 1;
    }
    if (i + 1 < lines) text += lineBreak;
  }
  return text;
}

}  // namespace kestrel::bench
