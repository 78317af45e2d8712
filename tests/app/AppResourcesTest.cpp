// The program's own resources as the build packs them: the firmware store
// with the scrambled image and its version markers, and the connector picture.
#include <gtest/gtest.h>

#include "app/AppResources.h"
#include "app/MxStorage.h"
#include "app/UnscrambleImage.h"
#include "platform/vcl/Graphic.h"
#include "platform/vcl/PngImage.h"
#include "platform/testing/GuiTestApp.h"
#include "tests/app/AppTestSupport.h"

using namespace app_test;

namespace {

// The text after Marker up to the next NUL, as the main window reads it.
std::string Marked(const std::string& image, const std::string& marker) {
  const auto at = image.find(marker);
  if (at == std::string::npos) return {};
  const auto from = at + marker.size();
  return image.substr(from, image.find('\0', from) - from);
}

}  // namespace

TEST(ProgramStore, FirmwareItemCarriesItsVersionScrambled) {
  TmxStorage store(nullptr);
  store.LoadFromResource(nullptr, RES_FIRMWARE_STORE);
  ASSERT_EQ(store.StoredItems()->Count(), 2);
  TmxStoredItem* fw = store.ItemByIndex(0);
  EXPECT_EQ(fw->Name(), u"00_RYX-VORIRA_42_m88_OK.bin");
  EXPECT_EQ(fw->FileName(), u"00_RYX-VORIRA_42_m88_OK_4.2.0.22.bin");
  EXPECT_EQ(fw->FileSize(), 7664);
  // One stored deflate block: the file plus its length, zlib header and trailer.
  EXPECT_EQ(fw->Size(), 7679);
  EXPECT_EQ(fw->Compression(), TCompressionLevel::clDefault);
  EXPECT_EQ(fw->Tag(), 0);

  const std::string stored = StreamBytes(fw->AsStream());
  EXPECT_EQ(stored, ReadFileBytes(RYX_FIRMWARE_BIN));  // the image the build made, byte for byte
  EXPECT_EQ(stored.find("ver:"), std::string::npos);   // kept scrambled
  const std::string plain = UnscrambleImage(stored);
  EXPECT_EQ(Marked(plain, "ver:"), "4.2.0");
  EXPECT_EQ(Marked(plain, "bld:"), "22");
  // An AVR program: it starts with a relative jump.
  EXPECT_EQ(static_cast<unsigned char>(plain[1]) & 0xF0, 0xC0);
  EXPECT_EQ(StreamBytes(fw->AsStream()), stored);  // reading twice changes nothing
}

TEST(ProgramStore, ConnectorPictureIsTheSecondItem) {
  EnsureGuiApplication();
  TmxStorage store(nullptr);
  store.LoadFromResource(nullptr, RES_FIRMWARE_STORE);
  TmxStoredItem* pic = store.ItemByName(u"ryx_vorira_rirav_pinout_640x488.PNG");
  ASSERT_NE(pic, nullptr);
  EXPECT_EQ(pic->FileName(), pic->Name());
  TPicture picture;
  picture.LoadFromStream(pic->AsStream());
  EXPECT_EQ(picture.Width(), 640);
  EXPECT_EQ(picture.Height(), 360);
  EXPECT_EQ(store.OriginalSize(), 7664 + pic->FileSize());
  EXPECT_THROW(store.LoadFromResource(nullptr, u"NO_SUCH_STORE"), EResNotFound);
}

