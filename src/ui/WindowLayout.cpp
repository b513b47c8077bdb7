#include "ui/WindowLayout.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLayout>
#include <QWidget>

namespace vantrel {

void FitFixedSize(QWidget* window, QSize defaultSize) {
    QLayout* layout = window->layout();
    if (!layout) {
        window->setFixedSize(defaultSize);
        return;
    }
    layout->activate();
    const int width = std::max(defaultSize.width(), layout->totalMinimumSize().width());
    const int needed = layout->hasHeightForWidth() ? layout->totalHeightForWidth(width) : layout->totalMinimumSize().height();
    window->setFixedSize(width, std::max(defaultSize.height(), needed));
}

QString LongHint(const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

void SetHint(QWidget* control, const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    const QString shortHint = bar < 0 ? hint : hint.left(bar);
    control->setToolTip(shortHint);
    control->setStatusTip(LongHint(hint));
    auto* button = qobject_cast<QAbstractButton*>(control);
    if (button && button->text().isEmpty()) control->setAccessibleName(shortHint);
    else control->setAccessibleDescription(LongHint(hint));
}

QLabel* NewWrappedLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLabel* NewBoldLabel(const QString& name, const QString& text, QWidget* parent) {
    QLabel* label = NewWrappedLabel(name, text, parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

}  // namespace vantrel
