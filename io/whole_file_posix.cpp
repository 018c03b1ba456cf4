#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "io/file.h"
#include "io/whole_file.h"

namespace ovra {
namespace {

constexpr int32_t NarrowPathCapacity = 2048;  // 519 units, three bytes a unit at most
// A name taken by a leftover is tried again with other random bits; 16 misses in 2^64 mean someone is
// making the names on purpose.
constexpr int NameAttempts = 16;

// Bits no other run draws. Without either generator the clock still gives each attempt its own name.
uint64_t RandomNameBits() {
    uint64_t bits = 0;
    if (getrandom(&bits, sizeof bits, GRND_NONBLOCK) == static_cast<ssize_t>(sizeof bits)) return bits;
    const int source = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    if (source >= 0) {
        const bool drawn = read(source, &bits, sizeof bits) == static_cast<ssize_t>(sizeof bits);
        close(source);
        if (drawn) return bits;
    }
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return (static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec)) ^
           (static_cast<uint64_t>(getpid()) << 40);
}

// A new file of its own in `folder`, created exclusively: a leftover of a killed run (or anything else of
// that name) is never opened, written or removed. Its name is left in `temporary`.
int CreateTemporary(const char* folder, char* temporary, size_t capacity) {
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        std::snprintf(temporary, capacity, "%s/.report-%016llx.tmp", folder,
                      static_cast<unsigned long long>(RandomNameBits()));
        const int descriptor = open(temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST) return descriptor;
    }
    return -1;
}

}  // namespace

bool ReplaceFileWhole(const char16_t* path, const char* bytes, int32_t size) {
    char named[NarrowPathCapacity];
    if (!NarrowPathFromUtf16(path, named, NarrowPathCapacity)) return false;
    struct stat status {};
    if (stat(named, &status) == 0 ? !S_ISREG(status.st_mode) : errno != ENOENT) return false;
    // A link to a report is kept a link: the file it names is the one replaced.
    char target[PATH_MAX];
    struct stat link {};
    const bool linked = lstat(named, &link) == 0 && S_ISLNK(link.st_mode) && realpath(named, target) != nullptr;
    if (!linked) std::strcpy(target, named);
    // A short name of its own in the same folder, so the rename stays within one file system and a long report
    // name does not pass the file system's limit.
    char folder[PATH_MAX];
    std::strcpy(folder, target);
    char* slash = std::strrchr(folder, '/');
    if (slash == nullptr)
        std::strcpy(folder, ".");
    else
        slash[slash == folder ? 1 : 0] = 0;
    char temporary[PATH_MAX + 48];
    const int descriptor = CreateTemporary(folder, temporary, sizeof temporary);
    if (descriptor < 0) return false;
    bool whole = WriteAllToDescriptor(descriptor, bytes, size) && fsync(descriptor) == 0;
    whole = close(descriptor) == 0 && whole;
    if (!whole || rename(temporary, target) != 0) {
        unlink(temporary);
        return false;
    }
    // The report is whole under its name now; syncing the folder only makes the rename durable sooner.
    const int holder = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (holder >= 0) {
        fsync(holder);
        close(holder);
    }
    return true;
}

}  // namespace ovra
