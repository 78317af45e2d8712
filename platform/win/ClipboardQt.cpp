#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QThread>
#include <QUrl>

#include "platform/win/ClipboardInternal.h"

namespace {

// A registered format travels under a MIME type of its own, so other
// instances of the program find it by name.
QString MimeType(const String& name) {
  const QByteArray encoded = QUrl::toPercentEncoding(QString::fromUtf16(name.data(), qsizetype(name.size())));
  return QStringLiteral("application/x-ryx-clipboard-format.") + QString::fromLatin1(encoded);
}

}  // namespace

bool ToolkitClipboardAvailable() {
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  return app && QThread::currentThread() == app->thread() && QGuiApplication::clipboard();
}

void ToolkitClipboardSet(const TClipboardContent& content) {
  auto* data = new QMimeData();
  for (const auto& [name, bytes] : content)
    data->setData(MimeType(name),
                  QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
  QGuiApplication::clipboard()->setMimeData(data);  // the clipboard owns it
}

std::optional<TBytes> ToolkitClipboardGet(const String& name) {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  const QString type = MimeType(name);
  if (!data || !data->hasFormat(type)) return std::nullopt;
  const QByteArray bytes = data->data(type);
  return TBytes(bytes.begin(), bytes.end());
}
