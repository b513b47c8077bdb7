#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace vantrel {

// Every picture under "res" is drawn at twice its logical size, so it stays crisp on a
// screen scaled by two.
inline constexpr qreal kPictureScale = 2.0;

// The program folder's "res/" followed by the relative name.
QString ResourcePath(const QString& relative);

// A JPEG of "res" as a pixmap at its logical size; throws naming the file when it cannot be
// read.
QPixmap LoadPicture(const QString& relative);
// Operation picture i (0 to 4) or its highlighted version, as the operation list loaded them;
// a null pixmap before the list exists.
QPixmap OperationPicture(int i, bool hot);

// A PNG icon of "res"; Qt adds the "@2x" file beside it for scaled screens.
QIcon LoadIcon(const QString& relative);

}  // namespace vantrel
