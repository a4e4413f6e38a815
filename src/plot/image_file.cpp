#include "image_file.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <string_view>

#include "catalogue/catalogue.h"
#include "catalogue/file_text.h"
#include "catalogue/startup_decisions.h"
#include "colours.h"
#include "plot_session.h"
#include "plot_surface.h"

namespace pc {

namespace {

constexpr const char* kPictureTitle = "Plotcraftsman";

// As on the screen: a grid the session has given up on is not painted.
bool GridAllowed(GridError error) {
    return error != GridError::NoLogarithmicGrid && error != GridError::ShowSettings;
}

// The picture on a device of `size` layout pixels that is still blank: the background,
// then what the surface shows; only the background while the surface has nothing to
// show, as on the screen.
void PaintOn(QPainter& painter, PlotSession& session, PlotSurface& surface, PixelSize size) {
    painter.fillRect(0, 0, size.width, size.height, ToQColor(surface.look.colourBackground));
    if (surface.view.ready && session.displayReady)
        PaintPicture(surface, painter, session.GetCatalogue().Items(), session.gridType,
                     GridAllowed(session.gridError));
}

// Vector devices count text in points: at the resolution of the surface's image a point
// size covers as many layout pixels as on the screen, and labels keep the widths the
// grid measured them with.
int ImageResolution(const PlotSurface& surface) {
    return std::max(surface.Image().logicalDpiX(), 1);
}

bool WriteBytes(const QByteArray& bytes, const std::string& path, std::string& error) {
    return WriteFileBytes(
        path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), error);
}

bool PictureFitsBitmap(PixelSize size, double scale) {
    const double width = std::round(std::max(size.width, 1) * scale);
    const double height = std::round(std::max(size.height, 1) * scale);
    return width * height <= static_cast<double>(kMaxPictureBitmapPixels);
}

QByteArray PicturePdf(PlotSession& session, PlotSurface& surface, PixelSize size) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    const int resolution = ImageResolution(surface);
    writer.setResolution(resolution);
    writer.setTitle(QString::fromLatin1(kPictureTitle));
    writer.setCreator(QString::fromLatin1(kPictureTitle));
    // One page of the picture's size. The writer counts pages in whole points (72 to the
    // inch), so the page is rounded up to the next one and the background fills the page.
    const QSize points(static_cast<int>(std::ceil(std::max(size.width, 1) * 72.0 / resolution)),
                       static_cast<int>(std::ceil(std::max(size.height, 1) * 72.0 / resolution)));
    writer.setPageSize(QPageSize(points, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    const QRect page = painter.window();
    PaintOn(painter, session, surface,
            PixelSize{std::max(size.width, page.width()), std::max(size.height, page.height())});
    painter.end();
    return bytes;
}

}  // namespace

std::optional<PictureFormat> PictureFormatOf(const std::string& path) {
    const std::string extension = UpperCaseExtension(path);
    if (extension == ".PNG")
        return PictureFormat::Png;
    if (extension == ".BMP")
        return PictureFormat::Bmp;
    if (extension == ".SVG")
        return PictureFormat::Svg;
    if (extension == ".PDF")
        return PictureFormat::Pdf;
    return std::nullopt;
}

PixelSize PictureSize(const PlotSurface& surface, bool polar, PixelSize client) {
    return SnapshotSize(polar, PixelSize{surface.controlWidth, surface.controlHeight},
                        surface.view.marginLeft, surface.view.marginTop, client);
}

QImage PictureBitmap(PlotSession& session, PlotSurface& surface, PixelSize size, double scale) {
    if (!PictureFitsBitmap(size, scale))
        return {};
    const QImage& image = surface.Image();
    if (scale == 1.0) {
        const qreal ratio = image.devicePixelRatio();
        QImage snapshot(qRound(std::max(size.width, 1) * ratio),
                        qRound(std::max(size.height, 1) * ratio), QImage::Format_RGB32);
        snapshot.setDevicePixelRatio(ratio);
        snapshot.fill(image.pixelColor(0, 0));
        QPainter painter(&snapshot);
        painter.drawImage(QPoint(0, 0), image);
        return snapshot;
    }
    QImage scaled(static_cast<int>(std::round(std::max(size.width, 1) * scale)),
                  static_cast<int>(std::round(std::max(size.height, 1) * scale)),
                  QImage::Format_RGB32);
    if (scaled.isNull())
        return scaled;
    QPainter painter(&scaled);
    painter.scale(scale, scale);
    PaintOn(painter, session, surface, size);
    return scaled;
}

QByteArray PictureSvg(PlotSession& session, PlotSurface& surface, PixelSize size) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(size.width, size.height));
    generator.setViewBox(QRect(0, 0, size.width, size.height));
    generator.setResolution(ImageResolution(surface));
    generator.setTitle(QString::fromLatin1(kPictureTitle));
    QPainter painter(&generator);
    PaintOn(painter, session, surface, size);
    painter.end();
    return bytes;
}

bool SavePicture(PlotSession& session, PlotSurface& surface, PixelSize size, double scale,
                 const std::string& path, std::string& error) {
    const std::optional<PictureFormat> format = PictureFormatOf(path);
    if (!format) {
        error = std::string("the picture's format follows the extension: ") + kPictureExtensions;
        return false;
    }
    if (*format == PictureFormat::Svg)
        return WriteBytes(PictureSvg(session, surface, size), path, error);
    if (*format == PictureFormat::Pdf)
        return WriteBytes(PicturePdf(session, surface, size), path, error);
    const QImage bitmap = PictureBitmap(session, surface, size, scale);
    if (bitmap.isNull()) {
        error = "a bitmap of " + std::to_string(std::lround(size.width * scale)) + " x " +
                std::to_string(std::lround(size.height * scale)) + " pixels is larger than " +
                std::to_string(kMaxPictureBitmapPixels / 1'000'000) + " million pixels";
        return false;
    }
    return SaveImageFile(bitmap, path, error);
}

bool SaveImageFile(const QImage& image, const std::string& path, std::string& error) {
    const std::optional<PictureFormat> format = PictureFormatOf(path);
    const char* name = format == PictureFormat::Png   ? "PNG"
                       : format == PictureFormat::Bmp ? "BMP"
                                                      : nullptr;
    if (!name) {
        error = "the image format follows the extension: .png or .bmp";
        return false;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, name)) {
        error = "the image could not be encoded";
        return false;
    }
    return WriteBytes(bytes, path, error);
}

}  // namespace pc
