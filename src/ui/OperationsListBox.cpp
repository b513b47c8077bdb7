#include "ui/OperationsListBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "i18n/LangConstants.h"
#include "operations/Operations.h"
#include "ui/Pictures.h"

namespace vantrel {

namespace {

constexpr int kPictureLeft = 15;
constexpr int kTextLeft = 80;
constexpr int kNameTop = 10;
const QColor kSelectedFill(221, 239, 255);

}  // namespace

QStringList WrapDescription(const QString& text, int width) {
    if (text.size() < width || width < 1) return {text};
    QStringList lines;
    QString rest = text;
    while (!rest.isEmpty()) {
        if (rest.size() < width) {
            lines.append(rest);
            break;
        }
        qsizetype cut = -1;
        for (qsizetype p = width; p >= 1; --p) {
            const QChar c = rest.at(p - 1);
            if (c == QLatin1Char(' ') || c == QLatin1Char('\\')) {
                cut = p;
                break;
            }
        }
        if (cut < 0) {
            lines.append(rest);
            break;
        }
        lines.append(rest.left(cut));
        rest.remove(0, cut);
    }
    return lines;
}

class TOperationDelegate : public QStyledItemDelegate {
public:
    explicit TOperationDelegate(TOperationsListBox* list) : QStyledItemDelegate(list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const int i = index.row();
        const bool selected = option.state & QStyle::State_Selected;
        const QRect r = option.rect;
        painter->save();
        painter->fillRect(r, selected ? kSelectedFill : QColor(Qt::white));
        const QPixmap& picture = list_->pictures_[selected ? i + 5 : i];
        if (!picture.isNull()) {
            const int height = int(picture.height() / picture.devicePixelRatio());
            painter->drawPixmap(r.left() + kPictureLeft, (r.top() + r.bottom()) / 2 - height / 2, picture);
        }
        painter->setPen(Qt::black);
        QFont bold = option.font;
        bold.setBold(true);
        painter->setFont(bold);
        const QFontMetrics boldMetrics(bold);
        painter->drawText(r.left() + kTextLeft, r.top() + kNameTop + boldMetrics.ascent(), index.data().toString());
        painter->setFont(option.font);
        const int h = option.fontMetrics.height();
        const QStringList lines = list_->DescriptionLines(i);
        for (int k = 1; k <= lines.size(); ++k)
            painter->drawText(r.left() + kTextLeft, r.top() + h + k * h + option.fontMetrics.ascent(),
                              lines[k - 1]);
        if (option.state & QStyle::State_HasFocus && list_->hasFocus()) {
            QPen dotted(Qt::DotLine);
            painter->setPen(dotted);
            painter->drawRect(r.adjusted(1, 1, -2, -2));
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override {
        return {list_->viewport()->width(), list_->ItemHeight(index.row())};
    }

private:
    TOperationsListBox* list_;
};

TOperationsListBox::TOperationsListBox(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("OperationsListBox"));
    setItemDelegate(new TOperationDelegate(this));
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(false);
    setFrameShape(QFrame::NoFrame);
    for (int i = 0; i < 10; ++i) pictures_[i] = OperationPicture(i % 5, i >= 5);
    for (int i = 0; i < OperationCount(); ++i) {
        const TOperation& operation = GetOperation(i);
        auto* item = new QListWidgetItem(QString::fromStdString(operation.Name), this);
        item->setData(Qt::AccessibleDescriptionRole, QString::fromStdString(operation.Description));
        item->setData(Qt::ToolTipRole, QString::fromStdString(operation.Description));
    }
    setAccessibleName(QStringLiteral("What would you like to do?"));
}

// Before the list is laid out its viewport has no real width yet; it is never narrower than
// the content column.
int TOperationsListBox::TextRoom() const { return std::max(360 - 2 * frameWidth(), viewport()->width()) - kTextLeft - 4; }

int TOperationsListBox::DescriptionWidth() const {
    const int a = std::max(1, fontMetrics().horizontalAdvance(QLatin1Char('a')));
    return std::max(1, 360 / a - 4);
}

QStringList TOperationsListBox::DescriptionLines(int row) const {
    const QString text = item(row) ? item(row)->data(Qt::AccessibleDescriptionRole).toString() : QString();
    const QFontMetrics metrics = fontMetrics();
    // The description width is kept where the lines fit beside the picture; a wider font
    // or a longer translation narrows it, so no line runs past the list's edge.
    for (int width = DescriptionWidth(); width > 1; --width) {
        QStringList lines = WrapDescription(text, width);
        bool fits = true;
        for (const QString& line : lines) fits = fits && metrics.horizontalAdvance(line.trimmed()) <= TextRoom();
        if (fits) return lines;
    }
    return WrapDescription(text, 1);
}

int TOperationsListBox::ItemHeight(int row) const {
    const int h = fontMetrics().height();
    const int lines = int(DescriptionLines(row).size());
    return std::max(DefaultItemHeight, (lines + 2) * h + h / 2);
}

QSize TOperationsListBox::sizeHint() const {
    int height = 2 * frameWidth();
    for (int i = 0; i < count(); ++i) height += ItemHeight(i);
    return {360, std::max(260, height)};
}

QSize TOperationsListBox::minimumSizeHint() const { return sizeHint(); }

void TOperationsListBox::mouseMoveEvent(QMouseEvent* event) {
    QListWidgetItem* hovered = itemAt(event->position().toPoint());
    if (hovered) setCurrentItem(hovered);
    else clearSelection();
}

void TOperationsListBox::leaveEvent(QEvent* event) {
    clearSelection();
    QListWidget::leaveEvent(event);
}

void TOperationsListBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        QListWidgetItem* clicked = itemAt(event->position().toPoint());
        if (clicked && clicked->isSelected()) emit OperationChosen(row(clicked));
    }
    event->accept();
}

void TOperationsListBox::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) && currentItem()) {
        emit OperationChosen(currentRow());
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void TOperationsListBox::resizeEvent(QResizeEvent* event) {
    QListWidget::resizeEvent(event);
    // A new width may wrap the descriptions into other lines, and so change the height wanted.
    const int wanted = sizeHint().height();
    if (wanted != lastHeightHint_) {
        lastHeightHint_ = wanted;
        doItemsLayout();
        updateGeometry();
    }
}

void TOperationsListBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        doItemsLayout();
        updateGeometry();
    }
    QListWidget::changeEvent(event);
}

}  // namespace vantrel
