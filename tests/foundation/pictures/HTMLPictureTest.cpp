// The HTML picture (GIF frames, addresses, downloads from a loopback server),
// the picture cache and the picture container.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>

#include "foundation/gdiplus/GdiplusBase.h"
#include "foundation/pictures/HTMLPictureCache.h"
#include "foundation/pictures/PictureContainer.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/rtl/StrUtils.h"
#include "platform/testing/Pump.h"
#include "platform/vcl/Controls.h"
#include "tests/foundation/pictures/PictureSamples.h"
#include "tests/support/LoopbackHttpServer.h"

using namespace picture_samples;
using test_support::TLoopbackHttpServer;

namespace {

class HTMLPictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    gdiplus::InitializeGdiplusUnit();
  }
};

// A GIF header, then one frame start (graphic control extension + image
// descriptor at left, top) per delay, then padding.
TBytes AnimatedGif(std::initializer_list<Word> delays, Word left = 0, Word top = 0, std::size_t padding = 16) {
  TBytes g = {'G', 'I', 'F', '8', '9', 'a', 4, 0, 4, 0, 0, 0, 0};
  for (Word d : delays) {
    const TBytes frame = {0x21, 0xF9, 0x04, 0x00, Byte(d), Byte(d >> 8), 0x00, 0x00,
                          0x2C, Byte(left), Byte(left >> 8), Byte(top), Byte(top >> 8), 4, 0, 4, 0, 0};
    g.insert(g.end(), frame.begin(), frame.end());
  }
  g.insert(g.end(), padding, 0);
  return g;
}

}  // namespace

TEST_F(HTMLPictureTest, GifDetectionAndFrameCount) {
  struct TCase {
    TBytes Data;
    bool IsGif;
    Integer Frames;
  } cases[] = {
      {Text("GIF8"), false, -1},                       // four bytes only
      {Text("gif89a"), false, -1},                     // case matters
      {Png(3, 3), false, -1},
      {AnimatedGif({10}), true, 1},
      {AnimatedGif({10, 20, 30}), true, 3},
      {AnimatedGif({10}, 0, 0, 0), true, 1},           // the descriptor's byte 9 is still inside
      {Concat({Text("GIF89a"), TBytes(20, 0)}), true, 0},
  };
  for (const TCase& c : cases) {
    THTMLPicture p;
    p.LoadFromBytes(c.Data);
    EXPECT_EQ(p.IsGIF(), c.IsGif);
    EXPECT_EQ(p.FrameCount(), c.Frames);
    EXPECT_EQ(p.FrameCount(), c.Frames);  // the cached answer
  }
  // A frame start inside the last nine bytes is not counted.
  TBytes cut = AnimatedGif({10, 20}, 0, 0, 0);
  cut.resize(cut.size() - 9);
  THTMLPicture p;
  p.LoadFromBytes(cut);
  EXPECT_EQ(p.FrameCount(), 1);
}

TEST_F(HTMLPictureTest, FrameTimesPositionsAndStepping) {
  THTMLPicture p;
  p.LoadFromBytes(AnimatedGif({20, 5, 7}, 0x0102, 3));
  EXPECT_EQ(p.FrameCount(), 3);
  EXPECT_EQ(p.GetFrameTime(1), 20);
  EXPECT_EQ(p.GetFrameTime(3), 7);
  EXPECT_EQ(p.GetFrameTime(0), -1);
  EXPECT_EQ(p.GetFrameTime(4), -1);
  int events = 0;
  p.OnFrameChange = [&](TObject*) { ++events; };
  p.SetFrame(2);
  EXPECT_EQ(p.FrameXPos(), 0x0102);
  EXPECT_EQ(p.FrameYPos(), 3);
  EXPECT_EQ(events, 1);
  p.SetFrame(3);
  p.FrameNext();
  EXPECT_EQ(p.Frame(), 1);
  p.FramePrev();
  EXPECT_EQ(p.Frame(), 3);

  THTMLPicture anim;
  anim.LoadFromBytes(AnimatedGif({20, 5}));
  ASSERT_EQ(anim.FrameCount(), 2);
  // The step counter starts at -1: three quiet ticks, then the change.
  EXPECT_FALSE(anim.Step());
  EXPECT_FALSE(anim.Step());
  EXPECT_FALSE(anim.Step());
  EXPECT_TRUE(anim.Step());
  EXPECT_EQ(anim.Frame(), 2);

  THTMLPicture png;  // not animated: never steps
  png.LoadFromBytes(Png(2, 2));
  EXPECT_FALSE(png.Step());
}

TEST_F(HTMLPictureTest, LoadsAndSizesPictures) {
  THTMLPicture p;
  int changes = 0;
  p.OnChange = [&](TObject*) { ++changes; };
  p.LoadFromBytes(Png(5, 3));
  EXPECT_FALSE(p.Empty());
  EXPECT_EQ(p.Width(), 5);
  EXPECT_EQ(p.Height(), 3);
  EXPECT_EQ(changes, 1);

  p.LoadFromFile(u"/nonexistent/picture.png");  // no exception, just empty
  EXPECT_TRUE(p.Empty());
  EXPECT_EQ(p.Width(), 0);
  EXPECT_EQ(changes, 2);

  // Undecodable bytes are kept but measure and draw as nothing.
  p.LoadFromBytes(Concat({Text("\x89PNG\r\n\x1a\n"), TBytes(50, 7)}));
  EXPECT_EQ(p.Width(), 0);

  THTMLPicture copy;
  THTMLPicture source;
  source.LoadFromBytes(Gif(4, 2));
  source.SetID(u"http://example.invalid/a.gif");
  source.SetStretch(true);
  copy.Assign(&source);
  EXPECT_EQ(copy.Data(), source.Data());
  EXPECT_EQ(copy.ID(), source.ID());
  EXPECT_TRUE(copy.Stretch());
  EXPECT_EQ(copy.Width(), 4);
  copy.Assign(nullptr);
  EXPECT_TRUE(copy.Empty());
}

TEST_F(HTMLPictureTest, ResourceAndFileAddresses) {
  THTMLPicture res;
  res.LoadFromURL(u"res://PICTEST");
  EXPECT_EQ(res.ID(), u"res://PICTEST");
  EXPECT_EQ(res.Width(), 5);

  const std::string path = ::testing::TempDir() + "/html_picture_test.png";
  const TBytes png = Png(7, 2);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
  THTMLPicture file;
  file.LoadFromURL(u"FILE://" + Utf8ToString(path));
  EXPECT_EQ(file.Width(), 7);
  std::remove(path.c_str());

  THTMLPicture web;  // without Asynch a web address is only remembered
  web.SetAsynch(false);
  web.LoadFromURL(u"http://127.0.0.1:1/a.png");
  EXPECT_EQ(web.ID(), u"http://127.0.0.1:1/a.png");
  EXPECT_TRUE(web.Empty());
  EXPECT_FALSE(web.Busy());

  THTMLPicture none;  // an empty resource name loads nothing
  none.LoadFromURL(u"RES://");
  EXPECT_TRUE(none.Empty());
  EXPECT_EQ(none.ID(), u"RES://");
}

TEST_F(HTMLPictureTest, CacheFindsByExactId) {
  THTMLPictureCache cache;
  THTMLPicture* a = cache.AddPicture();
  a->SetAsynch(false);
  a->LoadFromURL(u"RES://PICTEST");
  THTMLPicture* b = cache.AddPicture();
  b->SetID(u"RES://PICTEST");  // a second entry with the same ID
  EXPECT_EQ(cache.FindPicture(u"RES://PICTEST"), a);
  EXPECT_EQ(cache.FindPicture(u"res://PICTEST"), nullptr);
  EXPECT_EQ(cache.GetPicture(1), b);
  EXPECT_THROW(cache.GetPicture(2), EListError);
  EXPECT_THROW(cache.GetPicture(-1), EListError);
  cache.SetPicture(1, nullptr);
  EXPECT_NE(cache.GetPicture(1), nullptr);
  THTMLPicture* gif = cache.AddPicture();
  gif->LoadFromBytes(AnimatedGif({0, 0}));
  gif->FrameCount();
  EXPECT_FALSE(cache.Animate());  // the first tick only starts the count
  EXPECT_TRUE(cache.Animate());
  EXPECT_EQ(gif->Frame(), 2);
  cache.ClearPictures();
  EXPECT_EQ(cache.Count(), 0);
  EXPECT_EQ(cache.FindPicture(u"RES://PICTEST"), nullptr);
}

// The cache's index follows IDs that change after a picture was added:
// renamed, replaced, repeated and given back.
TEST_F(HTMLPictureTest, CacheIndexFollowsChangingIds) {
  THTMLPictureCache cache;
  THTMLPicture* a = cache.AddPicture();
  THTMLPicture* b = cache.AddPicture();
  EXPECT_EQ(cache.FindPicture(u""), a);
  a->SetAsynch(false);
  a->LoadFromURL(u"http://example.invalid/a.png");
  EXPECT_EQ(cache.FindPicture(u"http://example.invalid/a.png"), a);
  EXPECT_EQ(cache.FindPicture(u""), b);
  a->SetID(u"renamed");
  EXPECT_EQ(cache.FindPicture(u"http://example.invalid/a.png"), nullptr);
  EXPECT_EQ(cache.FindPicture(u"renamed"), a);
  // A repeated ID answers the first in list order, whichever took it first.
  b->SetID(u"same");
  a->SetID(u"same");
  EXPECT_EQ(cache.FindPicture(u"same"), a);
  a->SetID(u"other");
  EXPECT_EQ(cache.FindPicture(u"same"), b);
  // A replaced picture leaves the index; its successor joins it.
  auto fresh = std::make_unique<THTMLPicture>();
  fresh->SetID(u"fresh");
  THTMLPicture* f = fresh.get();
  cache.SetPicture(1, std::move(fresh));
  EXPECT_EQ(cache.FindPicture(u"same"), nullptr);
  EXPECT_EQ(cache.FindPicture(u"fresh"), f);
  f->SetID(u"other");
  EXPECT_EQ(cache.FindPicture(u"other"), a);
  cache.ClearPictures();
  EXPECT_EQ(cache.FindPicture(u"other"), nullptr);
  // Many distinct addresses stay distinct.
  for (int i = 0; i < 500; ++i) cache.AddPicture()->SetID(u"u" + IntToStr(i));
  for (int i = 0; i < 500; ++i) ASSERT_EQ(cache.FindPicture(u"u" + IntToStr(i)), cache.GetPicture(i));
}

TEST_F(HTMLPictureTest, ContainerLookups) {
  TPictureContainer container(nullptr);
  EXPECT_EQ(container.Version(), u"2.1.1.0");
  TPictureItem* first = container.Items()->Add();
  first->SetName(u"Logo");
  first->Picture()->LoadFromBytes(Png(5, 3));
  TPictureItem* second = container.Items()->Add();
  second->SetName(u"LOGO");
  second->Picture()->LoadFromBytes(Png(9, 9));
  EXPECT_EQ(second->Container(), &container);

  EXPECT_EQ(container.FindPicture(u"logo"), first->Picture());  // first of two wins, any case
  EXPECT_EQ(container.FindPicture(u"missing"), nullptr);
  EXPECT_EQ(container.FindPicture(u"LOGO\u00E9"), nullptr);

  TPicture* bitmap = container.FindBitmap(u"LoGo");
  ASSERT_NE(bitmap, nullptr);
  ASSERT_NE(bitmap->Graphic(), nullptr);
  EXPECT_EQ(bitmap->Width(), 5);
  TPicture* again = second->Bitmap();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->Width(), 9);
  EXPECT_EQ(container.FindBitmap(u"nothing"), nullptr);

  TPictureContainer other(nullptr);
  other.Items()->Add()->SetName(u"x");
  other.SetItems(container.Items());  // a copy: both keep their own items
  ASSERT_EQ(other.Items()->Count(), 2);
  EXPECT_EQ(other.Items()->GetItem(1)->Picture()->Width(), 9);
  EXPECT_THROW(other.Items()->GetItem(0)->Assign(&container), EInvalidCast);

  int changes = 0;
  container.OnChange = [&](TObject*) { ++changes; };
  {
    TControl control(nullptr);
    container.RegisterControl(&control);
    container.RegisterControl(&control);
    container.ItemsChanged();
  }
  container.ItemsChanged();  // the destroyed control was forgotten
  EXPECT_EQ(changes, 2);
}

class HTMLPictureDownloadTest : public HTMLPictureTest {
 protected:
  static void SetUpTestSuite() {
    // A proxy from the environment must not take loopback requests.
    setenv("no_proxy", "127.0.0.1", 1);
    setenv("NO_PROXY", "127.0.0.1", 1);
  }
  String Url(const std::string& path) { return Utf8ToString(server.Url(path)); }
  // Starts the download and waits for its end; answers the error text.
  String Fetch(THTMLPicture& p, const String& url) {
    bool done = false;
    String error;
    p.OnDownLoadComplete = [&](TObject*) { done = true; };
    p.OnDownLoadError = [&](TObject*, const String& e) {
      error = e;
      done = true;
    };
    p.LoadFromURL(url);
    EXPECT_TRUE(p.Busy());
    EXPECT_TRUE(PumpUntil([&] { return done; }, 30000));
    EXPECT_FALSE(p.Busy());
    return error;
  }
  TLoopbackHttpServer server;
};

TEST_F(HTMLPictureDownloadTest, FetchesAPictureFromTheServer) {
  const TBytes png = Png(6, 4);
  server.Route("/p.png", {200, "OK", "Content-Type: image/png\r\n", std::string(png.begin(), png.end())});
  THTMLPicture p;
  EXPECT_EQ(Fetch(p, Url("/p.png")), u"");
  EXPECT_EQ(p.Data(), png);
  EXPECT_EQ(p.Width(), 6);
  EXPECT_EQ(p.URL(), Url("/p.png"));
}

TEST_F(HTMLPictureDownloadTest, HostileAnswersEndCleanly) {
  server.Route("/page", {200, "OK", "Content-Type: text/html\r\n", "<html></html>"});
  server.Route("/huge", {200, "OK", "Content-Type: image/png\r\nContent-Length: 900000000000\r\n", "\x89PNG"});
  server.Route("/short", {200, "OK", "Content-Type: image/png\r\nContent-Length: 5000\r\n", "\x89PNG\r\n"});
  const std::string closed = "http://127.0.0.1:" + std::to_string(TLoopbackHttpServer::ClosedPort()) + "/a.png";
  for (const String& url : {Url("/missing.png"), Url("/page"), Url("/huge"), Url("/short"), Utf8ToString(closed),
                            String(u"http://[::1"), String(u"gopher://127.0.0.1/x")}) {
    THTMLPicture p;
    EXPECT_NE(Fetch(p, url), u"") << StringToUtf8(url);
    EXPECT_TRUE(p.Empty()) << StringToUtf8(url);
  }
}

TEST_F(HTMLPictureDownloadTest, PictureFreedDuringTheDownloadIsLeftAlone) {
  const TBytes png = Png(2, 2);
  server.Route("/p.png", {200, "OK", "Content-Type: image/png\r\n", std::string(png.begin(), png.end())});
  {
    THTMLPicture p;
    p.LoadFromURL(Url("/p.png"));
    EXPECT_TRUE(p.Busy());
  }
  // The thread finishes against a forgotten picture; give it time to hand over.
  THTMLPicture q;
  EXPECT_EQ(Fetch(q, Url("/p.png")), u"");
}
