#pragma once
// One dead-key combination: the dead character, the character typed after it, and the character
// the two make together.

namespace kestrel {

class TKsDeadChar {
 public:
  constexpr TKsDeadChar(char16_t auxChar, char16_t baseChar, char16_t deadChar)
      : FAuxChar(auxChar), FBaseChar(baseChar), FDeadChar(deadChar) {}

  constexpr char16_t AuxChar() const { return FAuxChar; }
  constexpr char16_t BaseChar() const { return FBaseChar; }
  constexpr char16_t DeadChar() const { return FDeadChar; }

 private:
  char16_t FAuxChar;
  char16_t FBaseChar;
  char16_t FDeadChar;
};

}  // namespace kestrel
