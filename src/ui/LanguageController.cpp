#include "ui/LanguageController.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMetaProperty>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <QWidget>

#include <algorithm>
#include <optional>

namespace vantrel {

namespace {

QString FromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

const QString LinkOpen = QStringLiteral("<link>");
const QString LinkClose = QStringLiteral("</link>");

// Lines of a list text: split at CR LF, LF or CR; a final line break ends the last item.
QStringList SplitLines(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() > 1 && lines.back().isEmpty()) lines.removeLast();
    return lines;
}

// What a reader hears: no mnemonic marks ("&&" is a literal "&"), no link marks.
QString PlainText(QString text) {
    text.remove(LinkOpen).remove(LinkClose);
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

bool IsRichLabel(const QLabel& label) {
    return label.textFormat() == Qt::RichText ||
           (label.textFormat() == Qt::AutoText && Qt::mightBeRichText(label.text()));
}

// A label's text with its links written as link marks; href receives the first link's
// target.
QString ReadLabel(const QLabel& label, QString* href) {
    if (!IsRichLabel(label)) return label.text();
    static const QRegularExpression anchor(QStringLiteral("<a\\b([^>]*)>(.*?)</a\\s*>"),
                                           QRegularExpression::CaseInsensitiveOption |
                                               QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression target(QStringLiteral("href\\s*=\\s*[\"']([^\"']*)[\"']"),
                                           QRegularExpression::CaseInsensitiveOption);
    QString html = label.text();
    if (const auto first = anchor.match(html); first.hasMatch() && href) {
        const auto t = target.match(first.captured(1));
        *href = t.hasMatch() ? t.captured(1) : QStringLiteral("#");
    }
    // Private-use characters hold the link marks' places through the conversion to plain text.
    html.replace(anchor, QStringLiteral("\uE000\\2\uE001"));
    QString plain = QTextDocumentFragment::fromHtml(html).toPlainText();
    plain.replace(QChar(0xE000), LinkOpen).replace(QChar(0xE001), LinkClose);
    return plain;
}

// Sets a label's text; link marks become links to href. A label that had a link keeps one:
// a text without marks becomes the link as a whole, so the control stays usable.
void WriteLabel(QLabel& label, const QString& text, const std::optional<QString>& href) {
    if (!text.contains(LinkOpen) && !href) {
        label.setText(text);
        return;
    }
    QString marked = text.contains(LinkOpen) ? text : LinkOpen + text + LinkClose;
    const QString target = href.value_or(QStringLiteral("#")).toHtmlEscaped();
    QString html;
    qsizetype at = 0;
    while (at < marked.size()) {
        const qsizetype open = marked.indexOf(LinkOpen, at);
        if (open < 0) {
            html += marked.mid(at).toHtmlEscaped();
            break;
        }
        html += marked.mid(at, open - at).toHtmlEscaped();
        const qsizetype start = open + LinkOpen.size();
        qsizetype close = marked.indexOf(LinkClose, start);
        if (close < 0) close = marked.size();
        html += QStringLiteral("<a href=\"%1\">%2</a>").arg(target, marked.mid(start, close - start).toHtmlEscaped());
        at = close + LinkClose.size();
    }
    html.replace(QStringLiteral("\r\n"), QStringLiteral("<br>")).replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    label.setTextFormat(Qt::RichText);
    label.setText(html);
}

QByteArray QtPropertyName(const QString& path) {
    QString name = path;
    if (!name.isEmpty()) name[0] = name[0].toLower();
    return name.toLatin1();
}

bool IsTextLike(const QVariant& v) {
    return v.isValid() && (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QStringList);
}

// One property of one live object, as the language data names it.
class PropertyAccess {
public:
    PropertyAccess(QObject& object, const QString& path, std::optional<QString>& href)
        : object_(object), widget_(qobject_cast<QWidget*>(&object)), path_(path), href_(href) {}

    // What the path sets on this object: paths that set the same thing (a label's Caption
    // and Text) give the same answer.
    QString Target() const {
        if (Is("Caption")) {
            if (widget_ && widget_->isWindow()) return QStringLiteral("windowTitle");
            if (qobject_cast<QGroupBox*>(&object_)) return QStringLiteral("title");
            return QStringLiteral("text");
        }
        if (Is("Text")) return QStringLiteral("text");
        return path_.toLower();
    }

    bool Stored() const {
        const QMetaObject* meta = object_.metaObject();
        const int index = meta->indexOfProperty(QtPropertyName(path_).constData());
        return index < 0 || meta->property(index).isStored();
    }

    std::optional<QString> Read() const {
        if (Is("Caption")) return ReadCaption();
        if (Is("Hint")) return ReadHint();
        if (Is("Items")) return ReadItems();
        if (Is("Text")) return ReadText();
        return ReadGeneric();
    }

    void Write(const QString& text, const QString& designed) {
        const std::optional<QString> before = Read();
        if (Is("Caption")) WriteCaption(text);
        else if (Is("Hint")) WriteHint(text);
        else if (Is("Items")) WriteItems(text, designed);
        else if (Is("Text")) WriteText(text);
        else WriteGeneric(text);
        FollowAccessibleTexts(before);
    }

private:
    bool Is(const char* name) const { return path_.compare(QLatin1String(name), Qt::CaseInsensitive) == 0; }

    std::optional<QString> ReadCaption() const {
        if (widget_ && widget_->isWindow()) return widget_->windowTitle();
        if (auto* group = qobject_cast<QGroupBox*>(&object_)) return group->title();
        return ReadText();
    }
    void WriteCaption(const QString& text) {
        if (widget_ && widget_->isWindow()) widget_->setWindowTitle(PlainText(text));
        else if (auto* group = qobject_cast<QGroupBox*>(&object_)) group->setTitle(text);
        else WriteText(text);
    }

    std::optional<QString> ReadHint() const {
        if (!widget_) return ReadGeneric();
        const QString tip = widget_->toolTip(), status = widget_->statusTip();
        return (status.isEmpty() || status == tip) ? tip : tip + QLatin1Char('|') + status;
    }
    void WriteHint(const QString& text) {
        if (!widget_) return WriteGeneric(text);
        const qsizetype bar = text.indexOf(QLatin1Char('|'));
        widget_->setToolTip(bar < 0 ? text : text.left(bar));
        widget_->setStatusTip(bar < 0 ? text : text.mid(bar + 1));
    }

    std::optional<QString> ReadItems() const {
        QStringList items;
        if (auto* combo = qobject_cast<QComboBox*>(&object_)) {
            for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
        } else if (auto* list = qobject_cast<QListWidget*>(&object_)) {
            for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
        } else {
            return ReadGeneric();
        }
        return items.join(QLatin1Char('\n'));
    }
    // The window decides how many items there are (positions mean algorithms and schemes);
    // the text only renames them.
    void WriteItems(const QString& text, const QString& designed) {
        const QStringList lines = SplitLines(text), defaults = SplitLines(designed);
        const auto itemText = [&](int i, const QString& current) {
            if (i < lines.size()) return lines[i];
            return i < defaults.size() ? defaults[i] : current;
        };
        if (auto* combo = qobject_cast<QComboBox*>(&object_)) {
            for (int i = 0; i < combo->count(); ++i) combo->setItemText(i, itemText(i, combo->itemText(i)));
        } else if (auto* list = qobject_cast<QListWidget*>(&object_)) {
            for (int i = 0; i < list->count(); ++i) list->item(i)->setText(itemText(i, list->item(i)->text()));
        } else {
            WriteGeneric(text);
        }
    }

    std::optional<QString> ReadText() const {
        if (auto* combo = qobject_cast<QComboBox*>(&object_)) return combo->currentText();
        if (auto* label = qobject_cast<QLabel*>(&object_)) {
            QString target;
            QString text = ReadLabel(*label, &target);
            if (!target.isEmpty()) href_ = target;
            return text;
        }
        const QVariant v = object_.property("text");
        if (!IsTextLike(v)) return std::nullopt;
        return v.toString();
    }
    void WriteText(const QString& text) {
        if (auto* combo = qobject_cast<QComboBox*>(&object_)) {
            combo->setCurrentText(text);
        } else if (auto* label = qobject_cast<QLabel*>(&object_)) {
            WriteLabel(*label, text, href_);
        } else if (IsTextLike(object_.property("text"))) {
            QString plain = text;
            plain.remove(LinkOpen).remove(LinkClose);
            object_.setProperty("text", plain);
        }
    }

    std::optional<QString> ReadGeneric() const {
        if (path_.contains(QLatin1Char('.')) || path_.contains(QLatin1Char('['))) return std::nullopt;
        const QVariant v = object_.property(QtPropertyName(path_).constData());
        if (!IsTextLike(v)) return std::nullopt;
        if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(QLatin1Char('\n'));
        return v.toString();
    }
    void WriteGeneric(const QString& text) {
        const QByteArray name = QtPropertyName(path_);
        const QVariant v = object_.property(name.constData());
        if (!IsTextLike(v)) return;
        if (v.typeId() == QMetaType::QStringList) object_.setProperty(name.constData(), SplitLines(text));
        else object_.setProperty(name.constData(), text);
    }

    // A reader's name or description that told what the control showed keeps telling it.
    void FollowAccessibleTexts(const std::optional<QString>& before) {
        if (!widget_ || !before) return;
        if (Is("Caption") || Is("Text")) {
            const std::optional<QString> after = Read();
            if (after && widget_->accessibleName() == PlainText(*before)) widget_->setAccessibleName(PlainText(*after));
        } else if (Is("Hint")) {
            const QString oldTip = before->section(QLatin1Char('|'), 0, 0);
            if (!widget_->accessibleDescription().isEmpty() && widget_->accessibleDescription() == oldTip)
                widget_->setAccessibleDescription(widget_->toolTip());
        }
    }

    QObject& object_;
    QWidget* widget_;
    QString path_;
    std::optional<QString>& href_;
};

// Items go first, so that a combo box's Text selects among the item texts of the language.
int ApplyRank(const TLang_PropEntry& prop) {
    return QString::fromStdString(prop.PropName).compare(QLatin1String("Items"), Qt::CaseInsensitive) == 0 ? 0 : 1;
}

}  // namespace

TLanguageController::TLanguageController(QWidget* window, std::span<const std::uint8_t> langData)
    : TLanguageController(window, langData, Settings{}) {}

TLanguageController::TLanguageController(QWidget* window, std::span<const std::uint8_t> langData, Settings settings)
    : QObject(window), window_(window), settings_(std::move(settings)) {
    setObjectName(QStringLiteral("LanguageController"));
    const TLang_CompEntry root = ReadLangData(langData);
    sectionName_ = settings_.SectionName;
    if (sectionName_.isEmpty()) sectionName_ = window->objectName();
    if (sectionName_.isEmpty()) sectionName_ = FromUtf8(root.CompName);

    Bind(root, window);
    CaptureDefaults();

    TLanguageManager& manager = LanguageManager();
    manager.RegisterController(*this);
    if (manager.LanguageID() != manager.GetDefaultLanguageID()) manager.TranslateWindow(*this);
}

TLanguageController::~TLanguageController() { LanguageManager().UnregisterController(*this); }

void TLanguageController::Bind(const TLang_CompEntry& entry, QObject* object) {
    Bound bound{object, FromUtf8(entry.CompName) + QLatin1Char('.'), entry.Props};
    std::stable_sort(bound.props.begin(), bound.props.end(),
                     [](const auto& a, const auto& b) { return ApplyRank(a) < ApplyRank(b); });
    bound_.push_back(std::move(bound));
    // Controls sit inside layouts and group boxes, so a name is looked for at any depth below
    // the owner; a name the window does not have drops its entry and everything under it.
    for (const TLang_CompEntry& child : entry.Children) {
        if (QObject* found = object->findChild<QObject*>(FromUtf8(child.CompName))) Bind(child, found);
    }
}

bool TLanguageController::Ignored(const Bound& bound, const TLang_PropEntry& prop) const {
    const QString propName = FromUtf8(prop.PropName);
    if (settings_.options.testFlag(lcoIgnoreFontProps) &&
        propName.section(QLatin1Char('.'), 0, 0).compare(QLatin1String("Font"), Qt::CaseInsensitive) == 0)
        return true;
    const QString path = bound.path + propName;
    return std::any_of(settings_.IgnoreList.begin(), settings_.IgnoreList.end(), [&](const QString& mask) {
        return QRegularExpression::fromWildcard(mask, Qt::CaseInsensitive).match(path).hasMatch();
    });
}

bool TLanguageController::PassesFilter(const QString& text) const {
    if (settings_.options.testFlag(lcoIgnoreNonAlphaProps)) {
        return std::any_of(text.begin(), text.end(), [](QChar c) {
            const char16_t u = c.unicode();
            return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || u >= 0x040E;
        });
    }
    return !settings_.options.testFlag(lcoIgnoreEmptyProps) || !text.isEmpty();
}

void TLanguageController::CaptureDefaults() {
    for (Bound& bound : bound_) {
        for (TLang_PropEntry& prop : bound.props) {
            if (Ignored(bound, prop)) continue;
            std::optional<QString> href;
            PropertyAccess access(*bound.object, FromUtf8(prop.PropName), href);
            const std::optional<QString> text = access.Read();
            if (!text) continue;
            const QString path = bound.path + FromUtf8(prop.PropName);
            const bool stored = access.Stored() || std::any_of(settings_.StoreList.begin(), settings_.StoreList.end(),
                                                               [&](const QString& mask) {
                                                                   return QRegularExpression::fromWildcard(
                                                                              mask, Qt::CaseInsensitive)
                                                                       .match(path)
                                                                       .hasMatch();
                                                               });
            if (!stored || !PassesFilter(*text)) continue;
            prop.DefaultText = text->toStdString();
            prop.HasDefault = true;
            if (href) links_[bound.object.data()] = *href;
        }
    }
}

std::string TLanguageController::LangSectionName() const { return sectionName_.toStdString(); }

void TLanguageController::TranslateWindow() { LanguageManager().TranslateWindow(*this); }

std::vector<std::pair<int, QString>> LanguageChoices() {
    std::vector<std::pair<int, QString>> choices;
    for (const TLanguageChoice& language : LanguageManager().Languages())
        choices.emplace_back(language.ID, FromUtf8(language.Name));
    return choices;
}

void TLanguageController::ApplyLanguage(const TLang_CompTranslation* section) {
    emit OnLanguageChanging();
    // Told even when a property refuses its text half-way.
    struct Changed {
        TLanguageController* self;
        ~Changed() { emit self->OnLanguageChanged(); }
    } changed{this};

    for (Bound& bound : bound_) {
        if (!bound.object) continue;
        QStringList translated;  // what this object already shows in the language
        for (const TLang_PropEntry& prop : bound.props) {
            if (Ignored(bound, prop)) continue;
            const std::string* text = section ? section->Find(prop.ID) : nullptr;
            // A property whose designed text did not pass the filters is left alone when the
            // language has no text for it, rather than emptied.
            if (!text && !prop.HasDefault) continue;
            std::optional<QString> href;
            if (const auto link = links_.find(bound.object.data()); link != links_.end()) href = link->second;
            PropertyAccess access(*bound.object, FromUtf8(prop.PropName), href);
            // Two paths that set one thing (a label's Caption and Text): a translation is not
            // undone by the designed English of the other.
            const QString target = access.Target();
            if (!text && translated.contains(target)) continue;
            if (text) translated << target;
            access.Write(FromUtf8(text ? *text : prop.DefaultText), FromUtf8(prop.DefaultText));
        }
    }
}

}  // namespace vantrel
