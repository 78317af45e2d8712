#include "programmer/QvFormSR.h"

#include <unistd.h>

#include <fstream>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileNames.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/Application.h"
#include "platform/win/Files.h"
#include "platform/win/Module.h"
#include "platform/win/WinReg.h"
#include "platform/win/WinError.h"
#include "programmer/QvFormAdapters.h"

namespace {

const String kAppIniName = u"[ApplicationExeName.ini]";

// The program file's name less its last four characters ("Tool.exe" gives
// "Tool"). A program file here mostly has no extension: then the whole name,
// not a name with four letters cut off (nor an empty one, which would make
// the program's key "\Software" itself).
String BaseName() {
  String name = ExtractFileName(GetModuleFileName());
  return name.size() > 4 && name[name.size() - 4] == u'.' ? name.substr(0, name.size() - 4) : name;
}

// The program file's name up to ".exe" (searched with case): the autostart entry's name.
String RunName() {
  String name = ExtractFileName(GetModuleFileName());
  auto p = name.find(u".exe");
  return p == String::npos ? name : name.substr(0, p);
}

// A decimal text as an integer; Default for anything else.
Integer ToIntOr(const String& s, Integer Default) {
  String t = Trim(s);
  if (t.empty() || t.size() > 11) return Default;
  Int64 v = 0;
  size_t i = (t[0] == u'-' || t[0] == u'+') ? 1 : 0;
  if (i == t.size()) return Default;
  for (; i < t.size(); ++i) {
    if (t[i] < u'0' || t[i] > u'9') return Default;
    v = v * 10 + (t[i] - u'0');
  }
  if (t[0] == u'-') v = -v;
  return (v < INT32_MIN || v > INT32_MAX) ? Default : Integer(v);
}

// A REG_SZ value as text; false when missing, of another type, or unreadable.
bool ReadSz(const String& keyPath, const String& name, String& out) {
  HKEY key = nullptr;
  if (RegOpenKeyEx(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD type = 0, size = 0;
  bool ok = RegQueryValueEx(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ &&
            size <= 1024 * 1024;
  std::vector<Byte> data(size);
  if (ok) ok = RegQueryValueEx(key, name, nullptr, &type, data.data(), &size) == ERROR_SUCCESS;
  RegCloseKey(key);
  if (!ok) return false;
  out.clear();
  for (DWORD i = 0; i + 1 < size; i += 2) {
    Char c = Char(data[i] | (data[i + 1] << 8));
    if (c == 0) break;
    out += c;
  }
  return true;
}

bool WriteValue(const String& keyPath, const String& name, DWORD type, const Byte* data, DWORD size) {
  HKEY key = nullptr;
  if (RegCreateKeyEx(HKEY_CURRENT_USER, keyPath, 0, String(), 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  bool ok = RegSetValueEx(key, name, 0, type, data, size) == ERROR_SUCCESS;
  RegCloseKey(key);
  return ok;
}

bool WriteSz(const String& keyPath, const String& name, const String& text) {
  TRegValue v = RegStringValue(name, text);
  return WriteValue(keyPath, name, REG_SZ, v.Data.data(), DWORD(v.Data.size()));
}

// A text as a desktop entry's string value: backslashes doubled, line breaks
// and tabs escaped, so a file name cannot end the line or start a new key.
std::string DesktopValue(const String& text) {
  std::string out;
  for (char c : StringToUtf8(text)) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else if (c == '\t') out += "\\t";
    else out += c;
  }
  return out;
}

// The program path as the Exec value: one quoted argument (blanks survive)
// with '"', '`', '$' and '\' escaped inside the quotes and '%' doubled (it
// would start a field code), then escaped once more as a string value.
std::string DesktopExec(const String& path) {
  String quoted = u"\"";
  for (Char c : path) {
    if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
    if (c == u'%') quoted += u'%';
    quoted += c;
  }
  quoted += u'"';
  return DesktopValue(quoted);
}

}  // namespace

TQvFormSR::TQvFormSR(TComponent* AOwner, IQvFormGeometry* Form) : TComponent(AOwner) {
  FMasterForm = Form;
  if (Form == nullptr) throw EInvalidCast(u"Invalid class typecast");
  SetIniFileName(kAppIniName);
}

TQvFormSR::TQvFormSR(TComponent* AOwner) : TComponent(AOwner) {
  auto* form = dynamic_cast<TCustomForm*>(AOwner);
  if (form == nullptr) throw EInvalidCast(u"Invalid class typecast");
  FFormAdapter = std::make_unique<TQvFormSRAdapter>(form);
  FMasterForm = FFormAdapter.get();
  form->SetPosition(poDefaultPosOnly);
  SetIniFileName(kAppIniName);
  // A form being built calls Loaded on the components made meanwhile.
  if (AOwner->ComponentState().Contains(csLoading)) Loading();
}

TQvFormSR::~TQvFormSR() {
  if (FFormAdapter == nullptr || !FFormAdapter->Hooked()) return;
  FFormAdapter->ShowHandler() = FSaveFormShow;
  FFormAdapter->CloseQueryHandler() = FSaveFormCloseQuery;
  FFormAdapter->DestroyHandler() = FSaveFormDestroy;
}

void TQvFormSR::ComputeKeys() {
  FMainAppRegKey = u"\\Software\\" + BaseName();
  FAppRegKey = FMainAppRegKey + u"\\" + FMasterForm->FormName();
  if (FTypeIniName == asCustom) FAppRegKey += u"_" + FIniFileName;
}

void TQvFormSR::SetIniFileName(const String& Value) {
  if (Trim(Value) != kAppIniName) FTypeIniName = asCustom;
  if (FTypeIniName == asCustom) FIniFileName = Value;
  else FIniFileName = ChangeFileExt(GetModuleFileName(), u".ini");
  ComputeKeys();
}

void TQvFormSR::SetTypeIniName(TApplicationIniName Value) {
  FTypeIniName = Value;
  if (Value == asAppIniName) SetIniFileName(kAppIniName);
}

void TQvFormSR::Loaded() {
  TComponent::Loaded();
  if (FFormAdapter != nullptr && !FFormAdapter->Hooked()) {
    FFormAdapter->HookEvents();
    FSaveFormShow = FFormAdapter->ShowHandler();
    FFormAdapter->ShowHandler() = [this](TObject* Sender) { HookShow(Sender); };
    FSaveFormCloseQuery = FFormAdapter->CloseQueryHandler();
    FFormAdapter->CloseQueryHandler() = [this](TObject* Sender, bool& CanClose) { HookCloseQuery(Sender, CanClose); };
    FSaveFormDestroy = FFormAdapter->DestroyHandler();
    FFormAdapter->DestroyHandler() = [this](TObject* Sender) { HookDestroy(Sender); };
  }
  try {
    FIniFile = std::make_unique<TIniFile>(FIniFileName);
  } catch (...) {
    FIniFile.reset();  // no INI file: positions fall back to their defaults
  }
}

void TQvFormSR::RestorePos() {
  bPosCanSave = true;
  IQvFormGeometry& f = *FMasterForm;
  auto centreTop = [&] { return (f.ScreenHeight() - f.Height()) / 2; };
  auto centreLeft = [&] { return (f.ScreenWidth() - f.Width()) / 2; };
  if (FUseRegistry) {
    ComputeKeys();
    auto read = [&](const String& name, Integer def) {
      String s;
      return ReadSz(FAppRegKey, name, s) ? ToIntOr(s, def) : def;
    };
    if (read(u"maximized", 0) == 2) {
      f.SetWindowState(2);
      bWasReadPos = true;
      return;
    }
    if (!FRestoreOnlyPosition) {
      f.SetWidth(read(u"Width", f.Width()));
      f.SetHeight(read(u"Height", f.Height()));
    }
    f.SetTop(read(u"Top", centreTop()));
    f.SetLeft(read(u"Left", centreLeft()));
  } else if (FIniFile) {
    const String section = f.FormName();
    if (!FRestoreOnlyPosition) {
      f.SetWidth(FIniFile->ReadInteger(section, u"Width", f.Width()));
      f.SetHeight(FIniFile->ReadInteger(section, u"Height", f.Height()));
    }
    f.SetTop(FIniFile->ReadInteger(section, u"Top", centreTop()));
    f.SetLeft(FIniFile->ReadInteger(section, u"Left", centreLeft()));
  } else {
    f.SetTop(centreTop());
    f.SetLeft(centreLeft());
  }
  // A position stored on a screen that is gone would leave the window out of
  // sight: centre it instead.
  if (f.Left() + f.Width() <= 0 || f.Top() + f.Height() <= 0 || f.Left() >= f.ScreenWidth() ||
      f.Top() >= f.ScreenHeight()) {
    f.SetTop(centreTop());
    f.SetLeft(centreLeft());
  }
  bWasReadPos = true;
}

void TQvFormSR::SavePos() {
  if (!bWasReadPos) return;
  IQvFormGeometry& f = *FMasterForm;
  if (FUseRegistry) {
    Integer state = f.WindowState();
    ComputeKeys();
    WriteSz(FAppRegKey, u"maximized", IntToStr(state));
    WriteSz(FAppRegKey, u"Width", IntToStr(f.Width()));
    WriteSz(FAppRegKey, u"Height", IntToStr(f.Height()));
    WriteSz(FAppRegKey, u"Top", IntToStr(f.Top()));
    WriteSz(FAppRegKey, u"Left", IntToStr(f.Left()));
  } else if (FIniFile) {
    const String section = f.FormName();
    try {
      FIniFile->WriteInteger(section, u"Top", f.Top());
      FIniFile->WriteInteger(section, u"Left", f.Left());
      FIniFile->WriteInteger(section, u"Width", f.Width());
      FIniFile->WriteInteger(section, u"Height", f.Height());
      FIniFile->UpdateFile();
    } catch (...) {
      // An unwritable INI file loses the position, nothing more.
    }
  }
}

void TQvFormSR::ResetPos() {
  IQvFormGeometry& f = *FMasterForm;
  f.SetTop(f.ScreenHeight() / 2 - f.Height() / 2);
  f.SetLeft(f.ScreenWidth() / 2 - f.Width() / 2);
  bWasReadPos = true;
}

void TQvFormSR::FormShow() {
  try {
    RestorePos();
  } catch (...) {
    if (Application != nullptr) Application->HandleException(this);
  }
}

void TQvFormSR::FormDestroy() {
  if (!bPosCanSave) return;
  try {
    SavePos();
  } catch (...) {
    if (Application != nullptr) Application->HandleException(this);
  }
}

void TQvFormSR::HookShow(TObject* Sender) {
  // Only the first show restores: a window hidden and shown again stays where
  // the user left it instead of jumping back to the last session's place.
  if (!FShown) {
    FShown = true;
    FormShow();
  }
  if (FSaveFormShow) FSaveFormShow(Sender);
}

void TQvFormSR::HookCloseQuery(TObject* Sender, bool& CanClose) {
  if (FSaveFormCloseQuery) FSaveFormCloseQuery(Sender, CanClose);
}

void TQvFormSR::HookDestroy(TObject* Sender) {
  FormDestroy();
  if (FSaveFormDestroy) FSaveFormDestroy(Sender);
}

bool TQvFormSR::ReadRegINI(const String& Key, bool Default) {
  if (Key.empty()) return Default;
  HKEY key = nullptr;
  if (RegOpenKeyEx(HKEY_CURRENT_USER, FMainAppRegKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return Default;
  DWORD type = 0, value = 0, size = sizeof(value);
  bool ok = RegQueryValueEx(key, Key, nullptr, &type, reinterpret_cast<Byte*>(&value), &size) == ERROR_SUCCESS &&
            type == REG_DWORD && size == sizeof(value);
  RegCloseKey(key);
  return ok ? value != 0 : Default;
}

String TQvFormSR::ReadRegINI(const String& Key, const String& Default) {
  String s;
  if (Key.empty() || !ReadSz(FMainAppRegKey, Key, s)) return Default;
  return s;
}

Integer TQvFormSR::ReadRegINI(const String& Key, Integer Default) {
  String s;
  if (Key.empty() || !ReadSz(FMainAppRegKey, Key, s)) return Default;
  return ToIntOr(s, Default);
}

bool TQvFormSR::SaveRegINI(const String& Key, bool Value) {
  if (Key.empty()) return false;
  DWORD v = Value ? 1 : 0;
  return WriteValue(FMainAppRegKey, Key, REG_DWORD, reinterpret_cast<const Byte*>(&v), sizeof(v));
}

bool TQvFormSR::SaveRegINI(const String& Key, const String& Value) {
  return !Key.empty() && WriteSz(FMainAppRegKey, Key, Value);
}

bool TQvFormSR::SaveRegINI(const String& Key, Integer Value) {
  return !Key.empty() && WriteSz(FMainAppRegKey, Key, IntToStr(Value));
}

String TQvFormSR::AutostartFile() const {
  return IncludeTrailingPathDelimiter(GetShellFolderPath(CSIDL_APPDATA)) + u"autostart/" + RunName() + u".desktop";
}

bool TQvFormSR::StartWithWindows() {
  FStartWithWindows = FileExists(AutostartFile());
  return FStartWithWindows;
}

void TQvFormSR::SetStartWithWindows(bool Value) {
  if (Value == StartWithWindows()) return;
  String file = AutostartFile();
  if (Value) {
    ForceDirectories(ExtractFilePath(file));
    std::ofstream out(StringToUtf8(file), std::ios::trunc);
    out << "[Desktop Entry]\nType=Application\nName=" << DesktopValue(RunName())
        << "\nExec=" << DesktopExec(GetModuleFileName()) << "\n";
    FStartWithWindows = bool(out);
  } else {
    DeleteFile(file);
    FStartWithWindows = FileExists(file);
  }
}

bool TQvFormSR::IsWindowsAdmin() { return ::geteuid() == 0; }
