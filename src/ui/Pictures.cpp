#include "ui/Pictures.h"

#include <QFileInfo>
#include <QImage>

#include <stdexcept>

#include "app/AppFolders.h"

#if __has_include("platform/JpegFile.h")
#include "operations/Operations.h"
#include "platform/JpegFile.h"
#define VANTREL_HAVE_JPEG_FILE 1
#endif

namespace vantrel {

namespace {

#ifdef VANTREL_HAVE_JPEG_FILE
QPixmap PixmapFromRgb(const TRgbImage& image) {
    if (image.Width <= 0 || image.Height <= 0) return {};
    const QImage view(image.Pixels.data(), image.Width, image.Height, image.Width * 3, QImage::Format_RGB888);
    QPixmap pixmap = QPixmap::fromImage(view.copy());
    pixmap.setDevicePixelRatio(kPictureScale);
    return pixmap;
}
#endif

}  // namespace

QString ResourcePath(const QString& relative) {
    return QString::fromStdString(GetProgramFolder()) + QStringLiteral("res/") + relative;
}

QPixmap LoadPicture(const QString& relative) {
    const QString path = ResourcePath(relative);
#ifdef VANTREL_HAVE_JPEG_FILE
    return PixmapFromRgb(LoadJpegFile(path.toStdString()));
#else
    QImage image(path);
    if (image.isNull()) throw std::runtime_error("Cannot read the picture " + path.toStdString());
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(kPictureScale);
    return pixmap;
#endif
}

QPixmap OperationPicture(int i, bool hot) {
#ifdef VANTREL_HAVE_JPEG_FILE
    try {
        return PixmapFromRgb(hot ? GetOperationHotImage(i) : GetOperationImage(i));
    } catch (const std::exception&) {
        return {};
    }
#else
    try {
        return LoadPicture(QString::number(hot ? i + 5 : i) + QStringLiteral(".jpg"));
    } catch (const std::exception&) {
        return {};
    }
#endif
}

QIcon LoadIcon(const QString& relative) {
    const QString path = ResourcePath(relative);
    return QFileInfo::exists(path) ? QIcon(path) : QIcon();
}

}  // namespace vantrel
