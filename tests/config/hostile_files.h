#pragma once

// Files that are not what a reader or writer expects: a FIFO, a file too big
// to be a configuration, a disk that fills up while writing.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varnet::testing {

// A FIFO at `path`. A reader that opens it and waits for a writer is let go
// after a few seconds (the write end opened and closed at once), so that a
// reader that would hang makes the test fail instead of stalling it.
class Fifo {
public:
    explicit Fifo(std::string path) : path_(std::move(path))
    {
        EXPECT_EQ(::mkfifo(path_.c_str(), 0600), 0) << path_;
        releaser_ = std::thread([this] {
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
            while (!done_ && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        });
    }
    ~Fifo()
    {
        done_ = true;
        releaser_.join();
    }
    Fifo(const Fifo&) = delete;
    Fifo& operator=(const Fifo&) = delete;

private:
    std::string path_;
    std::atomic<bool> done_{false};
    std::thread releaser_;
};

// A file of `bytes` zero bytes that takes no room on the disk.
inline void writeSparseFile(const std::string& path, off_t bytes)
{
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
    ASSERT_GE(fd, 0) << path;
    EXPECT_EQ(::ftruncate(fd, bytes), 0);
    ::close(fd);
}

// While it lives, no file can grow beyond `bytes`: writes past that fail as
// on a full disk (EFBIG instead of the signal that would end the process).
class FullDisk {
public:
    explicit FullDisk(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    }
    ~FullDisk() { ::setrlimit(RLIMIT_FSIZE, &previous_); }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

private:
    rlimit previous_{};
};

// The names in the current folder, hidden ones too, as the file system
// holds them (a listing through QString would skip names not in UTF-8).
inline std::vector<std::string> folderEntries()
{
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(".")) {
        while (const dirent* entry = ::readdir(dir))
            if (std::string(entry->d_name) != "." && std::string(entry->d_name) != "..")
                names.emplace_back(entry->d_name);
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A file name from an older system: "été.cfg" in Latin-1, not valid UTF-8.
inline const std::string kLatin1Name = "\xE9t\xE9.cfg";

// Removes the Latin-1 file at the end of a test: the temporary folder's own
// clean-up goes through QString names and cannot reach it.
struct Latin1FileRemoved {
    ~Latin1FileRemoved() { ::unlink(kLatin1Name.c_str()); }
};

} // namespace varnet::testing
