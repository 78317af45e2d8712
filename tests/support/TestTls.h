#pragma once
// Certificates for loopback HTTPS servers, made with the openssl tool: a
// test root that a client trusts through SSL_CERT_FILE, a server certificate
// for 127.0.0.1 signed by it, one signed by it for another host name, and a
// self-signed one.
#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/support/TestUtil.h"

namespace test_support {

class TTestTls {
 public:
  TTestTls() {
    const std::string d = FDir.Path().string() + "/";
    {
      std::ofstream ext(d + "leaf.ext");
      ext << "subjectAltName=IP:127.0.0.1\nbasicConstraints=CA:FALSE\n";
      std::ofstream wrong(d + "wrong.ext");
      wrong << "subjectAltName=DNS:wrong-host.example\nbasicConstraints=CA:FALSE\n";
    }
    const std::string quiet = " >/dev/null 2>&1";
    const std::string key = " -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes";
    FOk = Run("openssl req -x509" + key + " -days 2 -subj /CN=RyxTestRoot -keyout " + d + "root.key -out " + d +
              "root.pem -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign" +
              quiet) &&
          Leaf(d, "server", "leaf.ext", quiet, key) && Leaf(d, "wrong", "wrong.ext", quiet, key) &&
          Run("openssl req -x509" + key + " -days 2 -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 -keyout " +
              d + "self.key -out " + d + "self.pem" + quiet);
  }
  // False when the openssl tool is missing or failed: tests over HTTPS then skip.
  bool Ok() const { return FOk; }
  std::string Root() const { return File("root.pem"); }
  std::string Cert() const { return File("server.pem"); }
  std::string Key() const { return File("server.key"); }
  std::string WrongHostCert() const { return File("wrong.pem"); }
  std::string WrongHostKey() const { return File("wrong.key"); }
  std::string SelfSignedCert() const { return File("self.pem"); }
  std::string SelfSignedKey() const { return File("self.key"); }

 private:
  static bool Run(const std::string& command) { return std::system(command.c_str()) == 0; }
  static bool Leaf(const std::string& d, const std::string& name, const std::string& ext, const std::string& quiet,
                   const std::string& key) {
    return Run("openssl req" + key + " -subj /CN=" + name + " -keyout " + d + name + ".key -out " + d + name + ".csr" +
               quiet) &&
           Run("openssl x509 -req -in " + d + name + ".csr -CA " + d + "root.pem -CAkey " + d + "root.key -set_serial " +
               std::to_string(name.size() + 1) + " -days 2 -extfile " + d + ext + " -out " + d + name + ".pem" + quiet);
  }
  std::string File(const std::string& name) const { return FDir.Path(name).string(); }

  TTempDir FDir{"ryx_tls"};
  bool FOk = false;
};

}  // namespace test_support
