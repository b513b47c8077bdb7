#include "ui/MainFormUnit.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QStatusTipEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "app/AppFolders.h"
#include "app/InitFinal.h"
#include "encryption/CryptoAlgorithms.h"
#include "hide/HiddenConfig.h"
#include "i18n/LangConstants.h"
#include "shred/ShredAlgorithms.h"
#include "ui/ChangeMainPassFormUnit.h"
#include "ui/FilesTreeView.h"
#include "ui/MainPassFormUnit.h"
#include "ui/MessageBox.h"
#include "ui/OperationPassFormUnit.h"
#include "ui/OperationsListBox.h"
#include "ui/PasswordFields.h"
#include "ui/Pictures.h"
#include "ui/WindowLayout.h"

namespace vantrel {

namespace {

constexpr int kPictureWidth = 300;    // the left picture column, as the pictures are drawn
constexpr int kColumnGap = 14;        // picture column to content column (x = 314)
constexpr int kContentWidth = 360;
constexpr int kRightMargin = TMainForm::ClientWidth - kPictureWidth - kColumnGap - kContentWidth;

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }
QString Constant(const char* name) { return Text(LangConstant(name)); }

QCheckBox* NewCheckBox(const QString& name, const QString& text, bool checked, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setChecked(checked);
    return box;
}

// The panel's buttons are flat, and a flat button gets no focus frame from the style: once the
// keyboard has moved the focus in the window, the button holding it draws the frame itself.
class TPanelButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override {
        QPushButton::paintEvent(event);
        if (!hasFocus() || !window()->testAttribute(Qt::WA_KeyboardFocusChange)) return;
        QStylePainter painter(this);
        QStyleOptionFocusRect frame;
        frame.initFrom(this);
        frame.rect = rect().adjusted(2, 2, -2, -2);
        frame.backgroundColor = palette().color(QPalette::Window);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
    }
};

// A label reached by Tab takes the focus without choosing its link, so Return did nothing until a
// second Tab: entering by the keyboard goes straight to the link.
class TLinkLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void focusInEvent(QFocusEvent* event) override {
        QLabel::focusInEvent(event);
        if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
            focusNextPrevChild(event->reason() == Qt::TabFocusReason);
    }
};

// A "..." button as narrow as its caption allows, not as wide as a command button.
void FitSmallButton(QPushButton* button) {
    button->setFixedWidth(std::max(button->sizeHint().height(), button->fontMetrics().horizontalAdvance(button->text()) + 16));
}

// The room a layout tree needs, worked out from its controls' own size hints each time, so
// that a text changed on a page not shown, or before the window was first laid out, counts
// at once (the layouts' cached sizes catch up only with their next pass).
bool Counts(const QWidget* widget) { return !widget->isHidden(); }

int MinWidth(QLayoutItem* item);
int HeightForWidth(QLayoutItem* item, int width);

int LayoutMinWidth(QLayout* layout) {
    const QMargins m = layout->contentsMargins();
    auto* box = qobject_cast<QBoxLayout*>(layout);
    const bool across = box && (box->direction() == QBoxLayout::LeftToRight || box->direction() == QBoxLayout::RightToLeft);
    int width = 0, shown = 0;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() && !Counts(item->widget())) continue;
        const int w = MinWidth(item);
        width = across ? width + w : std::max(width, w);
        ++shown;
    }
    if (across && shown > 1) width += box->spacing() * (shown - 1);
    return width + m.left() + m.right();
}

int LayoutHeightForWidth(QLayout* layout, int width) {
    const QMargins m = layout->contentsMargins();
    const int inner = width - m.left() - m.right();
    auto* box = qobject_cast<QBoxLayout*>(layout);
    const bool down = box && (box->direction() == QBoxLayout::TopToBottom || box->direction() == QBoxLayout::BottomToTop);
    int height = 0, shown = 0;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() && !Counts(item->widget())) continue;
        // Side by side, each item but the widest stays at its least width.
        const int h = HeightForWidth(item, down ? inner : std::max(MinWidth(item), inner - (LayoutMinWidth(layout) - m.left() - m.right() - MinWidth(item))));
        height = down ? height + h : std::max(height, h);
        ++shown;
    }
    if (down && shown > 1) height += box->spacing() * (shown - 1);
    return height + m.top() + m.bottom();
}

int MinWidth(QLayoutItem* item) {
    if (QLayout* layout = item->layout()) return LayoutMinWidth(layout);
    QWidget* widget = item->widget();
    if (!widget) return item->minimumSize().width();
    if (widget->layout()) return std::max(widget->minimumWidth(), LayoutMinWidth(widget->layout()));
    return std::max(widget->minimumWidth(), widget->sizePolicy().horizontalPolicy() & QSizePolicy::ShrinkFlag
                                                ? widget->minimumSizeHint().width()
                                                : widget->sizeHint().width());
}

int HeightForWidth(QLayoutItem* item, int width) {
    if (QLayout* layout = item->layout()) return LayoutHeightForWidth(layout, width);
    QWidget* widget = item->widget();
    if (!widget) return item->minimumSize().height();
    if (widget->sizePolicy().verticalPolicy() == QSizePolicy::Ignored) return 0;
    if (widget->layout()) return std::max(widget->minimumHeight(), LayoutHeightForWidth(widget->layout(), width));
    const int least = std::max(widget->minimumHeight(), widget->minimumSizeHint().height());
    return widget->hasHeightForWidth() ? std::max(least, widget->heightForWidth(width)) : least;
}

QLineEdit* NewPasswordEdit(const QString& name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setEchoMode(QLineEdit::Password);
    return edit;
}

}  // namespace


TMainForm::TMainForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("MainForm"));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    Notebook = new QStackedWidget(this);
    Notebook->setObjectName(QStringLiteral("Notebook"));
    root->addWidget(Notebook, 1);

    PasswordOpenDialog = new QObject(this);
    PasswordOpenDialog->setObjectName(QStringLiteral("PasswordOpenDialog"));
    PasswordOpenDialog->setProperty("title", QStringLiteral("Choose file which content will be used as password"));
    PasswordOpenDialog->setProperty("filter", QStringLiteral("Text files (*.TXT)|*.txt| All files|*.*"));

    CreateMainPage();
    CreateEncryptPage();
    CreateChooseFilesPage();
    CreateDecryptPage();
    CreateShredPage();
    CreateHiddenListPage();
    CreatePicturePage();
    CreateFinishPage();
    CreateButtonPanel();

    StatusBar = new QLabel(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setMinimumHeight(24);
    StatusBar->setIndent(6);
    StatusBar->setFrameShape(QFrame::Panel);
    StatusBar->setFrameShadow(QFrame::Sunken);
    StatusBar->setTextFormat(Qt::PlainText);
    root->addWidget(StatusBar);

    // F1 and the help button show the help file; the window's context menu stands in for the
    // title-bar "?" button that this desktop does not offer.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &TMainForm::ShowHelpFile);
    auto* about = new QAction(QStringLiteral("About Vantrel"), this);
    about->setObjectName(QStringLiteral("CaptionButton"));
    connect(about, &QAction::triggered, this, [this] { emit OptionsRequested(true); });
    addAction(about);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    FormCreate();
}

TMainForm::~TMainForm() {
    // Emptying the lists while the children are destroyed must not reach this half-gone window.
    disconnect(SkippedFilesListBox->model(), nullptr, this, nullptr);
}

QWidget* TMainForm::NewPage(const QString& pictureName, QVBoxLayout*& content) {
    auto* page = new QWidget(Notebook);
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(0, 0, kRightMargin, 0);
    row->setSpacing(kColumnGap);
    auto* picture = new QLabel(page);
    picture->setObjectName(pictureName);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setFixedWidth(kPictureWidth);
    picture->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    picture->setAccessibleName(QString());
    row->addWidget(picture, 0, Qt::AlignTop);
    content = new QVBoxLayout;
    content->setContentsMargins(0, 16, 0, 10);
    content->setSpacing(6);
    content->addStrut(kContentWidth);
    auto* column = new QWidget(page);
    column->setLayout(content);
    row->addWidget(column, 1);
    Notebook->addWidget(page);
    return page;
}

void TMainForm::CreateMainPage() {
    QVBoxLayout* content = nullptr;
    NewPage(QStringLiteral("MainBackImage"), content);
    QWidget* column = content->parentWidget();
    QLabel* label1 = NewBoldLabel(QStringLiteral("Label1"), QStringLiteral("What would you like to do?"), column);
    OperationsListBox = new TOperationsListBox(column);
    label1->setBuddy(OperationsListBox);
    connect(OperationsListBox, &TOperationsListBox::OperationChosen, this, &TMainForm::OperationsListBoxClick);
    content->addWidget(label1);
    content->addWidget(OperationsListBox);
    content->addWidget(NewWrappedLabel(QStringLiteral("Label2"), QStringLiteral("Select desired action from the list above"), column));
    content->addStretch(1);
}

void TMainForm::CreateEncryptPage() {
    QVBoxLayout* content = nullptr;
    NewPage(QStringLiteral("EncryptBackImage"), content);
    QWidget* column = content->parentWidget();
    QLabel* label5 = NewBoldLabel(QStringLiteral("Label5"), QStringLiteral("Choose algorithm you want to crypt with:"), column);
    EncryptAlgorithmComboBox = new QComboBox(column);
    EncryptAlgorithmComboBox->setObjectName(QStringLiteral("EncryptAlgorithmComboBox"));
    SetHint(EncryptAlgorithmComboBox, QStringLiteral("Select algorithm"));
    EncryptAlgorithmComboBox->setAccessibleName(label5->text());
    label5->setBuddy(EncryptAlgorithmComboBox);
    AlgorithmChooseLabel = NewWrappedLabel(QStringLiteral("AlgorithmChooseLabel"), QString(), column);
    connect(EncryptAlgorithmComboBox, &QComboBox::currentIndexChanged, this, &TMainForm::EncryptAlgorithmComboBoxChange);
    content->addWidget(label5);
    content->addWidget(EncryptAlgorithmComboBox);
    content->addWidget(AlgorithmChooseLabel);
    content->addSpacing(12);

    QLabel* label9 = NewBoldLabel(QStringLiteral("Label9"), QStringLiteral("Enter password:"), column);
    EncryptPasswordEdit = NewPasswordEdit(QStringLiteral("EncryptPasswordEdit"), column);
    EncryptPasswordEdit->setAccessibleName(label9->text());
    label9->setBuddy(EncryptPasswordEdit);
    auto* load = new QPushButton(QStringLiteral("..."), column);
    load->setObjectName(QStringLiteral("EncryptLoadPassdButton"));
    load->setAccessibleName(PasswordOpenDialog->property("title").toString());
    load->setToolTip(load->accessibleName());
    FitSmallButton(load);
    auto* field = new QHBoxLayout;
    field->addWidget(EncryptPasswordEdit, 1);
    field->addWidget(load);
    QCheckBox* mask = NewCheckBox(QStringLiteral("EncryptMaskPasswordCheckBox"), QStringLiteral("Mask password"), true, column);
    QCheckBox* deleteAfter = NewCheckBox(QStringLiteral("EncryptDeleteAfterCheckBox"),
                                         QStringLiteral("Delete source files after encryption"), false, column);
    connect(mask, &QCheckBox::toggled, this, [this](bool masked) {
        if ((EncryptPasswordEdit->echoMode() == QLineEdit::Password) != masked) TogglePasswordMask(EncryptPasswordEdit);
    });
    connect(load, &QPushButton::clicked, this,
            [this] { LoadPasswordFromFile(EncryptPasswordEdit, PasswordOpenDialog, this); });
    content->addWidget(label9);
    content->addLayout(field);
    content->addWidget(mask);
    content->addWidget(deleteAfter);
    content->addStretch(1);
}

void TMainForm::CreateChooseFilesPage() {
    QVBoxLayout* content = nullptr;
    NewPage(QStringLiteral("ChooseFileBackImage"), content);
    QWidget* column = content->parentWidget();
    QLabel* header = NewBoldLabel(QStringLiteral("ChooseFilesHeaderLabel"), QString(), column);
    FilesTreeView = new TFilesTreeView(column);
    header->setBuddy(FilesTreeView);
    // The tree is named by the header the wizard sets.
    connect(FilesTreeView, &TFilesTreeView::CheckedCountChanged, this, [this, header] {
        FilesTreeView->setAccessibleName(header->text());
    });
    content->addWidget(header);
    content->addWidget(FilesTreeView, 1);
    content->addWidget(NewWrappedLabel(QStringLiteral("ChooseFilesDescLabel"), QString(), column));
    QLabel* link = NewChangePassLink(QStringLiteral("ChangeMainPassLabel1"), QStringLiteral("Change main password..."), column);
    link->hide();
    content->addWidget(link);
}

void TMainForm::CreateDecryptPage() {
    QVBoxLayout* content = nullptr;
    NewPage(QStringLiteral("DecryptBackImage"), content);
    QWidget* column = content->parentWidget();
    QLabel* label4 = NewBoldLabel(QStringLiteral("Label4"), QStringLiteral("Enter password:"), column);
    DecryptPasswordEdit = NewPasswordEdit(QStringLiteral("DecryptPasswordEdit"), column);
    QFont larger = DecryptPasswordEdit->font();
    larger.setPointSizeF(std::max(10.0, larger.pointSizeF()));
    DecryptPasswordEdit->setFont(larger);
    DecryptPasswordEdit->setAccessibleName(label4->text());
    label4->setBuddy(DecryptPasswordEdit);
    auto* load = new QPushButton(QStringLiteral("..."), column);
    load->setObjectName(QStringLiteral("DecryptLoadPassButton"));
    load->setAccessibleName(PasswordOpenDialog->property("title").toString());
    load->setToolTip(load->accessibleName());
    FitSmallButton(load);
    auto* field = new QHBoxLayout;
    field->addWidget(DecryptPasswordEdit, 1);
    field->addWidget(load);
    QCheckBox* mask = NewCheckBox(QStringLiteral("DecryptMaskPasswordCheckBox"), QStringLiteral("Mask password"), true, column);
    QCheckBox* deleteAfter = NewCheckBox(QStringLiteral("DecryptDeleteAfterCryptCheckBox"),
                                         QStringLiteral("Delete source files after decryption"), false, column);
    connect(mask, &QCheckBox::toggled, this, [this](bool masked) {
        if ((DecryptPasswordEdit->echoMode() == QLineEdit::Password) != masked) TogglePasswordMask(DecryptPasswordEdit);
    });
    connect(load, &QPushButton::clicked, this,
            [this] { LoadPasswordFromFile(DecryptPasswordEdit, PasswordOpenDialog, this); });
    content->addWidget(label4);
    content->addLayout(field);
    content->addWidget(mask);
    content->addWidget(deleteAfter);
    content->addStretch(1);
}

void TMainForm::CreateShredPage() {
    QVBoxLayout* content = nullptr;
    NewPage(QStringLiteral("ShredBackImage"), content);
    QWidget* column = content->parentWidget();
    QLabel* label6 = NewBoldLabel(QStringLiteral("Label6"), QStringLiteral("Choose your shredding algorithm:"), column);
    ShredAlgorithmComboBox = new QComboBox(column);
    ShredAlgorithmComboBox->setObjectName(QStringLiteral("ShredAlgorithmComboBox"));
    ShredAlgorithmComboBox->setAccessibleName(label6->text());
    label6->setBuddy(ShredAlgorithmComboBox);
    ShredAlgorithmDecsLabel = NewWrappedLabel(QStringLiteral("ShredAlgorithmDecsLabel"), QString(), column);
    connect(ShredAlgorithmComboBox, &QComboBox::currentIndexChanged, this, &TMainForm::ShredAlgorithmComboBoxChange);
    content->addWidget(label6);
    content->addWidget(ShredAlgorithmComboBox);
    content->addWidget(ShredAlgorithmDecsLabel);
    content->addStretch(1);
}

void TMainForm::CreateHiddenListPage() {
    QVBoxLayout* content = nullptr;
    NewPage(QStringLiteral("ShowBackImage"), content);
    QWidget* column = content->parentWidget();
    QLabel* label7 = NewBoldLabel(QStringLiteral("Label7"), QStringLiteral("Which hidden files do you want to show?"), column);
    auto* list = new QListWidget(column);
    list->setObjectName(QStringLiteral("HiddenFilesListBox"));
    list->setAccessibleName(label7->text());
    label7->setBuddy(list);
    content->addWidget(label7);
    content->addWidget(list, 1);
    content->addWidget(NewWrappedLabel(
        QStringLiteral("Label3"),
        QStringLiteral("Select hidden files, folders or drives from the list and click Next to make them show in Explorer "
                       "again. Use Change Main Password link below to change the password program asks you before this "
                       "step."),
        this));
    content->addWidget(NewChangePassLink(QStringLiteral("ChangeMainPassLabel2"), QStringLiteral("Change Main Password..."), column));
}

void TMainForm::CreatePicturePage() {
    QVBoxLayout* content = nullptr;
    NewPage(QStringLiteral("HideBackImage"), content);
    content->addStretch(1);
}

void TMainForm::CreateFinishPage() {
    QVBoxLayout* content = nullptr;
    NewPage(QStringLiteral("FinishBackImage"), content);
    QWidget* column = content->parentWidget();
    QLabel* info = NewBoldLabel(QStringLiteral("FinishInfoLabel"), QString(), column);
    QFont large = info->font();
    large.setPointSizeF(std::max(14.0, large.pointSizeF() * 14 / 8));
    info->setFont(large);
    QLabel* files = NewWrappedLabel(QStringLiteral("FilesLabel"), QString(), column);
    SkippedFilesListBox = new QListWidget(column);
    SkippedFilesListBox->setObjectName(QStringLiteral("SkippedFilesListBox"));
    SkippedFilesListBox->hide();
    // Shown only while the run left something out.
    auto showWhenFilled = [this] { SkippedFilesListBox->setVisible(SkippedFilesListBox->count() > 0); };
    connect(SkippedFilesListBox->model(), &QAbstractItemModel::rowsInserted, this, showWhenFilled);
    connect(SkippedFilesListBox->model(), &QAbstractItemModel::rowsRemoved, this, showWhenFilled);
    connect(SkippedFilesListBox->model(), &QAbstractItemModel::modelReset, this, showWhenFilled);
    content->addWidget(info);
    content->addWidget(files);
    content->addWidget(SkippedFilesListBox, 1);
    content->addStretch(0);
}

QLabel* TMainForm::NewChangePassLink(const QString& name, const QString& text, QWidget* parent) {
    auto* link = new TLinkLabel(QStringLiteral("<a href=\"change\">%1</a>").arg(text.toHtmlEscaped()), parent);
    link->setObjectName(name);
    link->setTextFormat(Qt::RichText);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link->setFocusPolicy(Qt::StrongFocus);
    link->setAccessibleName(text);
    connect(link, &QLabel::linkActivated, this, &TMainForm::ChangeMainPassLabel1Click);
    return link;
}

QPushButton* TMainForm::NewPanelButton(const QString& name, const QString& caption, const QString& hint,
                                       const QString& picture) {
    auto* button = new TPanelButton(caption, ButtonPanel);
    button->setObjectName(name);
    button->setFlat(true);
    button->setAutoDefault(true);
    button->setIcon(LoadIcon(QStringLiteral("buttons/") + picture));
    button->setIconSize(QSize(16, 16));
    button->setMinimumSize(caption.isEmpty() ? QSize(30, 30) : QSize(100, 30));
    if (!hint.isEmpty()) SetHint(button, hint);
    if (!caption.isEmpty()) button->setAccessibleName(caption);
    return button;
}

void TMainForm::CreateButtonPanel() {
    ButtonPanel = new QWidget(this);
    ButtonPanel->setObjectName(QStringLiteral("ButtonPanel"));
    auto* row = new QHBoxLayout(ButtonPanel);
    row->setContentsMargins(13, 6, 7, 6);
    row->setSpacing(5);
    OptionsButton = NewPanelButton(QStringLiteral("OptionsButton"), QString(), QStringLiteral("Show Options dialog"),
                                   QStringLiteral("btn-options.png"));
    HelpButton = NewPanelButton(QStringLiteral("HelpButton"), QStringLiteral("Help"), QStringLiteral("Show Help file"),
                                QStringLiteral("btn-help.png"));
    HelpButton->setMinimumWidth(90);
    BackButton = NewPanelButton(QStringLiteral("BackButton"), QStringLiteral("Back"), QStringLiteral("Show previous step"),
                                QStringLiteral("btn-back.png"));
    NextButton = NewPanelButton(QStringLiteral("NextButton"), QStringLiteral("Next"), QStringLiteral("Show next step"),
                                QStringLiteral("btn-next.png"));
    NextButton->setLayoutDirection(Qt::RightToLeft);  // its picture right of the caption
    ExitButton = NewPanelButton(QStringLiteral("ExitButton"), QStringLiteral("Exit"), QStringLiteral("Exit"),
                                QStringLiteral("btn-exit.png"));
    FinishButton = NewPanelButton(QStringLiteral("FinishButton"), QStringLiteral("Finish"), QString(),
                                  QStringLiteral("btn-finish.png"));
    row->addWidget(OptionsButton);
    row->addWidget(HelpButton);
    row->addSpacerItem(new QSpacerItem(177, 0, QSizePolicy::Expanding));
    row->addWidget(BackButton);
    row->addSpacing(1);
    row->addWidget(NextButton);
    row->addSpacerItem(new QSpacerItem(70, 0, QSizePolicy::Expanding));
    // Finish takes Exit's place and shows whenever Exit is hidden.
    auto* slot = new QGridLayout;
    slot->setContentsMargins(0, 0, 0, 0);
    slot->addWidget(FinishButton, 0, 0);
    slot->addWidget(ExitButton, 0, 0);
    row->addLayout(slot);
    BackButton->hide();
    NextButton->hide();
    FinishButton->hide();
    ExitButton->installEventFilter(this);
    layout()->addWidget(ButtonPanel);

    connect(OptionsButton, &QPushButton::clicked, this, [this] { emit OptionsRequested(false); });
    connect(HelpButton, &QPushButton::clicked, this, &TMainForm::ShowHelpFile);
    connect(BackButton, &QPushButton::clicked, this, &TMainForm::BackButtonClick);
    connect(NextButton, &QPushButton::clicked, this, &TMainForm::NextButtonClick);
    connect(ExitButton, &QPushButton::clicked, this, &TMainForm::ExitButtonClick);
    connect(FinishButton, &QPushButton::clicked, this, &TMainForm::FinishButtonClick);

    setTabOrder(OptionsButton, HelpButton);
    setTabOrder(HelpButton, BackButton);
    setTabOrder(BackButton, NextButton);
    setTabOrder(NextButton, ExitButton);
    setTabOrder(ExitButton, FinishButton);
}

void TMainForm::FormCreate() {
    ShowPage(PageMain);
    setWindowTitle(Text(ProductName));
    LoadPictures();
    FillSettingsControls();
    resize(ClientWidth, ClientHeight);
    FitWindowToContents();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TMainForm::LoadPictures() {
    static const char* const kPictures[][2] = {
        {"MainBackImage", "MainForm.jpg"}, {"EncryptBackImage", "Encrypt.jpg"}, {"DecryptBackImage", "Decrypt.jpg"},
        {"ShredBackImage", "Shred.jpg"},   {"HideBackImage", "Hide.jpg"},       {"ShowBackImage", "Show.jpg"},
    };
    for (const auto& [control, file] : kPictures) {
        auto* label = findChild<QLabel*>(QLatin1String(control));
        try {
            label->setPixmap(LoadPicture(QLatin1String(file)));
        } catch (const std::exception& e) {
            pictureErrors_.append(QString::fromUtf8(e.what()));
        }
    }
}

void TMainForm::FillSettingsControls() {
    for (int i = 0; i < AlgorithmCount(); ++i) EncryptAlgorithmComboBox->addItem(Text(AlgorithmBoxText(i)));
    for (int i = 0; i < int(ShredAlgorithmList.size()); ++i) ShredAlgorithmComboBox->addItem(Text(ShredAlgorithmBoxText(i)));
    EncryptAlgorithmComboBox->setCurrentIndex(EncryptAlgorithmComboBox->count() > 0 ? 0 : -1);
    ShredAlgorithmComboBox->setCurrentIndex(ShredAlgorithmComboBox->count() > 0 ? 0 : -1);
}

void TMainForm::EncryptAlgorithmComboBoxChange(int index) {
    if (index < 0 || index >= AlgorithmCount()) return;
    AlgorithmChooseLabel->setText(Text(GetAlgorithmDescription(AlgorithmAt(index))));
}

void TMainForm::ShredAlgorithmComboBoxChange(int index) {
    if (index < 0 || index >= int(ShredAlgorithmList.size())) return;
    ShredAlgorithmDecsLabel->setText(Text(GetShredDescription(*ShredAlgorithmList[std::size_t(index)])));
}

void TMainForm::FitWindowToContents() {
    if (fitting_) return;
    fitting_ = true;
    int width = std::max(ClientWidth, MinWidth(layout()->itemAt(layout()->indexOf(ButtonPanel))));
    for (int i = 0; i < Notebook->count(); ++i) width = std::max(width, LayoutMinWidth(Notebook->widget(i)->layout()));
    // Each page is measured at the window's width, its wrapped labels included.
    int pagesHeight = 0;
    for (int i = 0; i < Notebook->count(); ++i)
        pagesHeight = std::max(pagesHeight, LayoutHeightForWidth(Notebook->widget(i)->layout(), width));
    const int rest = ButtonPanel->minimumSizeHint().height() + StatusBar->minimumSizeHint().height();
    const QSize wanted(width, std::max(ClientHeight, pagesHeight + rest));
    if (size() != wanted || minimumSize() != wanted) setFixedSize(wanted);
    fitting_ = false;
}

void TMainForm::ShowPage(int index) {
    Notebook->setCurrentIndex(index);
    // The wizard's buttons that held the focus are hidden by now, and it would fall onto Exit,
    // where the next Return ends the program: the main page's keyboard control is the list.
    if (index == PageMain && OperationsListBox) OperationsListBox->setFocus(Qt::OtherFocusReason);
}
int TMainForm::PageIndex() const { return Notebook->currentIndex(); }

void TMainForm::SetStepHint(const QString& hint) {
    windowHint_ = hint;
    UpdateStatusText();
}

void TMainForm::BuildDrivesTree() { FilesTreeView->BuildDrivesTree(); }
void TMainForm::SetDecryptFilter(bool on) { FilesTreeView->SetDecryptFilter(on); }
int TMainForm::CheckedCount() const { return FilesTreeView->CheckedCount(); }
std::vector<TTreeNodeSnapshot> TMainForm::TreeSnapshot() const { return FilesTreeView->Snapshot(); }

TMainPassForm& TMainForm::MainPassDialog() { return MainPassForm ? *MainPassForm : *new TMainPassForm(this); }
TChangeMainPassForm& TMainForm::ChangeMainPassDialog() {
    return ChangeMainPassForm ? *ChangeMainPassForm : *new TChangeMainPassForm(this);
}
TOperationPassForm& TMainForm::OperationPassDialog() {
    return OperationPassForm ? *OperationPassForm : *new TOperationPassForm(this);
}

bool TMainForm::CheckMainPassword() { return vantrel::CheckMainPassword(MainPassDialog()); }

bool TMainForm::AskOperationPassword(const QString& fileName, QString& password) {
    return OperationPassDialog().Ask(fileName, password);
}

void TMainForm::ChangeMainPassLabel1Click() { ChangeMainPassDialog().exec(); }

void TMainForm::OperationsListBoxClick(int position) {
    if (startPending_) return;
    startPending_ = true;
    QTimer::singleShot(100, this, [this, position] {
        startPending_ = false;
        if (driver_ && !closing_) driver_->StartWizard(position);
    });
}

void TMainForm::NextButtonClick() {
    if (PageIndex() == PageChooseFiles && CheckedCount() < 1) {
        TMessageBox::Information(this, Constant("Please_select_files"));
        return;
    }
    if (driver_) driver_->Next();
}

void TMainForm::BackButtonClick() {
    if (driver_) driver_->Back();
}

void TMainForm::ExitButtonClick() {
    if (ExitButton->text() == Constant("Cancel")) {
        if (driver_) driver_->CancelWizard();
        return;
    }
    close();
}

void TMainForm::FinishButtonClick() {
    ShowPage(PageMain);
    ExitButton->show();
}

void TMainForm::ShowHelpFile() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(Text(GetProgramFolder()) + QStringLiteral("Help/Help.html")));
}

QString TMainForm::StatusText() const { return StatusBar->text(); }

void TMainForm::UpdateStatusText() { StatusBar->setText(LongHint(appHint_.isEmpty() ? windowHint_ : appHint_)); }

bool TMainForm::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        appHint_ = static_cast<QStatusTipEvent*>(event)->tip();
        UpdateStatusText();
        return true;
    }
    const bool handled = QWidget::event(event);
    // A layout pass of the window follows every change of a control's size; the sizes are
    // fresh by then.
    if (event->type() == QEvent::LayoutRequest) FitWindowToContents();
    return handled;
}

void TMainForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange || event->type() == QEvent::FontChange) FitWindowToContents();
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !activatedOnce_) {
        activatedOnce_ = true;
        // After the activation has been delivered, so the dialogs open over a shown window.
        QTimer::singleShot(0, this, &TMainForm::FormActivate);
    }
}

void TMainForm::FormActivate() {
    if (!pictureErrors_.isEmpty()) {
        // The window opens without the missing pictures; the box does not hold it up.
        auto* box = new QMessageBox(QMessageBox::Critical, QString(), pictureErrors_.join(QLatin1Char('\n')),
                                    QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    }
    if (HiddenItemsStore && !HiddenItemsStore->HasPassword()) ChangeMainPassDialog().exec();
    if (driver_ && !closing_) driver_->ActivateFromCommandLine();
}

void TMainForm::keyPressEvent(QKeyEvent* event) {
    // Enter presses the default button of the step: Next in a wizard, Finish on the last page.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        for (QPushButton* button : {NextButton, FinishButton}) {
            if (button->isVisible() && button->isEnabled()) {
                button->click();
                return;
            }
        }
    }
    QWidget::keyPressEvent(event);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ExitButton && (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
        FinishButton->setVisible(event->type() == QEvent::HideToParent);
    return QWidget::eventFilter(watched, event);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->ignore();
        return;
    }
    closing_ = true;
    // A run still going is cancelled and waited for before the window goes.
    if (driver_) driver_->PrepareQuit();
    event->accept();
    // The dialogs created beside this window must not keep the program alive.
    QCoreApplication::quit();
}

}  // namespace vantrel
