#pragma once
// The plot's picture in a file or on the clipboard: PNG and BMP bitmaps, SVG and PDF,
// chosen by the file's extension. Every format is painted by PaintPicture, the code that
// paints the screen, from the point lists and the grid list as last painted.

#include <optional>
#include <string>

#include "output_geometry.h"

class QByteArray;
class QImage;

namespace pc {

class PlotSession;
class PlotSurface;

enum class PictureFormat { Png, Bmp, Svg, Pdf };

// The format the extension of `path` names, in any case; nothing for another one.
std::optional<PictureFormat> PictureFormatOf(const std::string& path);
inline constexpr const char* kPictureExtensions = ".png, .bmp, .svg or .pdf";

// A bitmap may be drawn at 0.25 to 8 times the picture's size; vector formats have no
// pixels to scale.
inline constexpr double kMinPictureScale = 0.25;
inline constexpr double kMaxPictureScale = 8.0;
// The largest scaled bitmap, in pixels: as many as the largest panel's image (256 MB).
inline constexpr long long kMaxPictureBitmapPixels = 8192LL * 8192LL;

// The picture's size in layout pixels: on the polar grid the square image control plus
// `surface`'s left and top margins and 4 pixels, else `client`, the area the image is
// shown in.
PixelSize PictureSize(const PlotSurface& surface, bool polar, PixelSize client);

// The picture of `surface`, one of `session`'s, at `size` layout pixels:
// - at `scale` 1, the surface's image as it stands, pixel for pixel at its own density,
//   on a canvas of `size` filled with the image's corner colour where the image ends;
// - otherwise painted afresh at `scale` times `size` over the background colour.
// A null image when the scaled bitmap would exceed kMaxPictureBitmapPixels.
QImage PictureBitmap(PlotSession& session, PlotSurface& surface, PixelSize size, double scale);

// The picture as an SVG document whose size and view box are `size`.
QByteArray PictureSvg(PlotSession& session, PlotSurface& surface, PixelSize size);

// Writes the picture to `path` in the format of its extension (PictureFormatOf), through
// a temporary file that replaces `path` only when complete; `scale` counts for bitmaps
// only. False, with `error` saying why and any old file left as it was, for an unknown
// extension, a bitmap too large, or a file that cannot be written.
bool SavePicture(PlotSession& session, PlotSurface& surface, PixelSize size, double scale,
                 const std::string& path, std::string& error);

// Writes `image` as PNG (".png") or BMP (".bmp"), any case, as SavePicture writes.
bool SaveImageFile(const QImage& image, const std::string& path, std::string& error);

}  // namespace pc
