#include "image_file.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <string_view>

#include "catalogue/file_text.h"
#include "catalogue/startup_decisions.h"

namespace pc {

bool SaveImageFile(const QImage& image, const std::string& path, std::string& error) {
    const std::string extension = UpperCaseExtension(path);
    const char* format = extension == ".PNG" ? "PNG" : extension == ".BMP" ? "BMP" : nullptr;
    if (!format) {
        error = "the image format follows the extension: .png or .bmp";
        return false;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format)) {
        error = "the image could not be encoded";
        return false;
    }
    return WriteFileBytes(
        path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), error);
}

}  // namespace pc
