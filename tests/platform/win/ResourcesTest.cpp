#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/testing/TempHome.h"
#include "platform/win/Module.h"
#include "platform/win/Resources.h"
#include "platform/win/WinError.h"

namespace {

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ResourceText(const String& name, const String& type) {
  const HRSRC r = FindResource(nullptr, name, type);
  if (r == nullptr) return "<missing>";
  const void* p = LockResource(LoadResource(nullptr, r));
  return std::string(static_cast<const char*>(p), SizeofResource(nullptr, r));
}

// The version record of a file, as GetAppVersion formats it; "" on failure.
std::string VersionOf(const String& file) {
  DWORD handle = 1;
  const DWORD size = GetFileVersionInfoSize(file, &handle);
  if (size == 0) return "";
  EXPECT_EQ(handle, 0u);
  std::vector<Byte> buffer(size);
  if (!GetFileVersionInfo(file, handle, size, buffer.data())) return "";
  const void* p = nullptr;
  UINT len = 0;
  if (!VerQueryValue(buffer.data(), u"\\", &p, &len)) return "";
  EXPECT_EQ(len, sizeof(VS_FIXEDFILEINFO));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(p);
  EXPECT_EQ(fixed->dwSignature, VS_FFI_SIGNATURE);
  return std::to_string(fixed->dwFileVersionMS >> 16) + "." + std::to_string(fixed->dwFileVersionMS & 0xFFFF) + "." +
         std::to_string(fixed->dwFileVersionLS >> 16) + "." + std::to_string(fixed->dwFileVersionLS & 0xFFFF);
}

TEST(Resources, TheRunningProgramFindsItsItemsAndStrings) {
  EXPECT_EQ(ResourceText(u"hello", RT_RCDATA), std::string("Hello resources\n\0with a NUL", 27));
  EXPECT_EQ(ResourceText(MAKEINTRESOURCE(7), RT_RCDATA), "\x01\x02\x03\x07");
  EXPECT_EQ(ResourceText(u"#007", u"#10"), "\x01\x02\x03\x07");
  EXPECT_EQ(FindResource(HInstance(), u"HELLO", RT_RCDATA), FindResource(nullptr, u"Hello", RT_RCDATA));

  struct Miss {
    HMODULE Module;
    String Name, Type;
    DWORD Error;
  };
  const Miss misses[] = {
      {nullptr, u"UPD", RT_RCDATA, ERROR_RESOURCE_NAME_NOT_FOUND},
      {nullptr, u"HELLO", u"#2", ERROR_RESOURCE_TYPE_NOT_FOUND},
      {reinterpret_cast<HMODULE>(0x10), u"HELLO", RT_RCDATA, ERROR_INVALID_HANDLE},
  };
  for (const auto& m : misses) {
    EXPECT_EQ(FindResource(m.Module, m.Name, m.Type), nullptr);
    EXPECT_EQ(GetLastError(), m.Error) << StringToUtf8(m.Name);
  }
  EXPECT_EQ(SizeofResource(nullptr, nullptr), 0u);
  EXPECT_EQ(LoadResource(nullptr, nullptr), nullptr);

  EXPECT_EQ(LoadStr(909), u"Download update file : ");  // trailing blank kept
  EXPECT_EQ(LoadStr(912), u"Equal source and target files : %s");
  EXPECT_EQ(LoadStr(42), u"two\nlines and a back\\slash");
  EXPECT_EQ(LoadStr(18), u"");
  EXPECT_EQ(LoadStr(908), u"");
  EXPECT_EQ(LoadStr(-1), u"");
  Char buffer[6] = {u'x'};
  EXPECT_EQ(LoadString(nullptr, 909, buffer, 6), 5);
  EXPECT_EQ(String(buffer), u"Downl");
  EXPECT_EQ(LoadString(nullptr, 4242, buffer, 6), 0);
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(LoadString(nullptr, 909, nullptr, 6), 0);
}

TEST(Resources, VersionRecordsOfProgramFiles) {
  EXPECT_EQ(VersionOf(Utf8ToString(RYX_RESOURCE_SAMPLE)), "1.0.0.7");
  EXPECT_EQ(VersionOf(GetModuleFileName()), "2.3.4.5");

  const String sample = Utf8ToString(RYX_RESOURCE_SAMPLE);
  std::vector<Byte> buffer(GetFileVersionInfoSize(sample, nullptr));
  ASSERT_FALSE(buffer.empty());
  EXPECT_FALSE(GetFileVersionInfo(sample, 0, static_cast<DWORD>(buffer.size() - 1), buffer.data()));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  ASSERT_TRUE(GetFileVersionInfo(sample, 0, static_cast<DWORD>(buffer.size()), buffer.data()));
  const void* p = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValue(buffer.data(), u"\\", &p, &len));
  EXPECT_EQ(static_cast<const VS_FIXEDFILEINFO*>(p)->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(static_cast<const VS_FIXEDFILEINFO*>(p)->dwProductVersionLS, 0u);
  ASSERT_TRUE(VerQueryValue(buffer.data(), u"\\VarFileInfo\\Translation", &p, &len));
  ASSERT_EQ(len, 4u);
  Word translation[2];
  std::memcpy(translation, p, 4);
  EXPECT_EQ(translation[0], 0x0409);
  EXPECT_EQ(translation[1], 0x04E4);

  struct Str {
    String Path;
    String Value;  // "" = absent
  };
  const Str strings[] = {
      {u"\\StringFileInfo\\040904E4\\FileVersion", u"1.0.0.7"},
      {u"\\StringFileInfo\\040904e4\\productversion", u"1.0.0.0"},
      {u"\\StringFileInfo\\040904E4\\CompanyName", u"Ryx test"},
      {u"\\StringFileInfo\\040904E4\\FileDescription", u"Resource sample"},
      {u"\\StringFileInfo\\040904E4\\LegalCopyright", u""},
      {u"\\StringFileInfo\\04150000\\FileVersion", u""},
      {u"\\StringFileInfo\\040904E4", u""},
      {u"\\Nothing", u""},
  };
  for (const auto& s : strings) {
    const bool found = VerQueryValue(buffer.data(), s.Path, &p, &len);
    EXPECT_EQ(found, !s.Value.empty()) << StringToUtf8(s.Path);
    if (found && !s.Value.empty()) {
      EXPECT_EQ(String(static_cast<const Char*>(p)), s.Value);
      EXPECT_EQ(len, s.Value.size() + 1);
    }
  }
  const Byte junk[80] = {};
  EXPECT_FALSE(VerQueryValue(junk, u"\\", &p, &len));
}

TEST(Resources, FilesWithoutARecordGiveTheSystemError) {
  TTempHome home;
  const std::string text = home.Path() + "/plain.txt";
  WriteBytes(text, "just text, long enough to look at its first sixty-four bytes......");
  struct Case {
    String File;
    DWORD Error;
  };
  const Case cases[] = {
      {Utf8ToString(RYX_RESOURCE_NOVERSION), ERROR_RESOURCE_TYPE_NOT_FOUND},
      {u"/bin/sh", ERROR_RESOURCE_DATA_NOT_FOUND},
      {Utf8ToString(text), ERROR_RESOURCE_DATA_NOT_FOUND},
      {Utf8ToString(home.Path()), ERROR_RESOURCE_DATA_NOT_FOUND},
      {Utf8ToString(home.Path() + "/missing.exe"), ERROR_FILE_NOT_FOUND},
  };
  for (const auto& c : cases) {
    DWORD handle = 0;
    EXPECT_EQ(GetFileVersionInfoSize(c.File, &handle), 0u) << StringToUtf8(c.File);
    EXPECT_EQ(GetLastError(), c.Error) << StringToUtf8(c.File);
    Byte buffer[256];
    EXPECT_FALSE(GetFileVersionInfo(c.File, 0, sizeof buffer, buffer));
  }
}

void PutU32(std::string& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
}
void PutU64(std::string& s, size_t at, uint64_t v) {
  for (int i = 0; i < 8; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
}

TEST(Resources, DamagedProgramFilesDoNotCrashTheReader) {
  TTempHome home;
  const std::string original = ReadBytes(RYX_RESOURCE_SAMPLE);
  const size_t blob = original.find(std::string("RYXRES\0\1", 8));
  ASSERT_NE(blob, std::string::npos);
  const size_t version = original.find(std::string("\xBD\x04\xEF\xFE", 4), blob);
  ASSERT_NE(version, std::string::npos);

  std::vector<std::string> variants;
  for (size_t cut : {size_t{10}, size_t{64}, size_t{100}, blob + 4, blob + 20, version + 30, original.size() - 1})
    variants.push_back(original.substr(0, std::min(cut, original.size())));
  auto patched = [&](auto change) {
    std::string s = original;
    change(s);
    variants.push_back(s);
  };
  patched([&](std::string& s) { PutU32(s, blob + 8, 0xFFFFFFFF); });       // entry count
  patched([&](std::string& s) { PutU32(s, blob + 16, 0xFFFFFFF0); });      // first type length
  patched([&](std::string& s) { PutU32(s, blob + 24, 0x7FFFFFFF); });      // first data length
  patched([&](std::string& s) { PutU32(s, version + 56, 0xFFFFFFFF); });   // string count
  patched([&](std::string& s) { PutU32(s, version + 60, 0xFFFFFFFE); });   // first key length
  patched([&](std::string& s) { PutU64(s, 0x28, 0xFFFFFFFFFFFFFF00ull); });  // section table offset
  patched([&](std::string& s) { s[0x3C] = '\xFF'; s[0x3D] = '\xFF'; });    // section count
  patched([&](std::string& s) { s[0x3E] = '\xFE'; s[0x3F] = '\xFF'; });    // names section index
  patched([&](std::string& s) { s[0x3A] = 1; s[0x3B] = 0; });              // section entry size
  patched([&](std::string& s) {  // every section says it spans the whole address space
    const uint64_t shoff = static_cast<unsigned char>(s[0x28]) | (uint64_t(static_cast<unsigned char>(s[0x29])) << 8) |
                           (uint64_t(static_cast<unsigned char>(s[0x2A])) << 16);
    for (size_t at = shoff; at + 64 <= s.size(); at += 64) PutU64(s, at + 0x20, ~0ull);
  });

  const std::string path = home.Path() + "/damaged";
  for (size_t i = 0; i < variants.size(); ++i) {
    WriteBytes(path, variants[i]);
    const String file = Utf8ToString(path);
    const DWORD size = GetFileVersionInfoSize(file, nullptr);
    if (size == 0) {
      EXPECT_NE(GetLastError(), ERROR_SUCCESS) << "variant " << i;
      continue;
    }
    // Whatever still reads must be a consistent record.
    std::vector<Byte> buffer(size);
    ASSERT_TRUE(GetFileVersionInfo(file, 0, size, buffer.data())) << "variant " << i;
    const void* p = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValue(buffer.data(), u"\\", &p, &len)) << "variant " << i;
    VerQueryValue(buffer.data(), u"\\StringFileInfo\\040904E4\\FileVersion", &p, &len);
  }
}

}  // namespace
