#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "io/file.h"
#include "io/whole_file.h"

namespace ovra {
namespace {

constexpr int32_t NarrowPathCapacity = 2048;  // 519 units, three bytes a unit at most

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
    std::snprintf(temporary, sizeof temporary, "%s/.report-%d.tmp", folder, static_cast<int>(getpid()));
    const int descriptor = open(temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
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
