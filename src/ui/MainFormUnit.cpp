#include "ui/MainFormUnit.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include "app/InitFinal.h"

namespace vantrel {

namespace {

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

}  // namespace

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("MainForm"));
    setFixedSize(ClientWidth, ClientHeight);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    QPalette white = client->palette();
    white.setColor(QPalette::Window, Qt::white);
    client->setPalette(white);
    client->setAutoFillBackground(true);
    setCentralWidget(client);

    // The command buttons sit in a panel across the bottom; the pages above it and the other
    // buttons join as the wizards do.
    ButtonPanel = new QWidget(client);
    ButtonPanel->setObjectName(QStringLiteral("ButtonPanel"));
    ButtonPanel->setGeometry(0, 413, ClientWidth, 42);

    ExitButton = new QPushButton(QStringLiteral("Exit"), ButtonPanel);
    ExitButton->setObjectName(QStringLiteral("ExitButton"));
    ExitButton->setToolTip(QStringLiteral("Exit"));
    ExitButton->setGeometry(591, 6, 100, 30);
    connect(ExitButton, &QPushButton::clicked, this, &TMainForm::ExitButtonClick);

    FormCreate();
}

void TMainForm::FormCreate() {
    setWindowTitle(ToQString(ProductName));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

// With no wizard running the button ends the program; cancelling a wizard through it comes
// with the wizards.
void TMainForm::ExitButtonClick() { close(); }

void TMainForm::closeEvent(QCloseEvent* event) {
    event->accept();
    // The dialogs created beside this window must not keep the program alive.
    QCoreApplication::quit();
}

}  // namespace vantrel
