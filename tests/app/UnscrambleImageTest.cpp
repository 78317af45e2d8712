// Scrambling of the firmware image: its own inverse, two moving keys.
#include <gtest/gtest.h>

#include "app/UnscrambleImage.h"
#include "tests/app/AppTestSupport.h"

using namespace app_test;

TEST(ProgramStore, ScramblingIsItsOwnInverse) {
  EXPECT_EQ(UnscrambleImage(""), "");
  for (std::size_t n : {1u, 2u, 7u, 300u, 4096u}) {
    const std::string text = SampleBytes(n, static_cast<std::uint32_t>(n));
    const std::string once = UnscrambleImage(text);
    EXPECT_EQ(once.size(), n);
    EXPECT_NE(once, text);
    EXPECT_EQ(UnscrambleImage(once), text);
  }
  // Odd and even positions have keys of their own that move on.
  const std::string zeros(512, '\0');
  const std::string keys = UnscrambleImage(zeros);
  EXPECT_NE(keys[0], keys[2]);
  EXPECT_NE(keys[1], keys[3]);
  EXPECT_EQ(UnscrambleImage(std::string(1, 'A'))[0], keys[0] ^ 'A');
}

