#include "platform/vcl/FileDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QStringList>

#include <utility>

#include "platform/rtl/QtString.h"

namespace {

TFileDialogProvider& Provider() {
  static TFileDialogProvider provider;
  return provider;
}

// "Text|*.txt;*.log|All|*.*" -> "Text (*.txt *.log);;All (*.*)"; a
// description without its patterns is dropped.
QString QtFilter(const String& Filter) {
  const QStringList parts = ToQString(Filter).split(u'|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(u';', u' ');
    filters << parts[i] + QStringLiteral(" (") + patterns.trimmed() + QChar(u')');
  }
  return filters.join(QStringLiteral(";;"));
}

bool ShowQtDialog(TOpenDialog& Dialog) {
  // Without a widget application there is nothing to show a dialog on.
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return false;
  QFileDialog dialog(nullptr, QString(), ToQString(Dialog.InitialDir()), QtFilter(Dialog.Filter()));
  dialog.setAcceptMode(Dialog.IsSaveDialog() ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(Dialog.Options().Contains(ofFileMustExist) ? QFileDialog::ExistingFile
                                                                : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !Dialog.Options().Contains(ofOverwritePrompt));
  if (!Dialog.FileName().empty()) dialog.selectFile(ToQString(Dialog.FileName()));
  if (dialog.exec() != QDialog::Accepted) return false;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return false;
  Dialog.SetFileName(FromQString(chosen.front()));
  return true;
}

}  // namespace

bool TOpenDialog::Execute() {
  const TFileDialogProvider provider = Provider();
  if (provider) {
    // Cancel leaves FileName as it was, whatever the provider did to it.
    const String before = FFileName;
    const bool ok = provider(*this);
    if (!ok) FFileName = before;
    return ok;
  }
  return ShowQtDialog(*this);
}

TFileDialogProvider SetFileDialogProvider(TFileDialogProvider NewProvider) {
  return std::exchange(Provider(), std::move(NewProvider));
}
