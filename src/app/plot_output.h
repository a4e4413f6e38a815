#pragma once
// The picture's copies: the snapshot of the main plot that the clipboard, the bitmap file
// and the printer take, and the printed page with its title line.

#include <QImage>

#include "plot/output_geometry.h"

class QPaintDevice;
class QSize;
class QString;

namespace pc {

class PlotSession;

// The size of the main plot's picture: the image control on the polar grid, else the
// plot panel `client`.
PixelSize MainPictureSize(const PlotSession& session, const QSize& client);

// The main plot's picture in a bitmap of MainPictureSize, at the picture's own pixel
// density.
QImage TakeSnapshot(PlotSession& session, const QSize& client);

// Puts `bitmap` on one page of `page` under the title line `title`, as large as the page
// allows while keeping its aspect ratio. False when the page could not be painted on
// (no printer, a file that cannot be written).
bool PrintBitmap(QPaintDevice& page, const QImage& bitmap, const QString& title);

}  // namespace pc
