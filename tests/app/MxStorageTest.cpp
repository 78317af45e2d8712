// The firmware store: items at every level, the stored form read back,
// names, assignment, extraction into folders, and hostile stored data.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/MxStorage.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/testing/TempHome.h"
#include "tests/app/AppTestSupport.h"

using namespace app_test;
namespace fs = std::filesystem;

namespace {

const TCompressionLevel kLevels[] = {TCompressionLevel::clNone, TCompressionLevel::clFastest,
                                     TCompressionLevel::clDefault, TCompressionLevel::clMax};

TmxStoredItem* AddItem(TmxStorage& store, const std::string& bytes,
                       TCompressionLevel level = TCompressionLevel::clDefault) {
  TmxStoredItem* item = store.StoredItems()->Add();
  item->SetCompression(level);
  TBytesStream in(TBytes(bytes.begin(), bytes.end()));
  item->LoadFromStream(&in);
  return item;
}

std::string SaveForm(const TmxStorage& store) {
  TBytesStream out;
  store.SaveStore(&out);
  return StreamBytes(&out);
}

void LoadForm(TmxStorage& store, const std::string& form) {
  TBytesStream in(TBytes(form.begin(), form.end()));
  store.LoadStore(&in);
}

std::string U32(std::uint32_t v) {
  return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}
std::string Short(const std::string& s) { return std::string(1, char(s.size())) + s; }

// A stored form with one item made of the given property bytes.
std::string FormWithItem(const std::string& itemProps) {
  return "TPF0" + Short("TmxStorage") + Short("mxStorage1") + Short("StoredItems") + "\x0e\x01" + itemProps +
         std::string("\0\0\0\0", 4);
}
std::string StoredItemProp(std::uint32_t blockSize, std::uint32_t inner, const std::string& held) {
  return Short("StoredItem") + "\x0a" + U32(blockSize) + U32(inner) + held;
}

}  // namespace

TEST(MxStorage, EveryLevelRoundTripsThroughTheStoredForm) {
  for (std::size_t size : {std::size_t(0), std::size_t(10), std::size_t(3) << 20}) {
    const std::string bytes = SampleBytes(size, static_cast<std::uint32_t>(size));
    for (TCompressionLevel level : kLevels) {
      SCOPED_TRACE(testing::Message() << "size " << size << " level " << int(level));
      TmxStorage store(nullptr);
      TmxStoredItem* item = AddItem(store, bytes, level);
      item->SetName(u"fw.bin");
      item->SetTag(7);
      EXPECT_EQ(item->FileSize(), size == 0 ? 0 : static_cast<Integer>(size));
      if (level == TCompressionLevel::clNone) {
        EXPECT_EQ(item->Size(), static_cast<Integer>(size));
      }
      const std::string held = HeldBytes(item->Data());

      TmxStorage back(nullptr);
      LoadForm(back, SaveForm(store));
      ASSERT_EQ(back.StoredItems()->Count(), 1);
      TmxStoredItem* copy = back.ItemByIndex(0);
      EXPECT_EQ(copy->Name(), u"fw.bin");
      EXPECT_EQ(copy->Tag(), 7);
      EXPECT_EQ(copy->Compression(), level);
      EXPECT_EQ(copy->FileSize(), item->FileSize());
      EXPECT_EQ(HeldBytes(copy->Data()), held);  // held bytes travel as they are
      EXPECT_EQ(StreamBytes(copy->AsStream()), bytes);
    }
  }
}

TEST(MxStorage, ItemNamesRoundTripExactly) {
  const String names[] = {
      u"fw.bin",
      u"\u0141\u00F3d\u017A.hex",                 // non-ASCII letters
      u"pair \U0001F600",                          // a surrogate pair
      String(u"high ") + char16_t(0xD800),         // an unpaired high surrogate at the end
      String(1, char16_t(0xDC00)) + u" low",       // an unpaired low surrogate first
      String(u"swapped ") + char16_t(0xDE00) + char16_t(0xD83D),
  };
  TmxStorage store(nullptr);
  for (const String& name : names) AddItem(store, "x")->SetName(name);
  TmxStorage back(nullptr);
  LoadForm(back, SaveForm(store));
  ASSERT_EQ(back.StoredItems()->Count(), Integer(std::size(names)));
  for (Integer i = 0; i < back.StoredItems()->Count(); ++i) {
    EXPECT_EQ(back.ItemByIndex(i)->Name(), names[i]) << i;
    EXPECT_EQ(back.ItemByName(names[i]), back.ItemByIndex(i)) << i;
  }
}

TEST(MxStorage, TenBytesAtTheDefaultLevel) {
  TmxStorage store(nullptr);
  TmxStoredItem* item = AddItem(store, "0123456789");
  EXPECT_EQ(item->FileSize(), 10);
  EXPECT_GT(item->Size(), 10);  // zlib framing outweighs ten bytes
  const String ratio = item->Ratio();
  EXPECT_EQ(ratio.back(), u'%');
  TStream* s = item->AsStream();
  EXPECT_EQ(s->Position(), 0);
  EXPECT_EQ(StreamBytes(s), "0123456789");
  // Reading does not change the item: its level, held bytes and ratio stay.
  EXPECT_EQ(item->Compression(), TCompressionLevel::clDefault);
  EXPECT_EQ(item->Ratio(), ratio);
  EXPECT_GT(item->Size(), 10);
}

TEST(MxStorage, RatiosAndSums) {
  TmxStorage store(nullptr);
  EXPECT_EQ(store.Ratio(), u"100%");
  EXPECT_EQ(store.Version(), u"1.21");
  TmxStoredItem* raw = AddItem(store, std::string(200, 'x'), TCompressionLevel::clNone);
  EXPECT_EQ(raw->Ratio(), u"100" + String(1, FormatSettings.DecimalSeparator) + u"00%");
  AddItem(store, std::string(1000, 'y'));
  EXPECT_EQ(store.OriginalSize(), 1200);
  EXPECT_EQ(store.Size(), raw->Size() + store.ItemByIndex(1)->Size());
  EXPECT_EQ(store.TotalSize(), store.Size());
  EXPECT_EQ(store.StoredItems()->Add()->Ratio(), u"100%");
}

TEST(MxStorage, RawItemsTellTheirLengthAndEmptyLoadsKeepIt) {
  TmxStorage store(nullptr);
  TmxStoredItem* item = AddItem(store, "abcdef", TCompressionLevel::clNone);
  EXPECT_EQ(item->FileSize(), 6);
  TBytesStream empty;
  item->LoadFromStream(&empty);
  EXPECT_EQ(item->Size(), 0);
  EXPECT_EQ(item->FileSize(), 6);
  item->LoadFromStream(nullptr);
  EXPECT_EQ(item->FileSize(), 6);
  // An empty item writes no binary property.
  EXPECT_EQ(SaveForm(store).find(Short("StoredItem") + "\x0a"), std::string::npos);
}

TEST(MxStorage, ChangingTheLevelReencodes) {
  TmxStorage store(nullptr);
  const std::string bytes = SampleBytes(5000);
  TmxStoredItem* item = AddItem(store, bytes, TCompressionLevel::clMax);
  const Integer packed = item->Size();
  item->SetCompression(TCompressionLevel::clNone);
  EXPECT_EQ(item->Size(), 5000);
  EXPECT_EQ(HeldBytes(item->Data()), bytes);
  item->SetCompression(TCompressionLevel::clFastest);
  EXPECT_LT(item->Size(), 5000);
  EXPECT_NE(item->Size(), 0);
  EXPECT_EQ(StreamBytes(item->AsStream()), bytes);
  (void)packed;
}

TEST(MxStorage, EventsOfLoadAndSave) {
  TmxStorage store(nullptr);
  TmxStoredItem* item = store.StoredItems()->Add();
  std::vector<std::string> log;
  item->OnBeforeLoad = [&](TObject*, TStream* s) { log.push_back("before load @" + std::to_string(s->Position())); };
  item->OnAfterLoad = [&](TObject*) { log.push_back("after load"); };
  item->OnBeforeSave = [&](TObject*, TStream*) { log.push_back("before save"); };
  item->OnAfterSave = [&](TObject*) { log.push_back("after save"); };
  TBytesStream in(TBytes{1, 2, 3});
  in.SetPosition(2);
  item->LoadFromStream(&in);
  TBytesStream out;
  item->SaveToStream(&out);
  EXPECT_EQ(log, (std::vector<std::string>{"before load @0", "after load", "before save", "after save"}));
  EXPECT_EQ(StreamBytes(&out), std::string("\1\2\3", 3));
  bool destroyed = false;
  item->OnDestroy = [&](TObject*) {
    destroyed = true;
    EXPECT_EQ(store.StoredItems()->Count(), 0);  // it has left the collection already
  };
  delete item;  // ownership code of the test: the collection lets it go
  EXPECT_TRUE(destroyed);
}

TEST(MxStorage, NamesAreUniqueWithoutRegardToCase) {
  TmxStorage store(nullptr);
  TmxStoredItem* a = store.StoredItems()->Add();
  TmxStoredItem* b = store.StoredItems()->Add();
  EXPECT_EQ(a->Name(), u"mxStoredItem1");
  EXPECT_EQ(b->Name(), u"mxStoredItem2");
  delete a;  // a free lower number is reused
  EXPECT_EQ(store.StoredItems()->Add()->Name(), u"mxStoredItem1");

  b->SetName(u"abc");
  b->SetName(u"ABC");
  EXPECT_EQ(b->Name(), u"abc");
  TmxStoredItem* c = store.ItemByIndex(1);
  c->SetName(u"other");
  try {
    c->SetName(u"aBc");
    FAIL() << "a duplicate name was taken";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"Duplicated stored item name");
  }
  EXPECT_EQ(c->Name(), u"other");
  EXPECT_EQ(b->DisplayName(), u"abc");
}

TEST(MxStorage, LookUps) {
  TTempHome home;
  TmxStorage store(nullptr);
  TmxStoredItem* first = AddItem(store, "1");
  first->SetName(u"00_RYX-VORIRA_42_m88_OK.bin");
  const std::string file = home.Path() + "/pinout.png";
  WriteFileBytes(file, "png bytes");
  TmxStoredItem* second = store.StoredItems()->Add();
  second->LoadFromFile(Utf8ToString(file));
  EXPECT_EQ(second->FileName(), u"pinout.png");
  EXPECT_EQ(second->FileSize(), 9);

  EXPECT_EQ(store.ItemByName(u"00_ryx-vorira_42_m88_ok.BIN"), first);
  EXPECT_EQ(store.ItemByFileName(u"PINOUT.PNG"), second);
  EXPECT_EQ(store.ItemByFileName(u"missing.bin"), nullptr);
  EXPECT_EQ(store.ItemByName(u"missing"), nullptr);
  EXPECT_EQ(store.ItemByIndex(1), second);
  EXPECT_EQ(store.StoredItem(0), first);
  EXPECT_EQ(store.ItemByIndex(2), nullptr);
  EXPECT_EQ(store.ItemByIndex(5), nullptr);
  EXPECT_THROW(store.ItemByIndex(-1), EListError);
  EXPECT_THROW(second->LoadFromFile(u"/nonexistent/folder/file.bin"), EFOpenError);
  // FileName and FileSize are taken only from the stored form.
  second->SetFileName(u"other.png");
  second->SetFileSize(1);
  EXPECT_EQ(second->FileName(), u"pinout.png");
  EXPECT_EQ(second->FileSize(), 9);
}

TEST(MxStorage, AssignCopiesBytesWithTheirLevelAndLength) {
  TmxStorage store(nullptr);
  const std::string bytes = SampleBytes(4000);
  TmxStoredItem* source = AddItem(store, bytes, TCompressionLevel::clMax);
  source->SetName(u"src");
  source->SetTag(3);
  TmxStoredItem* dest = AddItem(store, "old", TCompressionLevel::clNone);
  dest->SetName(u"dst");
  dest->Assign(source);
  EXPECT_EQ(dest->Name(), u"dst");
  EXPECT_EQ(dest->Tag(), 3);
  EXPECT_EQ(dest->Compression(), TCompressionLevel::clMax);
  EXPECT_EQ(dest->FileSize(), 4000);
  EXPECT_EQ(StreamBytes(dest->AsStream()), bytes);
  EXPECT_THROW(dest->Assign(&store), EConvertError);

  // The collection: the items are copied into the other store.
  TmxStorage other(nullptr);
  other.SetStoredItems(store.StoredItems());
  ASSERT_EQ(other.StoredItems()->Count(), 2);
  EXPECT_EQ(StreamBytes(other.ItemByIndex(0)->AsStream()), bytes);
}

TEST(MxStorage, ExtractWritesEachFileIntoTheFolder) {
  TTempHome home;
  TmxStorage store(nullptr);
  const std::string a = SampleBytes(3000, 5);
  AddItem(store, a)->LoadFromFile([&] {
    WriteFileBytes(home.Path() + "/a.bin", a);
    return Utf8ToString(home.Path() + "/a.bin");
  }());
  AddItem(store, "raw", TCompressionLevel::clNone);
  // The second item has no file name yet: only the stored form gives one.
  std::vector<std::string> after, errors;
  store.OnAfterExtract = [&](TObject*, const String& dir, const String& name) {
    after.push_back(StringToUtf8(dir + name));
  };
  store.OnExtractError = [&](TObject*, const String& dir, const String& name) {
    errors.push_back(StringToUtf8(dir) + "|" + StringToUtf8(name));
  };
  const std::string out = home.Path() + "/out/nested";
  EXPECT_FALSE(store.ExtractTo(Utf8ToString(out)));
  EXPECT_EQ(ReadFileBytes(out + "/a.bin"), a);
  EXPECT_EQ(after, (std::vector<std::string>{out + "/a.bin"}));
  EXPECT_EQ(errors, (std::vector<std::string>{out + "/|"}));
}

TEST(MxStorage, ExtractHandlersMoveRenameOrSkip) {
  TTempHome home;
  TmxStorage store(nullptr);
  const std::string bytes = SampleBytes(100);
  WriteFileBytes(home.Path() + "/f.bin", bytes);
  for (int i = 0; i < 4; ++i) AddItem(store, "")->LoadFromFile(Utf8ToString(home.Path() + "/f.bin"));
  const std::string moved = home.Path() + "/elsewhere/deeper";
  std::vector<std::string> errors;
  int index = 0;
  store.OnBeforeExtract = [&](TObject*, String& dir, String& name, bool& can) {
    switch (index++) {
      case 0: dir = Utf8ToString(moved); break;   // a folder of the handler's choice, made for it
      case 1: name = u"../escape.bin"; break;     // would leave the folder
      case 2: can = false; break;                 // skipped: no error
      default: name = u"sub/inner.bin"; break;    // a sub-folder inside is fine
    }
  };
  store.OnExtractError = [&](TObject*, const String& dir, const String& name) {
    errors.push_back(StringToUtf8(dir + name));
  };
  const std::string out = home.Path() + "/out";
  EXPECT_FALSE(store.ExtractTo(Utf8ToString(out)));
  EXPECT_EQ(ReadFileBytes(moved + "/f.bin"), bytes);
  EXPECT_FALSE(fs::exists(home.Path() + "/escape.bin"));
  EXPECT_EQ(errors, (std::vector<std::string>{out + "/../escape.bin"}));
  EXPECT_EQ(ReadFileBytes(out + "/sub/inner.bin"), bytes);
  EXPECT_TRUE(TmxStorage(nullptr).ExtractTo(Utf8ToString(out)));  // nothing to do
}

TEST(MxStorage, ExtractReportsDamagedDataAndLeavesNoFile) {
  TTempHome home;
  TmxStorage store(nullptr);
  TmxStoredItem* item = AddItem(store, SampleBytes(2000));
  std::string held = HeldBytes(item->Data());
  held.resize(held.size() / 2);
  item->SetHeldData(held.data(), static_cast<Integer>(held.size()));
  int errors = 0;
  store.OnExtractError = [&](TObject*, const String&, const String&) { ++errors; };
  // File names come from the stored form only: write one into it.
  std::string form = SaveForm(store);
  const std::string key = Short("FileName") + "\x06" + Short("");
  const auto at = form.find(key);
  ASSERT_NE(at, std::string::npos);
  form.replace(at, key.size(), Short("FileName") + "\x06" + Short("fw.bin"));
  LoadForm(store, form);
  EXPECT_THROW(store.ItemByIndex(0)->AsStream(), EZDecompressionError);
  EXPECT_FALSE(store.ExtractTo(Utf8ToString(home.Path())));
  EXPECT_EQ(errors, 1);
  EXPECT_FALSE(fs::exists(home.Path() + "/fw.bin"));
}

TEST(MxStorage, HostileStoredFormsAreRefused) {
  const std::string tiny = "abc";
  struct Case {
    const char* what;
    std::string form;
  } cases[] = {
      {"empty", ""},
      {"signature", "TPF1" + Short("TmxStorage")},
      {"class", "TPF0" + Short("TOther") + Short("x") + std::string(2, '\0')},
      {"block past the end", FormWithItem(StoredItemProp(1000, 996, tiny))},
      {"inner count above the block", FormWithItem(StoredItemProp(7, 100, tiny))},
      {"inner count below the block", FormWithItem(StoredItemProp(7, 1, tiny))},
      {"block too short for a count", FormWithItem(Short("StoredItem") + "\x0a" + U32(2) + "ab")},
      {"huge block", FormWithItem(StoredItemProp(0xFFFFFFFF, 0xFFFFFFFB, tiny))},
      {"long text past the end", FormWithItem(Short("Name") + "\x0c" + U32(0x7FFFFFFF) + "x")},
      {"wide text past the end", FormWithItem(Short("Name") + "\x12" + U32(0x40000000) + "x")},
      {"unknown property", FormWithItem(Short("Bogus") + "\x02\x01")},
      {"unknown level", FormWithItem(Short("Compression") + "\x07" + Short("clUltra"))},
      {"integer of text kind", FormWithItem(Short("FileSize") + "\x06" + Short("12"))},
      {"truncated name", "TPF0" + Short("TmxStorage") + "\x20mx"},
      {"duplicate names", "TPF0" + Short("TmxStorage") + Short("m") + Short("StoredItems") + "\x0e" + "\x01" +
                              Short("Name") + "\x06" + Short("a") + '\0' + "\x01" + Short("Name") + "\x06" +
                              Short("A") + std::string(4, '\0')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TmxStorage store(nullptr);
    AddItem(store, "kept until the load");
    try {
      LoadForm(store, c.form);
      ADD_FAILURE() << "accepted";
    } catch (const Exception&) {
    }
    EXPECT_EQ(store.StoredItems()->Count(), 0);
    EXPECT_FALSE(store.ComponentState().Contains(csLoading));
  }
}

TEST(MxStorage, TooManyItemsAreRefused) {
  std::string items;
  for (int i = 0; i < 1025; ++i) items += "\x01" + std::string(1, '\0');
  const std::string form = "TPF0" + Short("TmxStorage") + Short("m") + Short("StoredItems") + "\x0e" + items +
                           std::string(3, '\0');
  TmxStorage store(nullptr);
  EXPECT_THROW(LoadForm(store, form), EReadError);
  EXPECT_EQ(store.StoredItems()->Count(), 0);
}

TEST(MxStorage, HostileHeldBytesAreRefusedWithBoundedWork) {
  // Held bytes made by zlib itself (Python's zlib gives the same framing).
  auto held = [](const std::string& content, TCompressionLevel level) {
    TBytesStream out;
    {
      TCompressionStream z(level, &out);
      z.WriteBuffer(content.data(), static_cast<Integer>(content.size()));
    }
    return StreamBytes(&out);
  };
  struct Case {
    const char* what;
    std::string held;
  } cases[] = {
      {"not zlib", "definitely not a zlib stream"},
      {"truncated", held(U32(5000) + SampleBytes(5000), TCompressionLevel::clDefault).substr(0, 40)},
      {"length above the data", held(U32(5000) + SampleBytes(10), TCompressionLevel::clDefault)},
      {"length no data could hold", held(U32(0x7FFFFFFF) + std::string(100, '\0'), TCompressionLevel::clMax)},
      // A bomb: a megabyte of zeros in a kilobyte, claiming more than the cap.
      {"bomb beyond the cap", held(U32(0x20000000) + std::string(1 << 20, '\0'), TCompressionLevel::clMax)},
      {"no length", held("ab", TCompressionLevel::clDefault)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TmxStorage store(nullptr);
    TmxStoredItem* item = store.StoredItems()->Add();
    item->SetHeldData(c.held.data(), static_cast<Integer>(c.held.size()));
    EXPECT_THROW(item->AsStream(), EZDecompressionError);
    TBytesStream sink;
    EXPECT_THROW(item->SaveToStream(&sink), EZDecompressionError);
    EXPECT_LE(sink.Size(), 5000);
  }
  // A bomb whose stored length is honest but small: only that much is produced.
  TmxStorage store(nullptr);
  TmxStoredItem* item = store.StoredItems()->Add();
  const std::string bomb = held(U32(16) + std::string(8 << 20, '\0'), TCompressionLevel::clMax);
  item->SetHeldData(bomb.data(), static_cast<Integer>(bomb.size()));
  EXPECT_EQ(StreamBytes(item->AsStream()), std::string(16, '\0'));
}

// Python's zlib on the other side: it inflates what the store wrote at every
// level, and the store reads what Python wrote, a stored (level 0) block included.
TEST(MxStorage, HeldBytesAgreeWithPythonsZlib) {
  TTempHome home;
  const std::string bytes = SampleBytes(70000, 9);  // more than one stored block
  const std::string data = home.Path() + "/data.bin";
  WriteFileBytes(data, bytes);
  for (TCompressionLevel level : kLevels) {
    if (level == TCompressionLevel::clNone) continue;
    SCOPED_TRACE(int(level));
    TmxStorage store(nullptr);
    TmxStoredItem* item = AddItem(store, bytes, level);
    const std::string heldPath = home.Path() + "/held.z";
    WriteFileBytes(heldPath, HeldBytes(item->Data()));
    const std::string out = home.Path() + "/py.out";
    const std::string cmd = std::string(RYX_PYTHON) +
                            " -c \"import sys,zlib,struct; d=zlib.decompress(open(sys.argv[1],'rb').read());"
                            " n=struct.unpack('<I',d[:4])[0]; assert n==len(d)-4; open(sys.argv[2],'wb').write(d[4:])\" " +
                            heldPath + " " + out;
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    EXPECT_EQ(ReadFileBytes(out), bytes);
  }
  for (int level : {0, 6, 9}) {
    SCOPED_TRACE(level);
    const std::string heldPath = home.Path() + "/py.z";
    const std::string cmd = std::string(RYX_PYTHON) +
                            " -c \"import sys,zlib,struct; b=open(sys.argv[1],'rb').read();"
                            " open(sys.argv[2],'wb').write(zlib.compress(struct.pack('<I',len(b))+b," +
                            std::to_string(level) + "))\" " + data + " " + heldPath;
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    const std::string held = ReadFileBytes(heldPath);
    TmxStorage store(nullptr);
    TmxStoredItem* item = store.StoredItems()->Add();
    item->SetHeldData(held.data(), static_cast<Integer>(held.size()));
    EXPECT_EQ(StreamBytes(item->AsStream()), bytes);
  }
}
