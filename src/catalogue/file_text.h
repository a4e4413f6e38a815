#pragma once
// The program's text files at their boundary: Windows-1252 bytes with CR LF line ends
// outside, UTF-8 strings inside, and the checksum that closes the function and
// configuration files.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class QSaveFile;

namespace pc {

// Windows-1252 bytes to UTF-8. The five bytes the code page leaves undefined map to the
// C1 control characters of the same value, so that no byte is lost.
std::string Cp1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252; a character the code page cannot hold (and malformed UTF-8)
// becomes "?".
std::string Utf8ToCp1252(std::string_view text);

// Splits a file's bytes into lines ended by CR LF, LF or CR; a final line without an end
// counts, a final line end does not start another line.
std::vector<std::string> SplitLines(std::string_view bytes);

// The sum over every line i (0-based) and its byte c at 1-based position j of c * (i + j),
// wrapping like a signed 32-bit integer. `lines` are Windows-1252 bytes.
std::int32_t FileChecksum(std::span<const std::string> lines);
// The same over lines given as UTF-8, as they will be written.
std::int32_t FileChecksumOfText(std::span<const std::string> lines);

enum class TextFileStatus {
    Read,     // `lines` hold the file
    Missing,  // nothing of that name (or a path through something that is no folder)
    Refused,  // it is there, but not a regular file, larger than allowed, or unreadable
};

struct TextFile {
    TextFileStatus status = TextFileStatus::Missing;
    std::vector<std::string> lines;  // UTF-8, without line ends
    std::string error;               // why not, for the user: "not a regular file",
                                     // "larger than 32 MB", "Permission denied", ...
};

// Reads a whole file into lines of UTF-8 text. The one place that decides whether a path
// may be read: only a regular file of at most `maxBytes` bytes is. What is no regular file
// (a folder, a FIFO, a device such as /dev/zero) is refused before it is opened, so that
// nothing blocks or runs without end; the size is checked before reading and counted while
// reading, since a file can grow in between. Memory stays bounded by `maxBytes`.
TextFile ReadTextFile(const std::string& path, std::uint64_t maxBytes);

// One line as it goes into a text file: Windows-1252 bytes and CR LF, appended to `bytes`.
void AppendFileLine(std::string& bytes, std::string_view line);

// A file written in pieces through a temporary file, which replaces `path` only on
// Commit; a file dropped (or destroyed) before that leaves `path` as it was.
class StagedFile {
  public:
    explicit StagedFile(const std::string& path);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Each returns false with `error` set; after a failure only the destructor is left.
    bool Open(std::string& error);
    bool Write(std::string_view bytes, std::string& error);
    bool Commit(std::string& error);

  private:
    std::unique_ptr<QSaveFile> m_file;
};

// Writes UTF-8 lines as Windows-1252 with CR LF after every line, through a temporary
// file that replaces `path` only once everything is written: a failed save leaves the
// previous file as it was. False with `error` set when it fails.
bool WriteTextFile(const std::string& path, const std::vector<std::string>& lines,
                   std::string& error);

// What the user is told when a file could not be written: "Cannot save PATH: REASON".
std::string CannotSaveText(const std::string& path, const std::string& reason);

// Writes `bytes` exactly, through a temporary file as WriteTextFile does.
bool WriteFileBytes(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace pc
