#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <sys/types.h>

namespace platform {

// Writes `text` to `file`, which must not exist yet, and flushes it to disk; 0 or the errno that
// stopped it. A file left half written is removed.
int writeNewFileDurably(const std::filesystem::path& file, const std::string& text, mode_t mode);

// Replaces `target` with a file holding `text`, so that a crash or a power cut leaves the old file
// or the new one, never half of one: a temporary beside it (`<name>.tmp-<pid>`) is written, flushed
// and renamed over it, then the folder is flushed so that the rename lasts too. Temporaries that
// writers no longer running left beside `target` are removed first. A new file gets `mode`; an
// existing one keeps the permissions its owner gave it. The folder is created when missing.
// `beforeReplace` runs between writing and renaming; answering false abandons the write there, as
// a crash would. 0 (also when abandoned) or the errno that stopped it.
int replaceFileAtomically(const std::filesystem::path& target, const std::string& text, mode_t mode,
                          const std::function<bool()>& beforeReplace = {});

} // namespace platform
