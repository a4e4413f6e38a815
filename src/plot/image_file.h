#pragma once
// Saving a plot image: the format follows the file's extension.

#include <string>

class QImage;

namespace pc {

// Writes `image` as PNG (".png") or BMP (".bmp"), any case, through a temporary file that
// replaces `path` only when complete. False with `error` set otherwise.
bool SaveImageFile(const QImage& image, const std::string& path, std::string& error);

}  // namespace pc
