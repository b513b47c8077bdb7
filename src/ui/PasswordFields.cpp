#include "ui/PasswordFields.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QVariant>

#include <stdexcept>
#include <string>

#include "base/SecureMemory.h"
#include "platform/TextFile.h"
#include "ui/MessageBox.h"

namespace vantrel {

void TogglePasswordMask(QLineEdit* field) {
    field->setEchoMode(field->echoMode() == QLineEdit::Normal ? QLineEdit::Password : QLineEdit::Normal);
}

QString QtNameFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString label = parts[i];
        label.remove(trailingPatterns);
        QStringList patterns;
        for (const QString& raw : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString pattern = raw.trimmed() == QLatin1String("*.*") ? QStringLiteral("*") : raw.trimmed();
            for (const QString& variant : {pattern, pattern.toLower(), pattern.toUpper()})
                if (!patterns.contains(variant)) patterns.append(variant);
        }
        filters.append(label.trimmed() + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

void LoadPasswordFromFile(QLineEdit* field, const QObject* dialog, QWidget* parent) {
    const QString title = dialog ? dialog->property("title").toString() : QString();
    const QString filter = dialog ? dialog->property("filter").toString() : QString();
    const QString fileName = TFileDialog::GetOpenFileName(parent, title, QtNameFilter(filter));
    if (fileName.isEmpty()) return;
    std::string text;
    try {
        text = ReadLinesWithCrLf(fileName.toStdString());
    } catch (const std::exception& e) {
        TMessageBox::Error(parent, QString::fromUtf8(e.what()));
        return;
    }
    field->setText(QString::fromStdString(text));
    SecureZero(text.data(), text.size());
}

}  // namespace vantrel
