#include "WorkFolder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace mirado {

namespace {

std::string* folder = nullptr;

void RemoveFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(*folder, ignored);
}

} // namespace

const std::string& FuzzWorkFolder(const char* prefix) {
    if (folder != nullptr)
        return *folder;
    std::string pattern = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm/" : "/tmp/";
    pattern += prefix;
    pattern += "-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::fprintf(stderr, "%s: no temporary folder\n", prefix);
        std::abort();
    }
    folder = new std::string(pattern);
    std::atexit(RemoveFolder);
    return *folder;
}

} // namespace mirado
