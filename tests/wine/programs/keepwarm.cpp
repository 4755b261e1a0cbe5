// Keeps the wineserver of a test session busy so that later program starts
// are fast. Prints "ready" once it runs, then sleeps until it is killed.
#include <windows.h>

#include <cstdio>

int main() {
  std::printf("ready\n");
  std::fflush(stdout);
  for (;;) Sleep(INFINITE);
}
