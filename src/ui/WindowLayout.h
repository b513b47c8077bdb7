#pragma once

#include <QSize>
#include <QString>

class QLabel;
class QWidget;

namespace vantrel {

// Fixes a window's size at its default client size, or larger where its layout needs more
// room (long translations, a large font), so that no text is clipped.
void FitFixedSize(QWidget* window, QSize defaultSize);

// A control's hint in the "short|long" form: the short part becomes the tooltip, the long
// part (the whole text when there is no "|") the status-bar text. The accessible name of a
// control without visible text is the short part.
void SetHint(QWidget* control, const QString& hint);
QString LongHint(const QString& hint);

// A label that wraps its text within the width its layout gives it.
QLabel* NewWrappedLabel(const QString& name, const QString& text, QWidget* parent);
QLabel* NewBoldLabel(const QString& name, const QString& text, QWidget* parent);

}  // namespace vantrel
