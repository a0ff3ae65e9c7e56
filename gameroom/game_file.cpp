#include "gameroom/game_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace palisade {

namespace {

// Far above any game's file, far below what could hurt.
constexpr std::streamsize kLargestFile = 1 << 20;

FileError systemError(const char* what)
{
    return FileError{std::string(what) + ": " + std::strerror(errno)};
}

// The permissions a new file gets, or those of the file it replaces.
mode_t modeFor(const std::string& path)
{
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0) return existing.st_mode & 0777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool writeAll(int fd, const std::string& bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

// The bytes in a temporary file beside `path`, flushed to disk: its name.
std::variant<std::string, FileError> writtenBeside(const std::string& path, const std::string& bytes)
{
    // A file the player protected stays as it is, whoever runs the program.
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0 && (existing.st_mode & 0222) == 0) {
        return FileError{"the file is write-protected"};
    }
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return systemError("no file can be written there");
    const bool written = ::fchmod(fd, modeFor(path)) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        FileError error = systemError("the file could not be written");
        std::remove(temporary.c_str());
        return error;
    }
    return temporary;
}

} // namespace

std::variant<std::string, FileError> readFileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) return systemError("it could not be read");
    std::string bytes(static_cast<std::size_t>(kLargestFile) + 1, '\0');
    file.read(bytes.data(), kLargestFile + 1);
    if (file.bad()) return systemError("it could not be read");
    if (file.gcount() > kLargestFile) return FileError{"it is far too large to be a saved game"};
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}

std::variant<SavedGame, FileError> readSavedGame(const std::string& path)
{
    auto bytes = readFileBytes(path);
    if (auto* error = std::get_if<FileError>(&bytes)) return *error;
    return decodeSavedGame(std::get<std::string>(bytes));
}

std::optional<FileError> writeSavedGame(const std::string& path, const SavedGame& game)
{
    return writeFileWhole(path, encodeSavedGame(game));
}

std::optional<FileError> writeFileWhole(const std::string& path, const std::string& bytes)
{
    return writeFilesWhole({{path, bytes}});
}

std::optional<FileError> writeFilesWhole(const std::vector<std::pair<std::string, std::string>>& files)
{
    std::vector<std::string> temporaries;
    const auto removeTemporaries = [&temporaries](std::size_t from) {
        for (std::size_t i = from; i < temporaries.size(); ++i) std::remove(temporaries[i].c_str());
    };
    for (const auto& [path, bytes] : files) {
        auto temporary = writtenBeside(path, bytes);
        if (auto* error = std::get_if<FileError>(&temporary)) {
            removeTemporaries(0);
            return *error;
        }
        temporaries.push_back(std::get<std::string>(temporary));
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (std::rename(temporaries[i].c_str(), files[i].first.c_str()) != 0) {
            FileError error = systemError("the file could not be written");
            removeTemporaries(i);
            return error;
        }
    }
    return std::nullopt;
}

} // namespace palisade
