#pragma once

// What every window test shares: a temporary data folder of its own (XDG_CONFIG_HOME), the
// engine's registries and the hidden-items store, a fixed font, and a way to answer the
// program's own modal dialogs while they run.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QDialog>
#include <QFont>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

#include "app/AppFolders.h"
#include "encryption/CryptoAlgorithms.h"
#include "hide/HiddenConfig.h"
#include "i18n/LanguageManager.h"
#include "operations/Operations.h"
#include "shred/ShredAlgorithms.h"
#include "ui/MessageBox.h"
#include "wizard/WizardWindow.h"

namespace vantrel::test {

// The engine as StartUp leaves it, in a data folder of its own.
class TEngineFixture {
public:
    TEngineFixture() {
        qputenv("XDG_CONFIG_HOME", dir_.path().toUtf8());
        ResetAppFolders();
        CreateOperationList();
        InitShredAlgorithms(LanguageSetting());
        InitCryptoAlgorithms(LanguageSetting());
        InitHiddenConfig();
        // A stored main password, so that showing a window does not ask for one.
        HiddenItemsStore->SetPassword("main");
        TMessageBox::Reset();
        TFileDialog::Reset();
    }
    ~TEngineFixture() {
        HiddenItemsStore.reset();
        DoneCryptoAlgorithms();
        DoneShredAlgorithms();
        FreeOperationList();
        ResetAppFolders();
    }
    QString Path(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

// Runs `answer` on the first modal dialog of type T that opens after this call, once it is
// running its own loop. `done` tells whether it was reached.
template <class T>
void WhenModal(std::function<void(T*)> answer, bool* done = nullptr) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer, done] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        answer(dialog);
        if (done) *done = true;
    });
    timer->start();
}

// Records what the window asks of the wizard layer.
class TRecordingDriver : public TWizardDriver {
public:
    QStringList calls;
    void StartWizard(int position) override { calls << QStringLiteral("StartWizard %1").arg(position); }
    void Next() override { calls << QStringLiteral("Next"); }
    void Back() override { calls << QStringLiteral("Back"); }
    void CancelWizard() override { calls << QStringLiteral("CancelWizard"); }
    void ActivateFromCommandLine() override { calls << QStringLiteral("ActivateFromCommandLine"); }
    bool IsRunActive() const override { return false; }
    void PrepareQuit() override { calls << QStringLiteral("PrepareQuit"); }
};

// Every text a control shows fits in it: wrapped labels are tall enough for their width,
// one-line controls wide enough for their text, and every control lies inside the window.
inline QStringList ClippedControls(QWidget& window) {
    QStringList clipped;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window) || w->window() != &window) continue;
        const QRect inWindow(w->mapTo(&window, QPoint(0, 0)), w->size());
        bool fits = window.rect().contains(inWindow);
        if (auto* label = qobject_cast<QLabel*>(w); label && label->pixmap().isNull()) {
            fits = fits && (label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                              : label->sizeHint().width() <= label->width());
        } else if (w->inherits("QCheckBox")) {
            fits = fits && w->sizeHint().width() <= w->width();
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            // The caption and picture with a little room on each side.
            QString caption = button->text();
            caption.remove(QLatin1Char('&'));
            const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
            fits = fits && button->fontMetrics().horizontalAdvance(caption) + icon + 8 <= button->width() &&
                   button->fontMetrics().height() <= button->height();
        } else if (qobject_cast<QComboBox*>(w)) {
            fits = fits && w->sizeHint().width() <= w->width() && w->sizeHint().height() <= w->height();
        }
        if (!fits) clipped << w->objectName();
    }
    return clipped;
}


// Fixed font and 96 dpi metrics so that sizes repeat from run to run.
inline void UseFixedFont() { QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9)); }

}  // namespace vantrel::test
