#include "file_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QSaveFile>
#include <QString>
#include <algorithm>
#include <array>
#include <cerrno>
#include <system_error>

namespace pc {

namespace {

// Unicode code points of bytes 0x80..0x9F in Windows-1252; the undefined ones keep
// their byte value.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// ASCII reads the same in Windows-1252 and UTF-8.
bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char ch) { return static_cast<unsigned char>(ch) < 0x80; });
}

// Line `index`'s part of the checksum, unsigned so that it wraps by definition; the sum
// reads as the signed one would.
std::uint32_t LineChecksum(std::string_view bytes, std::size_t index) {
    std::uint32_t sum = 0;
    for (std::size_t j = 0; j < bytes.size(); ++j)
        sum += static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[j])) *
               static_cast<std::uint32_t>(index + j + 1);
    return sum;
}

constexpr const char* kNotARegularFile = "not a regular file";

std::string ErrorText(int code) {
    return std::generic_category().message(code);
}

std::string TooLargeText(std::uint64_t maxBytes) {
    constexpr std::uint64_t kMegabyte = 1u << 20;
    return "larger than " + (maxBytes % kMegabyte == 0
                                 ? std::to_string(maxBytes / kMegabyte) + " MB"
                                 : std::to_string(maxBytes) + " bytes");
}

// Owns an open file descriptor (or a negative failed one).
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int Get() const { return m_fd; }

  private:
    int m_fd;
};

char ToCp1252(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<char>(code);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == code)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto byte = static_cast<unsigned char>(ch);
        AppendUtf8(out, byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char32_t(byte));
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80           ? 1
                           : (lead >> 5) == 0x6  ? 2
                           : (lead >> 4) == 0xE  ? 3
                           : (lead >> 3) == 0x1E ? 4
                                                 : 0;
        if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) {
            out += '?';
            ++i;
            continue;
        }
        char32_t code = length == 1 ? lead : lead & (0xFF >> (length + 1));
        bool wellFormed = true;
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            wellFormed = wellFormed && (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        out += wellFormed ? ToCp1252(code) : '?';
        i += wellFormed ? static_cast<std::size_t>(length) : 1;
    }
    return out;
}

std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    // Sized once: a file of nothing but line ends holds as many lines as bytes, and growing
    // the list by doubling would need half as much again while it moves.
    lines.reserve(
        static_cast<std::size_t>(std::count_if(bytes.begin(), bytes.end(),
                                               [](char ch) { return ch == '\r' || ch == '\n'; })) +
        1);
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines.emplace_back(bytes.substr(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.emplace_back(bytes.substr(start));
    return lines;
}

std::int32_t FileChecksum(std::span<const std::string> lines) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) sum += LineChecksum(lines[i], i);
    return static_cast<std::int32_t>(sum);
}

std::int32_t FileChecksumOfText(std::span<const std::string> lines) {
    // One line converted at a time, and only when it has to be: a copy of every line would
    // double the memory of a large file.
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < lines.size(); ++i)
        sum +=
            IsAscii(lines[i]) ? LineChecksum(lines[i], i) : LineChecksum(Utf8ToCp1252(lines[i]), i);
    return static_cast<std::int32_t>(sum);
}

TextFile ReadTextFile(const std::string& path, std::uint64_t maxBytes) {
    TextFile result;
    // POSIX rather than QFile: QFile cannot check a path before opening it, and opening a
    // FIFO without O_NONBLOCK waits for a writer that may never come.
    struct stat before {};
    if (::stat(path.c_str(), &before) != 0) {
        const int code = errno;
        result.status =
            code == ENOENT || code == ENOTDIR ? TextFileStatus::Missing : TextFileStatus::Refused;
        result.error = ErrorText(code);
        return result;
    }
    result.status = TextFileStatus::Refused;
    if (!S_ISREG(before.st_mode)) {
        result.error = kNotARegularFile;
        return result;
    }
    if (static_cast<std::uint64_t>(before.st_size) > maxBytes) {
        result.error = TooLargeText(maxBytes);
        return result;
    }
    // The path may name something else by now; non-blocking, a FIFO put there cannot make
    // the open wait, and the check on what was opened refuses it.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat opened {};
    if (file.Get() < 0 || ::fstat(file.Get(), &opened) != 0) {
        result.error = ErrorText(errno);
        return result;
    }
    if (!S_ISREG(opened.st_mode)) {
        result.error = kNotARegularFile;
        return result;
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(
        std::min<std::uint64_t>(static_cast<std::uint64_t>(opened.st_size), maxBytes)));
    std::array<char, 65536> buffer;
    for (;;) {
        const ssize_t count = ::read(file.Get(), buffer.data(), buffer.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            result.error = ErrorText(errno);
            return result;
        }
        if (count == 0)
            break;
        // A file that grows while it is read is refused like one that was too large.
        if (bytes.size() + static_cast<std::size_t>(count) > maxBytes) {
            result.error = TooLargeText(maxBytes);
            return result;
        }
        bytes.append(buffer.data(), static_cast<std::size_t>(count));
    }
    result.lines = SplitLines(bytes);
    for (std::string& line : result.lines) {
        if (!IsAscii(line))
            line = Cp1252ToUtf8(line);
    }
    result.status = TextFileStatus::Read;
    return result;
}

void AppendFileLine(std::string& bytes, std::string_view line) {
    bytes += Utf8ToCp1252(line);
    bytes += "\r\n";
}

StagedFile::StagedFile(const std::string& path)
    : m_file(std::make_unique<QSaveFile>(QString::fromStdString(path))) {}

// QSaveFile removes its temporary file when destroyed uncommitted.
StagedFile::~StagedFile() = default;

bool StagedFile::Open(std::string& error) {
    // Unbuffered: a buffered QSaveFile flushes in commit(), which ignores a short write
    // there (a full disk, a file size limit) and renames the cut-off file over `path`.
    // Written straight through, a short write shows in write()'s count.
    if (m_file->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return true;
    error = m_file->errorString().toStdString();
    return false;
}

bool StagedFile::Write(std::string_view bytes, std::string& error) {
    const qint64 written = m_file->write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (written == static_cast<qint64>(bytes.size()))
        return true;
    // A short write sets no error of its own; Qt would call it "Unknown error".
    error = written < 0 || m_file->error() != QFileDevice::NoError
                ? m_file->errorString().toStdString()
                : "only " + std::to_string(written) + " of " + std::to_string(bytes.size()) +
                      " bytes could be written (is the disk full?)";
    return false;
}

bool StagedFile::Commit(std::string& error) {
    if (m_file->commit())
        return true;
    error = m_file->errorString().toStdString();
    return false;
}

std::string CannotSaveText(const std::string& path, const std::string& reason) {
    return "Cannot save " + path + ": " + reason;
}

bool WriteTextFile(const std::string& path, const std::vector<std::string>& lines,
                   std::string& error) {
    std::string bytes;
    for (const std::string& line : lines) AppendFileLine(bytes, line);
    return WriteFileBytes(path, bytes, error);
}

bool WriteFileBytes(const std::string& path, std::string_view bytes, std::string& error) {
    StagedFile file(path);
    return file.Open(error) && file.Write(bytes, error) && file.Commit(error);
}

}  // namespace pc
