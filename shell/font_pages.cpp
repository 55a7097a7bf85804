#include "font_pages.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <sys/mman.h>

namespace shell {

namespace {

bool isFontFile(const char* path, size_t n) {
    for (const char* ext : {".ttc", ".otf", ".ttf", ".pfb"})
        if (n >= 4 && std::memcmp(path + n - 4, ext, 4) == 0) return true;
    return false;
}

}  // namespace

int releaseFontFilePages() {
    FILE* maps = std::fopen("/proc/self/maps", "re");
    if (!maps) return 0;  // not Linux: nothing to do
    int released = 0;
    // One line a mapping: "start-end perms offset dev inode path".
    char line[4096];
    while (std::fgets(line, sizeof line, maps)) {
        size_t n = std::strlen(line);
        while (n > 0 && (line[n - 1] == '\n' || line[n - 1] == ' ')) line[--n] = '\0';
        if (!isFontFile(line, n)) continue;
        char* rest = nullptr;
        const unsigned long long start = std::strtoull(line, &rest, 16);
        if (*rest != '-') continue;
        const unsigned long long end = std::strtoull(rest + 1, &rest, 16);
        // Private and read-only: FreeType's view of the file, which never
        // writes to it, so dropping its pages loses nothing.
        if (std::strncmp(rest, " r--p ", 6) != 0 || end <= start) continue;
        if (madvise(reinterpret_cast<void*>(start), size_t(end - start), MADV_DONTNEED) == 0) ++released;
    }
    std::fclose(maps);
    return released;
}

}  // namespace shell
