#pragma once
// Whole-or-nothing file writes and bounded whole-file reads for the per-user data
// folder. A save that fails half-way must never leave the player without the
// previous file, so every write goes to a fresh temporary file beside the target
// and is renamed over it only once it is safely on disk. Reads never block and
// never take more than they are allowed: a FIFO, a device or a folder in place of
// a data file is simply a file that cannot be read.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

enum class ReadStatus { Ok, Missing, Failed };

struct FileRead {
    ReadStatus status = ReadStatus::Missing;
    std::string bytes;  // the bytes read when status is Ok
};

// Reads at most maxBytes bytes from the start of a regular file (the rest of a
// longer file is ignored). A file that does not exist is Missing; one that exists
// but cannot be opened or read (no permission, a folder, a FIFO or device, an I/O
// error) is Failed.
FileRead ReadFileBytes(const std::string& path, std::size_t maxBytes);

// Reads a whole regular file, as ReadFileBytes; a file longer than limit counts
// as unreadable (Failed).
FileRead ReadWholeFile(const std::string& path, std::size_t limit);

// True when something exists at path (file or otherwise).
bool PathExists(const std::string& path);

// Why a write did not happen, in the terms the player is told.
enum class WriteError {
    None,
    NoSpace,         // the disk or the quota is full
    NoPermission,    // no right to write there, a read-only or immutable file system or file
    NoFolder,        // the folder does not exist or something in its path is no folder
    KeptUnreadable,  // something is at the path that cannot be read: it is kept, not replaced
    Other,
};
WriteError WriteErrorOf(int errorNumber);

// Writes bytes to path whole or not at all: a temporary file created new beside
// the target (path + "." + six random characters + ".tmp"; an existing file or
// link is never opened), write, flush, fsync, rename over the target. The new file
// keeps the permission bits of the file it replaces. Returns false on any failure,
// and refuses to replace something at path that is not a regular file it can read
// (what it holds would be lost unseen); the previous content of path is then
// untouched. why, when given, receives the reason of a failure (None on success).
bool WriteFileAtomically(const std::string& path, std::string_view bytes, WriteError* why = nullptr);

// Removes the temporary files a write of one of the named files left behind when
// the program was killed half-way (regular files only; links and anything else
// are left alone).
void RemoveStaleTemporaryFiles(const std::string& folder, const std::vector<std::string>& fileNames);

// Tests inject write failures here: while set, a write whose target the predicate
// accepts fails at the step `failAt` names, as a full disk or a lost device would,
// with errorNumber as the system's reason.
enum class WriteFailurePoint { Open, Write, Rename };
struct WriteFaultInjection {
    std::function<bool(const std::string& path)> matches;
    WriteFailurePoint failAt = WriteFailurePoint::Write;
    int errorNumber = 5;  // EIO
};
void SetWriteFaultInjection(WriteFaultInjection fault);
void ClearWriteFaultInjection();
