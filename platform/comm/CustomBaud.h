#pragma once
// Any baud rate through termios2; private to platform/comm.
bool SetCustomBaud(int fd, unsigned baud);
// The output speed in baud as the kernel holds it; 0 on failure.
unsigned GetCustomBaud(int fd);
