#include "catalogue/file_text.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "catalogue_test_support.h"

namespace pc {
namespace {

constexpr std::uint64_t kLimit = 1u << 20;

// Every kind of path a reader may be handed, each refused with its reason before anything
// of it is read: a FIFO or /dev/zero that was opened or read would hang this test or
// exhaust its memory.
TEST(ReadTextFile, ReadsOnlyRegularFilesWithinTheLimit) {
    const test::Folder folder;
    const auto path = [&](const char* name) { return folder.Path(name); };
    folder.Write("small.txt", "a");
    for (const auto& [name, size] :
         {std::pair{"limit", kLimit}, {"over", kLimit + 1}, {"locked", std::uint64_t{0}}}) {
        std::ofstream(path(name)).close();
        std::filesystem::resize_file(path(name), size);  // sparse: quick to make and remove
    }
    std::filesystem::permissions(path("locked"), std::filesystem::perms::none);
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);

    using enum TextFileStatus;
    const struct {
        std::string path;
        std::uint64_t maxBytes;
        TextFileStatus status;
        std::string error;
    } cases[] = {
        {path("small.txt"), kLimit, Read, ""},
        {path("limit"), kLimit, Read, ""},
        {path("over"), kLimit, Refused, "larger than 1 MB"},
        {path("none"), kLimit, Missing, "No such file or directory"},
        {path("small.txt") + "/x", kLimit, Missing, "Not a directory"},
        // A folder and /dev/zero are the CLI's files script's.
        {path("fifo"), kLimit, Refused, "not a regular file"},
        // Sized 0 by the system, so only counting while reading finds it too large.
        {"/proc/self/status", 64, Refused, "larger than 64 bytes"},
        {"/proc/self/mem", kLimit, Refused, "Input/output error"},  // fails when read
        {path("locked"), kLimit, Refused, "Permission denied"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        if (c.error == "Permission denied" && ::geteuid() == 0)
            continue;  // root reads anything
        const TextFile file = ReadTextFile(c.path, c.maxBytes);
        EXPECT_EQ(file.status, c.status);
        EXPECT_EQ(file.error, c.error);
        EXPECT_EQ(file.lines.empty(), c.status != Read);
    }
    EXPECT_EQ(ReadTextFile(path("limit"), kLimit).lines,
              std::vector<std::string>{std::string(kLimit, '\0')});
    // Every line end; a blank line is a line of its own, a final line end starts none.
    const std::pair<const char*, std::vector<std::string>> contents[] = {
        {"1\r\n2,5\r\n3\r\n", {"1", "2,5", "3"}},
        {"1\n\n3", {"1", "", "3"}},
        {"1\r2\r", {"1", "2"}},
        {"\r\n\n", {"", ""}},
        {"", {}}};
    for (const auto& [content, lines] : contents) {
        EXPECT_EQ(ReadTextFile(folder.Write("small.txt", content), kLimit).lines, lines) << content;
    }
}

// Holds the file size limit at `bytes` (writes beyond it fail with EFBIG instead of
// raising SIGXFSZ) and puts everything back afterwards.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) : m_handler(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }
    bool active() const { return m_active; }

  private:
    rlimit m_saved{};
    void (*m_handler)(int);
    bool m_active = false;
};

// A full disk (as far as this process can tell: nothing past 4 KB is written) makes a save
// fail with a reason, and leaves the file that was there as it was, without a temporary
// file beside it. Every file of the program is written through here.
TEST(WriteTextFile, AFailedWriteLeavesTheOldFileIntact) {
    const test::Folder folder;
    const std::string path = folder.Write("export", "old\r\n");
    std::string error;
    {
        const FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.active()) << "cannot lower the file size limit";
        EXPECT_FALSE(WriteTextFile(path, std::vector<std::string>(1000, "0.123456789"), error));
    }
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(folder.Read("export"), "old\r\n");
    EXPECT_EQ(folder.Entries(), test::Names{"export"});
}

}  // namespace
}  // namespace pc
