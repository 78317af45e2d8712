// Baud rates outside the B-constants go through termios2 (BOTHER). The kernel
// headers used here clash with <termios.h>, hence this file of its own.
#include <asm/ioctls.h>
#include <asm/termbits.h>

#include "platform/comm/CustomBaud.h"

extern "C" int ioctl(int fd, unsigned long request, ...);

bool SetCustomBaud(int fd, unsigned baud) {
  struct termios2 tio {};
  if (ioctl(fd, TCGETS2, &tio) != 0) return false;
  tio.c_cflag &= ~CBAUD;
  tio.c_cflag |= BOTHER;
  tio.c_cflag &= ~(CBAUD << IBSHIFT);
  tio.c_cflag |= BOTHER << IBSHIFT;
  tio.c_ispeed = baud;
  tio.c_ospeed = baud;
  return ioctl(fd, TCSETS2, &tio) == 0;
}

unsigned GetCustomBaud(int fd) {
  struct termios2 tio {};
  if (ioctl(fd, TCGETS2, &tio) != 0) return 0;
  return tio.c_ospeed;
}
