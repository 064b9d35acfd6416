#include "runtime/fileopen.h"

#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#endif

namespace metopt::runtime {

#ifdef _WIN32

namespace {

// The C runtime's narrow file functions take the ANSI code page; names are UTF-8 here.
std::wstring WideName(const std::string& name) {
    const int size = static_cast<int>(name.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, name.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, name.data(), size, wide.data(), length);
    return wide;
}

}  // namespace

int OpenForReading(const std::string& fileName) {
    return _wopen(WideName(fileName).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

bool IsFolder(const std::string& name) {
    struct _stat64 info {};
    return _wstat64(WideName(name).c_str(), &info) == 0 && (info.st_mode & _S_IFDIR) != 0;
}

#else

int OpenForReading(const std::string& fileName) {
    const int fd = open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return fd;
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0)
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

bool IsFolder(const std::string& name) {
    struct stat info {};
    return stat(name.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

#endif

}  // namespace metopt::runtime
