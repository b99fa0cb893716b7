// safe_files.h - files written and read safely, for every layer (the
// graphics library on Windows and elsewhere, and the platform's printing
// module): a file is replaced by writing the new content to a temporary
// file beside it and renaming that over it once complete, so that the file
// of that name is at any moment either the old content or the whole new
// one, and a failed write leaves the old file as it was. A name that is not
// a regular file (a folder, a device such as /dev/full or NUL, a named pipe,
// a socket) is refused without being opened or removed.
//
// Reasons are the system's own (strerror, or FormatMessage on Windows) or a
// short phrase for a refusal ("it is a device, not a regular file"); they
// never name the file, so that each caller says which file it was.
#ifndef KIVA_BASE_SAFE_FILES_H
#define KIVA_BASE_SAFE_FILES_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace kiva_files {

// A replacement of one file in progress. The temporary file is named
// ".kiva-PROCESS-N.part" in the target's folder, whatever the target's name
// (a name as long as the system allows still has room for it). Destroying
// an uncommitted replacement removes the temporary file.
class FileReplacement {
public:
    FileReplacement() = default;
    ~FileReplacement() { Abandon(); }
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Starts replacing `target`. A target that exists must be a regular
    // file, or a symbolic link to one (the file it names is replaced, the
    // link stays); the new file takes its permissions. False with the reason
    // when the target is refused or no temporary file can be made beside it
    // (no such folder, no permission, a read-only file system).
    bool Begin(const std::string& target, std::string& reason);

    // Appends `size` bytes, all or none: a write that fails part way is cut
    // back, so the file holds only whole calls' bytes. After the first
    // failure every call fails with the same reason.
    bool Write(const void* data, size_t size, std::string& reason);

    // Closes the file and renames it over the target. False with the reason
    // when a write failed or the file cannot be closed or renamed; the
    // temporary file is then removed and the target left as it was.
    bool Commit(std::string& reason);

    // Removes the temporary file; the target stays as it was.
    void Abandon();

    // Between Begin and Commit or Abandon.
    bool Active() const { return active_; }

private:
    bool active_ = false;
    bool failed_ = false;
    std::string failure_;
    std::string target_;     // the file renamed over (a link's own file)
    std::string temporary_;  // beside it
    uint64_t written_ = 0;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

// Replaces `target` with `size` bytes at once (FileReplacement's rules).
bool ReplaceWholeFile(const std::string& target, const void* data, size_t size, std::string& reason);

// Whether `target` could be replaced now: Begin's checks, and a temporary
// file made beside it and removed. False with the reason.
bool Replaceable(const std::string& target, std::string& reason);

// Opens an existing regular file for reading ("rb"), refusing anything
// else without waiting (a named pipe nobody writes to, a device, a folder);
// `size` is its size when opened. Null with the reason otherwise.
std::FILE* OpenRegularFile(const std::string& path, uint64_t& size, std::string& reason);

}  // namespace kiva_files

#endif
