// The least a program using the C++ run-time library does: load it and print
// a line, as `quorvane-eos --version` does after parsing its options.
#include <iostream>

int main() {
  std::cout << "6.0.0\n";
}
