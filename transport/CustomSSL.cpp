#include "transport/CustomSSL.h"

TCustomSSL::TCustomSSL(TTCPBlockSocket* Value) : FSocket(Value) {}

void TCustomSSL::Assign(const TCustomSSL* Value) {
  if (Value == nullptr) return;
  Username = Value->Username;
  Password = Value->Password;
  KeyPassword = Value->KeyPassword;
  Ciphers = Value->Ciphers;
  CertificateFile = Value->CertificateFile;
  PrivateKeyFile = Value->PrivateKeyFile;
  CertCAFile = Value->CertCAFile;
  TrustCertificateFile = Value->TrustCertificateFile;
  PFXfile = Value->PFXfile;
  SSHChannelType = Value->SSHChannelType;
  SSHChannelArg1 = Value->SSHChannelArg1;
  SSHChannelArg2 = Value->SSHChannelArg2;
  SNIHost = Value->SNIHost;
  CertCA = Value->CertCA;
  TrustCertificate = Value->TrustCertificate;
  Certificate = Value->Certificate;
  PrivateKey = Value->PrivateKey;
  VerifyCert = Value->VerifyCert;
  SSLType = Value->SSLType;
  CertComplianceLevel = Value->CertComplianceLevel;
}

void TCustomSSL::NotAvailable() {
  FLastError = -1;
  FLastErrorDesc = u"SSL/TLS support is not compiled!";
}

String TCustomSSL::LibVersion() { return {}; }
String TCustomSSL::LibName() { return {}; }
bool TCustomSSL::Connect() { return NotAvailable(), false; }
bool TCustomSSL::Accept() { return NotAvailable(), false; }
bool TCustomSSL::Shutdown() { return NotAvailable(), false; }
bool TCustomSSL::BiShutdown() { return NotAvailable(), false; }
Integer TCustomSSL::SendBuffer(const void*, Integer) { return NotAvailable(), -1; }
Integer TCustomSSL::RecvBuffer(void*, Integer) { return NotAvailable(), -1; }
Integer TCustomSSL::WaitingData() { return NotAvailable(), 0; }
String TCustomSSL::GetSSLVersion() { return {}; }
String TCustomSSL::GetPeerSubject() { return {}; }
Integer TCustomSSL::GetPeerSerialNo() { return -1; }
String TCustomSSL::GetPeerIssuer() { return {}; }
String TCustomSSL::GetPeerName() { return {}; }
Cardinal TCustomSSL::GetPeerNameHash() { return 0; }
String TCustomSSL::GetPeerFingerprint() { return {}; }
String TCustomSSL::GetCertInfo() { return {}; }
String TCustomSSL::GetCipherName() { return {}; }
Integer TCustomSSL::GetCipherBits() { return 0; }
Integer TCustomSSL::GetCipherAlgBits() { return 0; }
Integer TCustomSSL::GetVerifyCert() { return 1; }
