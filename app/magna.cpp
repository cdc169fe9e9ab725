// Magna's entry point.
#include <cstdio>

int main() {
  std::fputs("Magna: the main window comes with a later step of the build; "
             "run scripts/test.sh to test what exists.\n", stderr);
  return 0;
}
