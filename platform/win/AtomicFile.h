#pragma once
// Whole-file replacement and folder creation for the layer's own writers (INI
// files, the registry hive, the serial-port alias table, file copies). Not for
// use outside platform/.
#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace atomic_file {

struct ReplaceOptions {
  // Mode of a new file (the umask applies); an existing target keeps its own.
  mode_t NewFileMode = 0666;
  // false: the target must not exist (EEXIST), checked in the same step that
  // puts the new file in place.
  bool Replace = true;
  // true: a symbolic link stays a link and the file it names is replaced.
  // false: the link itself is replaced, as rename does.
  bool FollowLinks = true;
  // Runs when the new file is complete on disk, just before it takes the
  // target's place (tests stop the process there).
  std::function<void()> BeforeReplace;
};

// Answers 0 or an errno; receives the temporary file's open descriptor.
using Filler = std::function<int(int fd)>;

// Writes `target` whole or not at all: `fill` writes a temporary file beside
// it, which is flushed to disk and renamed over the target; then the folder is
// flushed. Answers 0, or the errno of the first failure (EISDIR for a folder
// or other non-file in the target's place); on failure the old file is
// untouched and the temporary is removed.
int ReplaceFile(const std::string& target, const Filler& fill, const ReplaceOptions& options = {});
// The same with the whole content in hand.
int ReplaceFile(const std::string& target, std::string_view content, const ReplaceOptions& options = {});

// Writes all `size` bytes to fd, through short writes and interruptions;
// 0 or the errno (ENOSPC when the device takes nothing).
int WriteAll(int fd, const void* data, std::size_t size);

// Creates the folder and its missing parents with `mode` (the umask applies).
// 0 when the folder exists afterwards, else the errno (ENOTDIR when a file
// stands in the way, ENOENT for an empty name).
int MakeFolders(const std::string& folder, mode_t mode = 0777);
// True for an existing folder (links followed).
bool IsFolder(const std::string& path);
// The folder part of a path: "." for a bare name, "/" for an entry of the root.
std::string FolderOf(const std::string& path);
// Flushes a folder's entries to disk after a rename or unlink in it; a
// failure is ignored, since the files themselves are complete either way.
void SyncFolder(const std::string& folder);

}  // namespace atomic_file
