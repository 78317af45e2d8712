#pragma once
// File dialogs: choosing a file to open or a name to save under. The dialog
// shown can be replaced by an answer provider, so tests never show one.
#include <functional>

#include "platform/rtl/Component.h"
#include "platform/rtl/Set.h"

enum TOpenOption { ofOverwritePrompt, ofFileMustExist };
using TOpenOptions = TSet<TOpenOption>;

class TOpenDialog : public TComponent {
 public:
  explicit TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}

  // Pairs of description and patterns: "Text files|*.txt;*.log|All|*.*".
  const String& Filter() const { return FFilter; }
  void SetFilter(const String& Value) { FFilter = Value; }
  const String& InitialDir() const { return FInitialDir; }
  void SetInitialDir(const String& Value) { FInitialDir = Value; }
  // The name offered when the dialog opens; the chosen file after Execute answered true.
  const String& FileName() const { return FFileName; }
  void SetFileName(const String& Value) { FFileName = Value; }
  TOpenOptions Options() const { return FOptions; }
  void SetOptions(TOpenOptions Value) { FOptions = Value; }
  // True for a save dialog.
  virtual bool IsSaveDialog() const { return false; }

  // Shows the dialog modally; true with FileName set when the user chose a
  // file, false (FileName unchanged) when the dialog was cancelled.
  bool Execute();

 private:
  String FFilter;
  String FInitialDir;
  String FFileName;
  TOpenOptions FOptions;
};

class TSaveDialog : public TOpenDialog {
 public:
  explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}
  bool IsSaveDialog() const override { return true; }
};

// Answers a dialog in place of the window system: sets the dialog's FileName
// and answers true for OK, or answers false for Cancel.
using TFileDialogProvider = std::function<bool(TOpenDialog& Dialog)>;
// Installs Provider for every later Execute (an empty one restores the window
// system's dialog); answers the provider it replaces.
TFileDialogProvider SetFileDialogProvider(TFileDialogProvider Provider);
