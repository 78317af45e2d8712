#include <gtest/gtest.h>

#include "platform/rtl/Set.h"

namespace {

enum TSetColour : int { scRed, scGreen, scBlue, scFar = 200 };
using TColours = TSet<TSetColour>;

TEST(Set, OperatorsFollowTheClassLibrarysSets) {
  const TColours rg{scRed, scGreen}, gb{scGreen, scBlue};
  EXPECT_EQ(rg + gb, (TColours{scRed, scGreen, scBlue}));
  EXPECT_EQ(rg - gb, TColours{scRed});
  EXPECT_EQ(rg * gb, TColours{scGreen});
  EXPECT_TRUE(TColours{scGreen} <= rg);
  EXPECT_FALSE(gb <= rg);
  EXPECT_TRUE(TColours{} <= rg);
  EXPECT_TRUE((rg * TColours{scBlue}).Empty());

  TColours s;
  s.Include(scFar).Include(scBlue);
  EXPECT_TRUE(s.Contains(scFar));  // elements beyond 64 are kept...
  EXPECT_EQ(s.ToBits(), 0b100u);   // ...but only the first 64 have ordinal bits
  s.Exclude(scFar);
  EXPECT_EQ(s, TColours::FromBits(0b100));
}

TEST(Set, OrdinalsOutsideTheRangeAreNeverMembers) {
  TColours s;
  s.Include(static_cast<TSetColour>(-1)).Include(static_cast<TSetColour>(256));
  EXPECT_TRUE(s.Empty());
  EXPECT_FALSE(s.Contains(static_cast<TSetColour>(-1)));
  EXPECT_FALSE(s.Contains(static_cast<TSetColour>(1000)));
}

}  // namespace
