#pragma once
// One SSH connection with an SFTP channel over a socket of the layer
// (platform/net/Winsock.h), password authentication, and the server's host
// key checked against a known-hosts file.
#include <memory>

#include "platform/rtl/Types.h"

class TSftpSession {
 public:
  TSftpSession();
  // Ends the SFTP channel, says goodbye to the server and closes the socket.
  ~TSftpSession();
  TSftpSession(const TSftpSession&) = delete;
  TSftpSession& operator=(const TSftpSession&) = delete;

  // Connects to host:port (IPv4), sets the socket buffers to bufferSize and
  // keep-alive, shakes hands, checks the host key and starts SFTP. A key that
  // differs from the known one is always refused; a host missing from the
  // file is added only with acceptNewKey. timeoutMs bounds every blocking
  // call. False with a text in Error(); no password is ever in it.
  bool Connect(const String& host, Integer port, Integer bufferSize, const String& knownHostsFile, bool acceptNewKey,
               Integer timeoutMs);
  // True when the server's key was already in the known-hosts file (not
  // just added under acceptNewKey): only then does the channel prove its source.
  bool HostKeyKnown() const { return FHostKeyKnown; }
  // Password authentication (user name and password sent as UTF-8).
  bool Login(const String& user, const String& password);
  // Starts the SFTP channel; false with Error().
  bool StartSftp();
  // True when path names a folder the server lets us open.
  bool OpenDirectory(const String& path);
  // The file's 64-bit size; false when the server cannot stat it.
  bool Stat(const String& path, Int64& size);
  // Opens one file for reading; false when refused.
  bool OpenFile(const String& path);
  // Reads up to count bytes of the open file: > 0 bytes, 0 at its end, < 0 on error.
  long Read(char* buffer, std::size_t count);
  void CloseFile();
  // The last failure's text.
  const String& Error() const { return FError; }

 private:
  struct Impl;
  std::unique_ptr<Impl> FImpl;
  String FError;
  bool FHostKeyKnown = false;
};
