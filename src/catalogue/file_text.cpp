#include "file_text.h"

#include <QFile>
#include <QSaveFile>
#include <QString>
#include <array>

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
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char ch = bytes[i];
        if (ch == '\r' || ch == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            if (ch == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            line += ch;
        }
    }
    if (!line.empty())
        lines.push_back(std::move(line));
    return lines;
}

std::int32_t FileChecksum(const std::vector<std::string>& lines) {
    // Unsigned arithmetic wraps by definition; the result reads as the signed sum would.
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        for (std::size_t j = 0; j < line.size(); ++j)
            sum += static_cast<std::uint32_t>(static_cast<unsigned char>(line[j])) *
                   static_cast<std::uint32_t>(i + j + 1);
    }
    return static_cast<std::int32_t>(sum);
}

std::int32_t FileChecksumOfText(const std::vector<std::string>& lines) {
    std::vector<std::string> encoded;
    encoded.reserve(lines.size());
    for (const std::string& line : lines) encoded.push_back(Utf8ToCp1252(line));
    return FileChecksum(encoded);
}

bool ReadTextFile(const std::string& path, std::vector<std::string>& lines, std::string& error) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString().toStdString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString().toStdString();
        return false;
    }
    lines = SplitLines(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    for (std::string& line : lines) line = Cp1252ToUtf8(line);
    return true;
}

bool WriteTextFile(const std::string& path, const std::vector<std::string>& lines,
                   std::string& error) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += Utf8ToCp1252(line);
        bytes += "\r\n";
    }
    return WriteFileBytes(path, bytes, error);
}

bool WriteFileBytes(const std::string& path, std::string_view bytes, std::string& error) {
    QSaveFile file(QString::fromStdString(path));
    // Unbuffered: a buffered QSaveFile flushes in commit(), which ignores a short write
    // there (a full disk, a file size limit) and renames the cut-off file over `path`.
    // Written straight through, the short write shows in write()'s count below.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        error = file.errorString().toStdString();
        return false;
    }
    const qint64 written = file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (written != static_cast<qint64>(bytes.size())) {
        // A short write sets no error of its own; Qt would call it "Unknown error".
        error = written < 0 || file.error() != QFileDevice::NoError
                    ? file.errorString().toStdString()
                    : "only " + std::to_string(written) + " of " + std::to_string(bytes.size()) +
                          " bytes could be written (is the disk full?)";
        return false;  // the temporary file is removed, `path` is left alone
    }
    if (!file.commit()) {
        error = file.errorString().toStdString();
        return false;
    }
    return true;
}

}  // namespace pc
