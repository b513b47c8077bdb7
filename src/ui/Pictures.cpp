#include "ui/Pictures.h"

#include <QFileInfo>
#include <QImage>

#include <exception>

#include "app/AppFolders.h"
#include "operations/Operations.h"
#include "platform/JpegFile.h"

namespace vantrel {

namespace {

QPixmap PixmapFromRgb(const TRgbImage& image) {
    if (image.Width <= 0 || image.Height <= 0) return {};
    const QImage view(image.Pixels.data(), image.Width, image.Height, image.Width * 3, QImage::Format_RGB888);
    QPixmap pixmap = QPixmap::fromImage(view.copy());
    pixmap.setDevicePixelRatio(kPictureScale);
    return pixmap;
}

}  // namespace

QString ResourcePath(const QString& relative) {
    return QString::fromStdString(GetProgramFolder()) + QStringLiteral("res/") + relative;
}

QPixmap LoadPicture(const QString& relative) { return PixmapFromRgb(LoadJpegFile(ResourcePath(relative).toStdString())); }

QPixmap OperationPicture(int i, bool hot) {
    try {
        return PixmapFromRgb(hot ? GetOperationHotImage(i) : GetOperationImage(i));
    } catch (const std::exception&) {
        return {};  // before the operation list has its pictures
    }
}

QIcon LoadIcon(const QString& relative) {
    const QString path = ResourcePath(relative);
    return QFileInfo::exists(path) ? QIcon(path) : QIcon();
}

}  // namespace vantrel
