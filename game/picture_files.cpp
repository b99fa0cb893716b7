#include "picture_files.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

std::string ExecutableFolder() {
    char path[4096];
#ifdef _WIN32
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return std::string();
    std::string full(path, length);
    const size_t cut = full.find_last_of("\\/");
#else
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof path) return std::string();
    std::string full(path, static_cast<size_t>(length));
    const size_t cut = full.find_last_of('/');
#endif
    if (cut == std::string::npos) return std::string();
    return full.substr(0, cut + 1);
}

std::vector<std::string> DefaultPictureFolders() { return {std::string(), ExecutableFolder()}; }

std::string FindPictureFile(const std::string& name, const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        const std::string candidate = folder + name;
        if (std::FILE* file = std::fopen(candidate.c_str(), "rb")) {
            std::fclose(file);
            return candidate;
        }
    }
    return name;
}

void LoadPictureFile(image& picture, const std::string& name, const std::vector<std::string>& folders) {
    try {
        picture.Load(FindPictureFile(name, folders).c_str(), IK_JPEG);
    } catch (error code) {
        throw PictureFileError{name, code};
    }
}
