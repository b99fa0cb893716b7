// Safe replacement and reading of files: POSIX calls on Linux, Win32 calls
// on Windows, the same rules on both.
#include "safe_files.h"

#include <atomic>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#endif

namespace kiva_files {

namespace {

// The folder a file name lies in, with the separator it was written with.
std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return ".";
    if (slash == 0) return path.substr(0, 1);
    return path.substr(0, slash);
}

std::string Separator(const std::string& folder) { return folder.find('\\') != std::string::npos ? "\\" : "/"; }

// The temporary file's name: fixed in length, unique in the process, and
// checked for uniqueness by the exclusive creation.
std::string TemporaryName(const std::string& folder, unsigned long process) {
    static std::atomic<unsigned> counter{0};
    return folder + Separator(folder) + ".kiva-" + std::to_string(process) + "-" + std::to_string(++counter) + ".part";
}

constexpr int kNameTries = 100;

}  // namespace

#ifdef _WIN32

namespace {

std::string SystemReason(DWORD code) {
    char* text = nullptr;
    DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string reason = length > 0 && text != nullptr ? std::string(text, length) : std::string();
    if (text != nullptr) LocalFree(text);
    while (!reason.empty() &&
           (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' ' || reason.back() == '.'))
        reason.pop_back();
    return reason.empty() ? "system error " + std::to_string(code) : reason;
}

// A name that exists: refused unless it is a file on a disk. `real` becomes
// the file a symbolic link names.
bool CheckExisting(const std::string& target, DWORD attributes, std::string& real, std::string& reason) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        reason = "it is a folder, not a regular file";
        return false;
    }
    // Opened for no access at all: the kind of file is asked, nothing read.
    HANDLE probe = CreateFileA(target.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE) {
        reason = SystemReason(GetLastError());
        return false;
    }
    bool ok = GetFileType(probe) == FILE_TYPE_DISK;
    if (!ok) reason = "it is a device, not a regular file";
    if (ok && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        char path[MAX_PATH * 4];
        DWORD length = GetFinalPathNameByHandleA(probe, path, sizeof(path), FILE_NAME_NORMALIZED);
        if (length > 0 && length < sizeof(path)) real.assign(path, length);
    }
    CloseHandle(probe);
    return ok;
}

}  // namespace

bool FileReplacement::Begin(const std::string& target, std::string& reason) {
    Abandon();
    failed_ = false;
    written_ = 0;
    target_ = target;
    DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (!CheckExisting(target, attributes, target_, reason)) return false;
    } else {
        DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
            reason = SystemReason(error);
            return false;
        }
    }
    const std::string folder = FolderOf(target_);
    for (int tries = 0; tries < kNameTries; ++tries) {
        temporary_ = TemporaryName(folder, GetCurrentProcessId());
        HANDLE file =
            CreateFileA(temporary_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            handle_ = file;
            active_ = true;
            return true;
        }
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            reason = SystemReason(error);
            return false;
        }
    }
    reason = "no free temporary name beside it";
    return false;
}

bool FileReplacement::Write(const void* data, size_t size, std::string& reason) {
    if (!active_ || failed_) {
        reason = active_ ? failure_ : "no file is being written";
        return false;
    }
    const char* bytes = static_cast<const char*>(data);
    size_t done = 0;
    while (done < size) {
        DWORD chunk = size - done > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size - done);
        DWORD wrote = 0;
        if (!WriteFile(handle_, bytes + done, chunk, &wrote, nullptr) || wrote == 0) {
            failure_ = SystemReason(wrote == 0 && GetLastError() == 0 ? ERROR_DISK_FULL : GetLastError());
            failed_ = true;
            LARGE_INTEGER end;
            end.QuadPart = static_cast<LONGLONG>(written_);
            if (SetFilePointerEx(handle_, end, nullptr, FILE_BEGIN)) SetEndOfFile(handle_);
            reason = failure_;
            return false;
        }
        done += wrote;
    }
    written_ += size;
    return true;
}

bool FileReplacement::Commit(std::string& reason) {
    if (!active_ || failed_) {
        reason = active_ ? failure_ : "no file is being written";
        Abandon();
        return false;
    }
    bool ok = CloseHandle(handle_) != 0;
    handle_ = nullptr;
    if (!ok) reason = SystemReason(GetLastError());
    if (ok && !MoveFileExA(temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        reason = SystemReason(GetLastError());
        ok = false;
    }
    if (!ok) DeleteFileA(temporary_.c_str());
    active_ = false;
    return ok;
}

void FileReplacement::Abandon() {
    if (!active_) return;
    if (handle_ != nullptr) CloseHandle(handle_);
    handle_ = nullptr;
    DeleteFileA(temporary_.c_str());
    active_ = false;
}

std::FILE* OpenRegularFile(const std::string& path, uint64_t& size, std::string& reason) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        reason = SystemReason(GetLastError());
        return nullptr;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        reason = "it is a folder, not a regular file";
        return nullptr;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        reason = std::strerror(errno);
        return nullptr;
    }
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    LARGE_INTEGER length;
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileSizeEx(handle, &length)) {
        std::fclose(file);
        reason = "it is a device, not a regular file";
        return nullptr;
    }
    size = static_cast<uint64_t>(length.QuadPart);
    return file;
}

#else  // POSIX

namespace {

std::string SystemReason(int error) { return std::strerror(error); }

const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "it is a folder, not a regular file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device, not a regular file";
    if (S_ISFIFO(mode)) return "it is a named pipe, not a regular file";
    if (S_ISSOCK(mode)) return "it is a socket, not a regular file";
    return "it is not a regular file";
}

}  // namespace

bool FileReplacement::Begin(const std::string& target, std::string& reason) {
    Abandon();
    failed_ = false;
    written_ = 0;
    target_ = target;
    if (target.empty()) {
        reason = SystemReason(ENOENT);
        return false;
    }
    // What the name is now, looked at without opening it.
    struct stat existing;
    bool exists = false;
    if (lstat(target.c_str(), &existing) == 0) {
        if (S_ISLNK(existing.st_mode)) {
            if (stat(target.c_str(), &existing) != 0) {
                reason = errno == ENOENT ? "it is a symbolic link to a file that does not exist" : SystemReason(errno);
                return false;
            }
            if (S_ISREG(existing.st_mode)) {
                char* real = realpath(target.c_str(), nullptr);
                if (real == nullptr) {
                    reason = SystemReason(errno);
                    return false;
                }
                target_ = real;
                std::free(real);
            }
        }
        if (!S_ISREG(existing.st_mode)) {
            reason = KindOf(existing.st_mode);
            return false;
        }
        exists = true;
    } else if (errno != ENOENT) {
        reason = SystemReason(errno);
        return false;
    }

    const std::string folder = FolderOf(target_);
    for (int tries = 0; tries < kNameTries; ++tries) {
        temporary_ = TemporaryName(folder, static_cast<unsigned long>(getpid()));
        int fd = open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0) {
            if (exists) {
                // The new file is the old one's: same permissions, and the
                // same owner where the process may give it.
                bool sameMode = fchmod(fd, existing.st_mode & 07777) == 0;
                bool sameOwner = (existing.st_uid == geteuid() && existing.st_gid == getegid()) ||
                                 fchown(fd, existing.st_uid, existing.st_gid) == 0;
                (void)sameMode;  // otherwise the new file keeps the default ones
                (void)sameOwner;
            }
            fd_ = fd;
            active_ = true;
            return true;
        }
        if (errno != EEXIST) {
            reason = SystemReason(errno);
            return false;
        }
    }
    reason = "no free temporary name beside it";
    return false;
}

bool FileReplacement::Write(const void* data, size_t size, std::string& reason) {
    if (!active_ || failed_) {
        reason = active_ ? failure_ : "no file is being written";
        return false;
    }
    const char* bytes = static_cast<const char*>(data);
    size_t done = 0;
    while (done < size) {
        ssize_t wrote = write(fd_, bytes + done, size - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) {
            failure_ = SystemReason(wrote < 0 ? errno : ENOSPC);
            failed_ = true;
            if (ftruncate(fd_, static_cast<off_t>(written_)) == 0) lseek(fd_, static_cast<off_t>(written_), SEEK_SET);
            reason = failure_;
            return false;
        }
        done += static_cast<size_t>(wrote);
    }
    written_ += size;
    return true;
}

bool FileReplacement::Commit(std::string& reason) {
    if (!active_ || failed_) {
        reason = active_ ? failure_ : "no file is being written";
        Abandon();
        return false;
    }
    bool ok = close(fd_) == 0;
    fd_ = -1;
    if (!ok) reason = SystemReason(errno);
    if (ok && rename(temporary_.c_str(), target_.c_str()) != 0) {
        reason = SystemReason(errno);
        ok = false;
    }
    if (!ok) unlink(temporary_.c_str());
    active_ = false;
    return ok;
}

void FileReplacement::Abandon() {
    if (!active_) return;
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    unlink(temporary_.c_str());
    active_ = false;
}

std::FILE* OpenRegularFile(const std::string& path, uint64_t& size, std::string& reason) {
    // Looked at before it is opened (opening a device may do something),
    // opened without waiting (a named pipe nobody writes to), and looked at
    // again through the descriptor (the name may have changed in between).
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        reason = SystemReason(errno);
        return nullptr;
    }
    if (!S_ISREG(info.st_mode)) {
        reason = KindOf(info.st_mode);
        return nullptr;
    }
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        reason = SystemReason(errno);
        return nullptr;
    }
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        reason = KindOf(info.st_mode);
        close(fd);
        return nullptr;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = fdopen(fd, "rb");
    if (file == nullptr) {
        reason = SystemReason(errno);
        close(fd);
        return nullptr;
    }
    size = static_cast<uint64_t>(info.st_size);
    return file;
}

#endif

bool ReplaceWholeFile(const std::string& target, const void* data, size_t size, std::string& reason) {
    FileReplacement file;
    return file.Begin(target, reason) && file.Write(data, size, reason) && file.Commit(reason);
}

bool Replaceable(const std::string& target, std::string& reason) {
    FileReplacement probe;
    return probe.Begin(target, reason);
}

}  // namespace kiva_files
