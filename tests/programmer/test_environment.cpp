// Every test process of this suite keeps its port aliases and settings in a private folder.
#include <gtest/gtest.h>

#include "tests/support/PseudoTerminal.h"

namespace {

class ConfigHomeEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { FHome = std::make_unique<test_support::TTempConfigHome>(); }
  void TearDown() override { FHome.reset(); }

 private:
  std::unique_ptr<test_support::TTempConfigHome> FHome;
};

[[maybe_unused]] ::testing::Environment* const gEnvironment =
    ::testing::AddGlobalTestEnvironment(new ConfigHomeEnvironment);

}  // namespace
