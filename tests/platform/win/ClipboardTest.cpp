// Clipboard data of registered formats and the global memory blocks that carry it.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "platform/testing/GuiTestApp.h"
#include "platform/win/Clipboard.h"
#include "platform/win/WinError.h"

namespace {

HGLOBAL Block(const std::string& text) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, text.size());
  std::memcpy(GlobalLock(h), text.data(), text.size());
  GlobalUnlock(h);
  return h;
}

std::string ReadBlock(HGLOBAL h) {
  const auto* p = static_cast<const char*>(GlobalLock(h));
  std::string out(p, GlobalSize(h));
  GlobalUnlock(h);
  return out;
}

class ClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureGuiApplication(); }
};

}  // namespace

TEST(GlobalMemoryTest, BlocksAreCheckedHandles) {
  HGLOBAL h = GlobalAlloc(GHND, 10);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GlobalSize(h), 10u);
  auto* p = static_cast<Byte*>(GlobalLock(h));
  EXPECT_EQ(p[9], 0);
  EXPECT_FALSE(GlobalUnlock(h));  // no lock left
  EXPECT_EQ(GlobalFree(h), nullptr);
  EXPECT_EQ(GlobalLock(h), nullptr);  // freed: refused, not a crash
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(GlobalSize(h), 0u);
  EXPECT_EQ(GlobalFree(h), h);
  EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, std::size_t(1) << 62), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
}

TEST_F(ClipboardTest, RegisteredFormatRoundTrip) {
  const UINT format = RegisterClipboardFormat(u"Ryx clipboard test");
  const UINT other = RegisterClipboardFormat(u"Ryx clipboard test, other");
  ASSERT_TRUE(OpenClipboard(nullptr));
  ASSERT_TRUE(EmptyClipboard());
  ASSERT_NE(SetClipboardData(format, Block("payload\0bytes")), nullptr);
  EXPECT_TRUE(CloseClipboard());

  EXPECT_TRUE(IsClipboardFormatAvailable(format));
  EXPECT_FALSE(IsClipboardFormatAvailable(other));
  ASSERT_TRUE(OpenClipboard(nullptr));
  HGLOBAL h = GetClipboardData(format);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(ReadBlock(h), std::string("payload\0bytes"));
  EXPECT_EQ(GetClipboardData(other), nullptr);
  EXPECT_TRUE(EmptyClipboard());
  EXPECT_EQ(GetClipboardData(format), nullptr);
  EXPECT_TRUE(CloseClipboard());
}

TEST_F(ClipboardTest, CallsOutsideAnOpenClipboardFail) {
  const UINT format = RegisterClipboardFormat(u"Ryx clipboard test");
  HGLOBAL h = Block("x");
  EXPECT_EQ(SetClipboardData(format, h), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
  EXPECT_EQ(GetClipboardData(format), nullptr);
  EXPECT_FALSE(EmptyClipboard());
  EXPECT_FALSE(CloseClipboard());

  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_EQ(SetClipboardData(CF_TEXT, h), nullptr);  // only registered formats
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(ReadBlock(h), "x");  // a refused block stays the caller's
  bool openedElsewhere = true;
  std::thread([&] { openedElsewhere = OpenClipboard(nullptr); }).join();
  EXPECT_FALSE(openedElsewhere);
  EXPECT_TRUE(CloseClipboard());
  GlobalFree(h);
}
