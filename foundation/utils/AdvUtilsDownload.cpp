// TAdvUtils::DownloadImage, kept apart from the text routines so that builds of
// those (the JSON fuzz target) need no Internet layer.
#include <cstdint>
#include <memory>

#include "foundation/utils/AdvUtils.h"
#include "platform/net/WinInet.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Streams.h"

namespace {

// Closes an Internet handle when it goes out of scope.
struct TInternetHandleCloser {
  void operator()(void* handle) const { InternetCloseHandle(handle); }
};
using TInternetHandle = std::unique_ptr<void, TInternetHandleCloser>;

}  // namespace

std::unique_ptr<TMemoryStream> TAdvUtils::DownloadImage(StringView AURL) {
  auto result = std::make_unique<TMemoryStream>();
  const TInternetHandle session(InternetOpen(u"TAdvUtils", INTERNET_OPEN_TYPE_PRECONFIG, u"", u"", 0));
  if (!session) throw Exception(u"Unable to initialize Wininet");
  const TInternetHandle request(InternetOpenUrl(session.get(), AURL, u"", 0,
                                                INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                                    INTERNET_FLAG_PRAGMA_NOCACHE,
                                                0));
  if (!request) throw Exception(Format(u"Cannot open URL %s", {String(AURL)}));

  Char contentType[256] = {};  // 512 bytes
  DWORD length = sizeof contentType;
  String type;
  if (HttpQueryInfo(request.get(), HTTP_QUERY_CONTENT_TYPE, contentType, &length, nullptr))
    type.assign(contentType, length / sizeof(Char));
  if (UpperCase(type).find(u"IMAGE") == String::npos) return result;

  // The length header is not needed: the body is read to its end.
  std::uint8_t chunk[1025];
  DWORD read = 0;
  BOOL ok = FALSE;
  while ((ok = InternetReadFile(request.get(), chunk, sizeof chunk, &read)) && read > 0)
    result->Write(chunk, static_cast<Integer>(read));
  // A body cut short or over the size limit is not handed out as a picture.
  if (!ok) throw Exception(Format(u"Cannot open URL %s", {String(AURL)}));
  return result;
}
