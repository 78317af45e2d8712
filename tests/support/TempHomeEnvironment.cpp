// Linked into a suite, keeps every test process of it in a throw-away home
// folder (settings, port aliases, registry), so no test touches the user's files.
#include <gtest/gtest.h>

#include <memory>

#include "platform/testing/TempHome.h"

namespace {

class TempHomeEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { FHome = std::make_unique<TTempHome>(); }
  void TearDown() override { FHome.reset(); }

 private:
  std::unique_ptr<TTempHome> FHome;
};

[[maybe_unused]] ::testing::Environment* const gTempHomeEnvironment =
    ::testing::AddGlobalTestEnvironment(new TempHomeEnvironment);

}  // namespace
