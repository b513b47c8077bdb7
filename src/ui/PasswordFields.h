#pragma once

#include <QString>

class QLineEdit;
class QObject;
class QWidget;

namespace vantrel {

// Masks the field with "*" when it shows its text, and shows the text when it is masked.
void TogglePasswordMask(QLineEdit* field);

// Asks for a file through the open-file dialog described by `dialog` (its "title" and
// "filter" properties, the filter as "label|patterns|label|patterns"), and fills the field
// with the file's lines, each followed by CR LF. A cancelled choice leaves the field as it
// was; so does a file that cannot be read, after an error box naming it.
void LoadPasswordFromFile(QLineEdit* field, const QObject* dialog, QWidget* parent);

// "Text files (*.TXT)|*.txt| All files|*.*" as a Qt name filter; patterns with letters match
// either case, as they do on Windows.
QString QtNameFilter(const QString& filter);

}  // namespace vantrel
