// Libraries opened on first use: nothing is loaded before the first Load,
// functions are bound once (also when threads race for it), and a missing
// library or function fails with a text that names it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/win/SharedLibrary.h"

namespace {

bool IsLoaded(const char* path) {
  void* h = ::dlopen(path, RTLD_NOW | RTLD_NOLOAD);
  if (h != nullptr) ::dlclose(h);
  return h != nullptr;
}

TEST(SharedLibrary, OpensOnFirstUseAndBindsOnce) {
  TSharedLibrary lib("the probe library", {"libryx-not-installed.so.3", RYX_LAZY_PROBE});
  EXPECT_FALSE(IsLoaded(RYX_LAZY_PROBE));
  EXPECT_FALSE(lib.Loaded());
  int (*answer)(int) = nullptr;
  std::atomic<int> binds = 0;
  std::vector<std::thread> threads;
  std::atomic<int> ok = 0;
  for (int i = 0; i < 4; ++i)
    threads.emplace_back([&] {
      ok += lib.Load([&](TSharedLibrary& l) {
        ++binds;
        l.Bind(answer, "ryx_probe_answer");
      });
    });
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(ok, 4);
  EXPECT_EQ(binds, 1);
  EXPECT_TRUE(lib.Loaded());
  EXPECT_TRUE(lib.Error().empty());
  EXPECT_TRUE(IsLoaded(RYX_LAZY_PROBE));
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer(20), 41);
}

TEST(SharedLibrary, MissingLibraryOrFunctionFailsWithItsName) {
  struct TCase {
    std::vector<std::string> Names;
    const char* Function;
    std::vector<std::string> InError;
  };
  const std::vector<TCase> cases = {
      {{"libryx-not-installed.so.3", "/nonexistent/libryx-also-missing.so"},
       "anything",
       {"Cannot load the test library", "libryx-not-installed.so.3", "/nonexistent/libryx-also-missing.so"}},
      {{"libc.so.6"}, "ryx_no_such_function", {"the test library (libc.so.6) has no function ryx_no_such_function"}},
      {{}, "anything", {"Cannot load the test library"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Function);
    TSharedLibrary lib("the test library", c.Names);
    void (*f)() = reinterpret_cast<void (*)()>(&IsLoaded);
    int binds = 0;
    auto bind = [&](TSharedLibrary& l) {
      ++binds;
      l.Bind(f, c.Function);
    };
    EXPECT_FALSE(lib.Load(bind));
    EXPECT_FALSE(lib.Loaded());
    for (const std::string& part : c.InError) EXPECT_NE(lib.Error().find(part), std::string::npos) << lib.Error();
    // Asked again: the same answer, without a second attempt.
    EXPECT_FALSE(lib.Load(bind));
    EXPECT_LE(binds, 1);
  }
}

}  // namespace
