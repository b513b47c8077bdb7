#include "ui/OptionsFormUnit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/AppFolders.h"
#include "app/OptionsUnit.h"
#include "i18n/LanguageManager.h"
#include "platform/Folders.h"
#include "platform/JpegFile.h"
#include "platform/ProfileFile.h"
#include "platform/Process.h"
#include "ui/MessageBox.h"

using namespace Qt::StringLiterals;

namespace vantrel {

namespace {

// Hints show as tool tips and, like every hint of the program, in the main window's status bar.
void SetHint(QWidget* widget, const QString& hint) {
    widget->setToolTip(hint);
    widget->setStatusTip(hint);
}

QString WithoutMnemonic(QString text) { return text.remove(u'&'); }

template <typename T>
T* Named(T* widget, const char* name, const QString& accessibleName) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setAccessibleName(WithoutMnemonic(accessibleName));
    return widget;
}

QLabel* LinkLabel(const char* name, const QString& text, QWidget* parent) {
    auto* label = Named(new QLabel(parent), name, text);
    label->setText(u"<a href=\"#\" style=\"color:#0000ff; font-weight:bold;\">"_s + text.toHtmlEscaped() + u"</a>"_s);
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setCursor(Qt::PointingHandCursor);
    label->setFocusPolicy(Qt::StrongFocus);
    label->setAlignment(Qt::AlignHCenter);
    return label;
}

// The product picture (the main page's drawing), fitted into the box; none when it cannot be read,
// since the about page stands without it.
QPixmap ProductPicture(QSize box, qreal ratio) {
    TRgbImage rgb;
    try {
        rgb = LoadJpegFile(GetProgramFolder() + "res/MainForm.jpg");
    } catch (const std::exception&) {
        return {};
    }
    const QImage image(rgb.Pixels.data(), rgb.Width, rgb.Height, qsizetype(rgb.Width) * 3, QImage::Format_RGB888);
    QPixmap pixmap = QPixmap::fromImage(
        image.scaled(box * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation));  // copies the pixels
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QString ToQString(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

}  // namespace

TOptionsForm::TOptionsForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(u"OptionsForm"_s);
    setWindowTitle(u"Options"_s);
    setModal(false);

    StartProgram = [](const std::string& program, const std::vector<std::string>& arguments) {
        StartProcessDetached(program, arguments);  // not checked: a failure leaves the entries as they were
    };
    OpenUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };

    PageControl = new QTabWidget(this);
    PageControl->setObjectName(u"PageControl"_s);
    PageControl->setAccessibleName(u"Options pages"_s);
    BuildGeneralPage();
    BuildAboutPage();

    ok2 = Named(new QPushButton(u"&OK"_s, this), "ok2", u"OK"_s);
    SetHint(ok2, u"Apply changes and close this window"_s);
    ok2->setDefault(true);
    CancelButton = Named(new QPushButton(u"&Cancel"_s, this), "CancelButton", u"Cancel"_s);
    SetHint(CancelButton, u"Exit this window without saving options"_s);
    HelpButton = Named(new QPushButton(u"&Help"_s, this), "HelpButton", u"Help"_s);
    SetHint(HelpButton, u"View help for the current page of Options dialog"_s);
    connect(ok2, &QPushButton::clicked, this, &TOptionsForm::ok2Click);
    connect(CancelButton, &QPushButton::clicked, this, &TOptionsForm::CancelButtonClick);
    connect(HelpButton, &QPushButton::clicked, this, &TOptionsForm::HelpButtonClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok2);
    buttons->addWidget(CancelButton);
    buttons->addWidget(HelpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl);
    layout->addLayout(buttons);

    resize(QSize(447, 282).expandedTo(sizeHint()));
}

void TOptionsForm::BuildGeneralPage() {
    general = new QWidget;
    general->setObjectName(u"general"_s);

    GroupBox2 = Named(new QGroupBox(u"Shell extension options"_s, general), "GroupBox2", u"Shell extension options"_s);
    IntegrateCheckBox = Named(new QCheckBox(u"&Integrate Vantrel into shell"_s, GroupBox2), "IntegrateCheckBox",
                              u"Integrate Vantrel into shell"_s);
    SetHint(IntegrateCheckBox, u"Program's items will appear in Explorer context menu for files and folders"_s);
    CascadedCheckBox = Named(new QCheckBox(u"Use cascaded context menus"_s, GroupBox2), "CascadedCheckBox",
                             u"Use cascaded context menus"_s);
    SetHint(CascadedCheckBox, u"Shell context menu items will hide inside submenu"_s);
    auto* shell = new QVBoxLayout(GroupBox2);
    shell->addWidget(IntegrateCheckBox);
    shell->addWidget(CascadedCheckBox);

    // The group holds the main-password controls and is captioned for them.
    GroupBox1 = Named(new QGroupBox(u"Main password"_s, general), "GroupBox1", u"Main password"_s);
    ChooseMainPassButton = Named(new QPushButton(u"Change Main Password..."_s, GroupBox1), "ChooseMainPassButton",
                                 u"Change Main Password..."_s);
    SetHint(ChooseMainPassButton, u"Change Main Password..."_s);
    connect(ChooseMainPassButton, &QPushButton::clicked, this, &TOptionsForm::ChooseMainPassButtonClick);
    Label2 = Named(new QLabel(u"Main Password is used to control access to Hide files and Show files features. Only "
                              u"person who knows Main Password can hide files form Explorer and show previously "
                              u"hidden files."_s,
                              GroupBox1),
                   "Label2", u"About the main password"_s);
    Label2->setWordWrap(true);
    auto* password = new QHBoxLayout(GroupBox1);
    password->addWidget(ChooseMainPassButton, 0, Qt::AlignTop);
    password->addWidget(Label2, 1);

    LanguageGroupBox = Named(new QGroupBox(u"Language"_s, general), "LanguageGroupBox", u"Language"_s);
    auto* languageLabel = Named(new QLabel(u"&Language of the program:"_s, LanguageGroupBox), "LanguageLabel",
                                u"Language of the program"_s);
    LanguageComboBox = Named(new QComboBox(LanguageGroupBox), "LanguageComboBox", u"Language of the program"_s);
    SetHint(LanguageComboBox, u"The language takes effect at the next start of the program"_s);
    languageLabel->setBuddy(LanguageComboBox);
    auto* language = new QHBoxLayout(LanguageGroupBox);
    language->addWidget(languageLabel);
    language->addWidget(LanguageComboBox, 1);
    SetLanguageChoices({{TLanguageManager::DefaultLanguageID, u"English"_s}}, TLanguageManager::DefaultLanguageID);

    auto* layout = new QVBoxLayout(general);
    layout->addWidget(GroupBox2);
    layout->addWidget(GroupBox1);
    layout->addWidget(LanguageGroupBox);
    layout->addStretch();
    PageControl->addTab(general, u"General"_s);
}

void TOptionsForm::BuildAboutPage() {
    about = new QWidget;
    about->setObjectName(u"about"_s);

    about_img = Named(new QLabel(about), "about_img", u"Vantrel"_s);
    about_img->setFixedSize(166, 200);
    about_img->setAlignment(Qt::AlignCenter);
    about_img->setPixmap(ProductPicture(about_img->size(), devicePixelRatioF()));

    ProgramLabel = Named(new QLabel(u"Vantrel"_s, about), "ProgramLabel", u"Vantrel"_s);
    QFont bold = ProgramLabel->font();
    bold.setBold(true);
    bold.setPointSize(10);
    ProgramLabel->setFont(bold);
    auto* label4 = Named(new QLabel(u"Version 1.2"_s, about), "Label4", u"Version 1.2"_s);
    auto* label5 = Named(new QLabel(u"Protects your secret files from exposure"_s, about), "Label5",
                         u"Protects your secret files from exposure"_s);
    auto* label7 = Named(new QLabel(u"Encryption, shredding and hiding for your desktop"_s, about), "Label7",
                         u"Encryption, shredding and hiding for your desktop"_s);
    for (QLabel* label : {ProgramLabel, label4, label5, label7}) {
        label->setAlignment(Qt::AlignHCenter);
        label->setWordWrap(true);
    }
    Label1 = LinkLabel("Label1", QUrl(QString::fromLatin1(WebAddress)).host(), about);
    Label6 = LinkLabel("Label6", u"Product information"_s, about);
    Label8 = LinkLabel("Label8", u"Support"_s, about);
    connect(Label1, &QLabel::linkActivated, this, &TOptionsForm::Label1Click);
    connect(Label6, &QLabel::linkActivated, this, &TOptionsForm::Label6Click);
    connect(Label8, &QLabel::linkActivated, this, &TOptionsForm::Label8Click);

    auto* column = new QVBoxLayout;
    column->addStretch();
    for (QWidget* w : std::initializer_list<QWidget*>{ProgramLabel, label4, label5, label7, Label1, Label6, Label8})
        column->addWidget(w);
    column->addStretch();
    auto* layout = new QHBoxLayout(about);
    layout->addWidget(about_img, 0, Qt::AlignTop);
    layout->addLayout(column, 1);
    PageControl->addTab(about, u"About"_s);
}

void TOptionsForm::SetLanguageChoices(std::vector<std::pair<int, QString>> idAndName, int currentId) {
    LanguageComboBox->clear();
    for (const auto& [id, name] : idAndName) LanguageComboBox->addItem(name, id);
    LanguageComboBox->setCurrentIndex(std::max(0, LanguageComboBox->findData(currentId)));
}

void TOptionsForm::ShowGeneralPage() {
    PageControl->setCurrentWidget(general);
    show();
    raise();
    activateWindow();
}

void TOptionsForm::ShowAboutPage() {
    PageControl->setCurrentWidget(about);
    show();
    raise();
    activateWindow();
}

void TOptionsForm::showEvent(QShowEvent* event) {
    SetOptionsToGUI();
    QDialog::showEvent(event);
}

void TOptionsForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        HelpButtonClick();
        return;
    }
    QDialog::keyPressEvent(event);  // Escape rejects, which is Cancel
}

void TOptionsForm::SetOptionsToGUI() {
    const TOptions options("");
    IntegrateCheckBox->setChecked(options.ReadBool("IntegrateContextMenu", true));
    CascadedCheckBox->setChecked(options.ReadBool("CascadeContextMenu", false));
    const int index = LanguageComboBox->findData(LanguageSetting());
    if (index >= 0) LanguageComboBox->setCurrentIndex(index);
}

void TOptionsForm::GetOptionsFromGUI() {
    TOptions options("");
    options.WriteBool("IntegrateContextMenu", IntegrateCheckBox->isChecked());
    options.WriteBool("CascadeContextMenu", CascadedCheckBox->isChecked());
    // Only a changed choice is written: "0x407" stays as it is when German stays chosen.
    const QVariant chosen = LanguageComboBox->currentData();
    if (chosen.isValid() && chosen.toInt() != LanguageSetting())
        WritePrivateProfileString(options.FileName(), "Options", "LanguageID", std::to_string(chosen.toInt()));
}

void TOptionsForm::ApplyShellIntegration() {
    const bool integrate = TOptions("").ReadBool("IntegrateContextMenu", true);
    if (StartProgram) StartProgram(ExecutablePath(), {integrate ? "/activate" : "/deactivate"});
}

void TOptionsForm::ok2Click() {
    try {
        GetOptionsFromGUI();
    } catch (const std::exception& e) {
        TMessageBox::Error(this, QString::fromUtf8(e.what()));
        return;
    }
    ApplyShellIntegration();
    hide();
}

void TOptionsForm::CancelButtonClick() { reject(); }

void TOptionsForm::HelpButtonClick() {
    if (OnShowHelp) OnShowHelp();
    else OpenUrl(QUrl::fromLocalFile(ToQString(GetProgramFolder() + "Help/Help.html")));
}

void TOptionsForm::ChooseMainPassButtonClick() {
    if (OnChangeMainPassword) OnChangeMainPassword();
}

void TOptionsForm::Label1Click() { OpenUrl(QUrl(QString::fromLatin1(WebAddress))); }

void TOptionsForm::Label6Click() { HelpButtonClick(); }

void TOptionsForm::Label8Click() { OpenUrl(QUrl(QString::fromLatin1(SupportAddress))); }

}  // namespace vantrel
