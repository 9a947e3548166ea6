// SPDX-License-Identifier: GPL-3.0-or-later
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "atomic_file.h"
#include "test_support.h"

namespace {

// Every fsync of this process, by the name its descriptor had at the time;
// the call itself goes on to the C library.
std::vector<std::string> synced_paths;

}  // namespace

extern "C" int fsync(int fd) {
    char name[4096];
    const ssize_t n = readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), name, sizeof name);
    synced_paths.emplace_back(name, n > 0 ? size_t(n) : 0);
    using Fsync = int (*)(int);
    static const auto real = reinterpret_cast<Fsync>(dlsym(RTLD_NEXT, "fsync"));
    return real(fd);
}

namespace korvane {
namespace {

namespace fs = std::filesystem;
using testing::ScratchDir;

bool write_text(const std::string& path, const std::string& text, std::string& error) {
    AtomicFile file(path, error);
    if (!file.stream()) return false;
    std::fputs(text.c_str(), file.stream());
    return file.commit(error);
}

std::string read_text(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(AtomicFile, SyncsTheDataBeforeTheRenameAndTheFolderAfter) {
    ScratchDir dir;
    const std::string target = fs::canonical(dir.path()).string() + "/out.png";
    synced_paths.clear();
    std::string error;
    ASSERT_TRUE(write_text(target, "picture", error)) << error;
    ASSERT_EQ(synced_paths.size(), 2u);
    EXPECT_EQ(synced_paths[0].rfind(target + ".tmp-", 0), 0u) << synced_paths[0];
    EXPECT_EQ(synced_paths[1], fs::canonical(dir.path()).string());
    EXPECT_EQ(read_text(target), "picture");
}

TEST(AtomicFile, WritesThroughSymlinksToTheirTargets) {
    ScratchDir dir;
    std::ofstream(dir.file("real.png")) << "old";
    fs::create_directory(dir.path() / "sub");
    fs::create_symlink("../real.png", dir.path() / "sub" / "link.png");
    fs::create_symlink("sub/link.png", dir.path() / "chain.png");
    fs::create_symlink("new.png", dir.path() / "dangling.png");
    std::string error;
    ASSERT_TRUE(write_text(dir.file("chain.png"), "new contents", error)) << error;
    ASSERT_TRUE(write_text(dir.file("dangling.png"), "made", error)) << error;

    EXPECT_TRUE(fs::is_symlink(dir.path() / "chain.png"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "sub" / "link.png"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "dangling.png"));
    EXPECT_EQ(read_text(dir.file("real.png")), "new contents");
    EXPECT_EQ(read_text(dir.file("new.png")), "made");
    EXPECT_EQ(dir.entries().size(), 5u);  // no temporary left behind
}

TEST(AtomicFile, KeepsAnExistingFilesModeAndGivesANewOneTheUmasksDefault) {
    ScratchDir dir;
    std::ofstream(dir.file("shared.png")) << "old";
    ASSERT_EQ(chmod(dir.file("shared.png").c_str(), 0600), 0);
    const mode_t mask = umask(022);
    std::string error;
    const bool replaced = write_text(dir.file("shared.png"), "new", error);
    const bool made = write_text(dir.file("fresh.png"), "new", error);
    umask(mask);
    ASSERT_TRUE(replaced && made) << error;

    struct stat replaced_stat, made_stat;
    ASSERT_EQ(stat(dir.file("shared.png").c_str(), &replaced_stat), 0);
    ASSERT_EQ(stat(dir.file("fresh.png").c_str(), &made_stat), 0);
    EXPECT_EQ(replaced_stat.st_mode & 07777, 0600u);
    EXPECT_EQ(made_stat.st_mode & 07777, 0644u);  // 0666 less the umask 022
}

std::string drain(int fd) {
    char buffer[64];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? size_t(n) : 0);
}

// A rename over a FIFO or a pipe would cut off its reader (and over a device
// as root, replace /dev/null with a picture).
TEST(AtomicFile, WritesIntoAFifoOrAPipeAndLeavesItInPlace) {
    ScratchDir dir;
    const std::string fifo = dir.file("picture.fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const int fifo_reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    int pipe_ends[2];
    ASSERT_GE(fifo_reader, 0);
    ASSERT_EQ(pipe2(pipe_ends, O_NONBLOCK), 0);  // a reader with nothing to read must not wait
    std::string error;
    EXPECT_TRUE(write_text(fifo, "through the fifo", error)) << error;
    EXPECT_TRUE(write_text("/dev/fd/" + std::to_string(pipe_ends[1]), "through the pipe", error)) << error;

    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(drain(fifo_reader), "through the fifo");
    EXPECT_EQ(drain(pipe_ends[0]), "through the pipe");
    EXPECT_EQ(dir.entries().size(), 1u);
    close(fifo_reader);
    close(pipe_ends[0]);
    close(pipe_ends[1]);
}

}  // namespace
}  // namespace korvane
