// A second process for lock tests: takes the named lock given as argument,
// prints "held" (or "busy" and exits 2 when it cannot), then keeps the lock
// until its standard input reaches end of file.
#include <cstdio>
#include <unistd.h>

#include "platform/named_lock.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s LOCK_NAME\n", argv[0]);
    return 1;
  }
  zr78::NamedLock lock;
  if (!lock.tryAcquire(argv[1])) {
    std::puts("busy");
    std::fflush(stdout);
    return 2;
  }
  std::puts("held");
  std::fflush(stdout);
  char c;
  while (::read(STDIN_FILENO, &c, 1) > 0) {
  }
  return 0;
}
