#pragma once

#include <QListWidget>
#include <QPixmap>
#include <QStringList>

namespace vantrel {

// Splits an operation's description into lines of at most `width` characters where it can:
// text shorter than the width is one line; otherwise each line ends at the last blank or
// backslash within the width (kept at the end of the line), and text without one there is
// taken whole as the last line.
QStringList WrapDescription(const QString& text, int width);

// The main page's list of the five operations: a picture, the name in bold and the wrapped
// description. The entry under the pointer is the selected one and shows its highlighted
// picture; a click (or Enter on the current entry) asks for that operation's wizard.
class TOperationsListBox : public QListWidget {
    Q_OBJECT

public:
    static constexpr int DefaultItemHeight = 51;
    explicit TOperationsListBox(QWidget* parent = nullptr);

    // The line width in characters for the descriptions; worked out from the list's width
    // and its font.
    int DescriptionWidth() const;
    // The lines entry i's description is drawn in: wrapped at DescriptionWidth, or narrower
    // where a line would not fit in the room beside the picture.
    QStringList DescriptionLines(int row) const;
    int ItemHeight(int row) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void OperationChosen(int position);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class TOperationDelegate;
    int TextRoom() const;

    QPixmap pictures_[10];
    int lastHeightHint_ = 0;
};

}  // namespace vantrel
