#pragma once
// Whole-or-nothing file writes and plain whole-file reads for the per-user data
// folder. A save that fails half-way must never leave the player without the
// previous file, so every write goes to a temporary file beside the target and
// is renamed over it only once it is safely on disk.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

enum class ReadStatus { Ok, Missing, Failed };

struct FileRead {
    ReadStatus status = ReadStatus::Missing;
    std::string bytes;  // the bytes read (at most the limit asked for) when status is Ok
};

// Reads at most maxBytes bytes from the start of the file. A file that does not
// exist is Missing; one that exists but cannot be opened or read (a folder, no
// permission, an I/O error) is Failed.
FileRead ReadFileBytes(const std::string& path, std::size_t maxBytes = static_cast<std::size_t>(-1));

// True when something exists at path (file or otherwise).
bool PathExists(const std::string& path);

// Writes bytes to path whole or not at all: temporary file path + ".tmp" in the
// same folder, write, flush, fsync, rename over the target. Returns false on any
// failure; the previous content of path is then untouched.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

// Tests inject write failures here: while set, a write whose target the predicate
// accepts fails at the step `failAt` names, as a full disk or a lost device would.
enum class WriteFailurePoint { Open, Write, Rename };
struct WriteFaultInjection {
    std::function<bool(const std::string& path)> matches;
    WriteFailurePoint failAt = WriteFailurePoint::Write;
};
void SetWriteFaultInjection(WriteFaultInjection fault);
void ClearWriteFaultInjection();
