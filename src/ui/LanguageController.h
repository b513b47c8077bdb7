#pragma once

#include <QFlags>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <span>
#include <utility>
#include <vector>

#include "i18n/LangData.h"
#include "i18n/LanguageManager.h"

class QWidget;

namespace vantrel {

// The translation controller of one window. It binds the window's language data (IDs and
// property paths per component) to the live controls by objectName, keeps the texts the
// window was designed with, and sets the texts of the current language whenever the
// language manager asks.
//
// Property paths and what they set:
//   Caption  a window's title; a group box's title; otherwise the "text" property (labels,
//            buttons, check boxes). Link marks "<link>...</link>" in a label's text become a
//            clickable link (the label's own href is kept).
//   Hint     toolTip and statusTip; a text "short|long" gives the short part to the toolTip
//            and the long part to the statusTip.
//   Items    the items of a QComboBox or a QListWidget, one per line; the number of items
//            stays what the window has (items a text leaves out keep their designed texts).
//   Text     the current text of a QComboBox (the item of that text is selected) or the
//            text of anything else with a "text" property.
//   other    the property of that name with a lower-case first letter ("Filter" ->
//            "filter"), static or dynamic; this is how non-widgets such as the password
//            file dialog's settings object ("PasswordOpenDialog" with the string properties
//            "filter" and "title") take their texts.
// An accessible name or description that equalled the shown text follows it.
class TLanguageController : public QObject, public TLangControllerLink {
    Q_OBJECT

public:
    enum Option {
        lcoAutoSaveLangSource = 0x1,  // kept for the design tools; nothing to do at run time
        lcoIgnoreEmptyProps = 0x2,
        lcoIgnoreNonAlphaProps = 0x4,
        lcoIgnoreFontProps = 0x8,
    };
    Q_DECLARE_FLAGS(Options, Option)

    struct Settings {
        QStringList IgnoreList;  // masks of "Component.Property" never captured or set
        QStringList StoreList;   // masks of "Component.Property" captured even if not stored
        Options options = Options(lcoAutoSaveLangSource | lcoIgnoreEmptyProps | lcoIgnoreNonAlphaProps |
                                  lcoIgnoreFontProps);
        QString SectionName;     // empty: the window's objectName, or the data's root name
    };

    // Create it when the window's controls exist, at the end of the window's constructor:
    // it binds, captures the designed texts, registers with the manager and translates the
    // window at once when a language other than the default is in use. The window owns it.
    explicit TLanguageController(QWidget* window, std::span<const std::uint8_t> langData = MainFormLangData());
    TLanguageController(QWidget* window, std::span<const std::uint8_t> langData, Settings settings);
    ~TLanguageController() override;

    QString SectionName() const { return sectionName_; }
    // Applies the manager's current language to this window now.
    void TranslateWindow();

    // TLangControllerLink
    std::string LangSectionName() const override;
    void ApplyLanguage(const TLang_CompTranslation* section) override;

signals:
    void OnLanguageChanging();
    void OnLanguageChanged();

private:
    struct Bound {
        QPointer<QObject> object;
        QString path;  // "Component." for masks
        std::vector<TLang_PropEntry> props;
    };

    void Bind(const TLang_CompEntry& entry, QObject* object);
    void CaptureDefaults();
    bool Ignored(const Bound& bound, const TLang_PropEntry& prop) const;
    bool PassesFilter(const QString& text) const;

    QWidget* window_;
    Settings settings_;
    QString sectionName_;
    std::vector<Bound> bound_;
    std::map<const QObject*, QString> links_;  // a link label's target, kept for its translations
};

// The languages the program can start in, for a choice in the options dialog: English (1033)
// first, then every language whose file lies beside the program, each by its own name.
std::vector<std::pair<int, QString>> LanguageChoices();

}  // namespace vantrel

Q_DECLARE_OPERATORS_FOR_FLAGS(vantrel::TLanguageController::Options)
