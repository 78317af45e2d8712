#pragma once
// The SSL plug-in interface of the TCP socket. The only implementation here,
// TSSLNone, refuses every operation: the system carries no TLS library.
#include "platform/rtl/Object.h"
#include "platform/rtl/Types.h"

class TTCPBlockSocket;

enum TSSLType { LT_all, LT_SSLv2, LT_SSLv3, LT_TLSv1, LT_TLSv1_1, LT_TLSv1_2, LT_SSHv2 };

class TCustomSSL : public TObject {
 public:
  explicit TCustomSSL(TTCPBlockSocket* Value);
  // Copies every setting of Value (nothing for nullptr).
  virtual void Assign(const TCustomSSL* Value);
  virtual String LibVersion();
  virtual String LibName();
  // The operations answer False / -1 / 0 with LastError -1 and the text
  // "SSL/TLS support is not compiled!" unless a plug-in implements them.
  virtual bool Connect();
  virtual bool Accept();
  virtual bool Shutdown();
  virtual bool BiShutdown();
  virtual Integer SendBuffer(const void* Buffer, Integer Len);
  virtual Integer RecvBuffer(void* Buffer, Integer Len);
  virtual Integer WaitingData();
  virtual String GetSSLVersion();
  virtual String GetPeerSubject();
  virtual Integer GetPeerSerialNo();
  virtual String GetPeerIssuer();
  virtual String GetPeerName();
  virtual Cardinal GetPeerNameHash();
  virtual String GetPeerFingerprint();
  virtual String GetCertInfo();
  virtual String GetCipherName();
  virtual Integer GetCipherBits();
  virtual Integer GetCipherAlgBits();
  virtual Integer GetVerifyCert();

  TTCPBlockSocket* Socket() const { return FSocket; }
  bool SSLEnabled() const { return FSSLEnabled; }
  void SetSSLEnabled(bool Value) { FSSLEnabled = Value; }
  Integer LastError() const { return FLastError; }
  const String& LastErrorDesc() const { return FLastErrorDesc; }

  String Username, Password, KeyPassword, Ciphers, CertificateFile, PrivateKeyFile, CertCAFile, TrustCertificateFile,
      PFXfile, SSHChannelType, SSHChannelArg1, SSHChannelArg2, SNIHost;
  std::string CertCA, TrustCertificate, Certificate, PrivateKey;
  bool VerifyCert = false;
  TSSLType SSLType = LT_all;
  Integer CertComplianceLevel = -1;

 protected:
  // Sets LastError -1 with the "not compiled" text.
  void NotAvailable();

  TTCPBlockSocket* FSocket;
  bool FSSLEnabled = false;
  Integer FLastError = 0;
  String FLastErrorDesc;
};

class TSSLNone : public TCustomSSL {
 public:
  using TCustomSSL::TCustomSSL;
  String LibVersion() override { return u"Without SSL support"; }
  String LibName() override { return u"ssl_none"; }
};
