#pragma once
// THTMLPicture: a picture named in HTML text. It holds an encoded image file
// byte for byte or SVG content through its base, knows whether it is a GIF,
// counts the GIF's frames and tracks a current frame for animation. Pictures
// load from "RES://name" and "FILE://path" addresses, and from web addresses
// through TDownLoadThread when Asynch is on.
#include <functional>
#include <memory>

#include "foundation/pictures/EncodedPicture.h"
#include "platform/rtl/Thread.h"

using TDownloadProgressEvent = std::function<void(TObject* Sender, Cardinal dwSize, Cardinal dwTotSize)>;
using TDownloadCancelEvent = std::function<void(TObject* Sender, bool& Cancel)>;
using TDownloadErrorEvent = std::function<void(TObject* Sender, const String& err)>;

class THTMLPictureCache;

class THTMLPicture : public TEncodedPicture {
 public:
  THTMLPicture();
  ~THTMLPicture() override;

  // nullptr: empty. A THTMLPicture: its Stretch, Frame, ID and content; a
  // TPicture's graphic or any other graphic: its saved file through
  // LoadFromStream. Other classes change nothing.
  void Assign(TPersistent* Source) override;
  // SVG through the base; a BMP stretched with automatic transparency;
  // anything else scaled into Rect. Undecodable bytes draw nothing.
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  // The SVG content into (X, Y, X + W, Y + H); nothing without SVG.
  virtual void DrawSVG(TCanvas* ACanvas, Single X, Single Y, Single W, Single H);

  Integer MaxWidth() const { return Width(); }
  Integer MaxHeight() const { return Height(); }

  // Never raises: a missing or unreadable file leaves the picture empty
  // (OnChange is raised either way).
  void LoadFromFile(const String& FileName) override;
  // A known image signature or other non-SVG data: raw bytes; SVG text: the
  // base. nullptr does nothing.
  void LoadFromStream(TStream* Stream) override;
  // The form property Data: bare picture bytes or the base's SVG block.
  void ReadData(TStream* Stream) override;
  // "RES://name" and "FILE://path" (prefix in any letter case) load at once
  // and set ID. Another address with Asynch off only becomes the ID; with
  // Asynch on (and not Busy) it is fetched by a TDownLoadThread, which
  // raises OnDownLoadComplete or OnDownLoadError on the user-interface thread.
  void LoadFromURL(const String& url);

  // "GIF8" in the first four of at least five bytes.
  bool IsGIF() const;
  // Frames of a GIF (counted once and cached); -1 for other data.
  Integer FrameCount();
  // Display time of frame i (from 1) in hundredths of a second; -1 when unknown.
  Integer GetFrameTime(Integer i) const;
  Integer Frame() const { return FFrame; }
  // Makes Value current and refreshes the frame position; raises OnFrameChange.
  void SetFrame(Integer Value);
  // Next frame, wrapping to 1; previous, wrapping to FrameCount. No event.
  void FrameNext();
  void FramePrev();
  // One tenth of a second of animation; true when the frame changed.
  bool Step();
  Word FrameXPos() const { return FFrameXPos; }
  Word FrameYPos() const { return FFrameYPos; }

  bool Stretch() const { return FStretched; }
  void SetStretch(bool Value) { FStretched = Value; }
  const String& ID() const { return FID; }
  // Tells the cache that owns the picture, which finds pictures by their ID.
  void SetID(const String& Value);
  bool IsDB() const { return FIsDB; }
  void SetIsDB(bool Value) { FIsDB = Value; }
  bool Asynch() const { return FAsynch; }
  void SetAsynch(bool Value) { FAsynch = Value; }
  // A download is running.
  bool Busy() const { return FThreadBusy; }
  // The last web address given to LoadFromURL.
  const String& URL() const { return FURL; }

  TNotifyEvent OnFrameChange;
  TDownloadProgressEvent OnDownLoadProgress;
  TDownloadCancelEvent OnDownLoadCancel;
  TNotifyEvent OnDownLoadComplete;
  TDownloadErrorEvent OnDownLoadError;

 private:
  friend class TDownLoadThread;
  friend class THTMLPictureCache;
  struct TDownloadLink;
  // Size and frame position of the raw image, decoded again.
  void UpdateImageInfo();
  // The byte position of frame start n (from 1); -1 when there is none.
  Int64 FrameStart(Integer n) const;
  // Delivered on the user-interface thread by the download.
  void DownloadDone(TBytes Data, const String& Error);

  bool FStretched = false;
  String FURL, FID;
  bool FIsDB = false;
  bool FAsynch = true;
  bool FThreadBusy = false;
  Integer FFrame = 1;
  Integer FFrameCount = -1;
  Word FFrameXPos = 0, FFrameYPos = 0;
  Integer FNextCount = -1;
  Integer FTimerCount = -1;
  std::shared_ptr<TDownloadLink> FLink;
  THTMLPictureCache* FCache = nullptr;  // the cache that owns the picture, if any
};

// Fetches a picture's web address with TAdvUtils::DownloadImage and hands the
// bytes (or the error text) to the picture on the user-interface thread. It
// runs at once and frees itself; a picture destroyed meanwhile is left alone.
class TDownLoadThread : public TThread {
 public:
  explicit TDownLoadThread(THTMLPicture* aHTMLPicture);
  ~TDownLoadThread() override;

 protected:
  void Execute() override;

 private:
  std::shared_ptr<THTMLPicture::TDownloadLink> FLink;
  String FURL;
};

// Declares THTMLPicture to the type information.
void DeclareHTMLPictureClass();
