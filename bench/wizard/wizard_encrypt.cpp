// Encrypts one file through the encrypt wizard, as clicks on a main window would, and ends
// when the finish page shows: the whole process, to be timed beside `vantrel-cli encrypt`
// on the same file with the same algorithm (see compare.sh).
//
//   wizard_encrypt POSITION PASSWORD_FILE FILE
//
// The run goes through everything the desktop program adds to the engine: the tree snapshot,
// the worker's host, the progress window repainting every 100 ms, the finish page.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "../../tests/gui/FakeMainWindow.h"
#include "app/InitFinal.h"
#include "wizard/WizardController.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: wizard_encrypt POSITION PASSWORD_FILE FILE\n");
        return 2;
    }
    const int position = std::atoi(argv[1]);
    std::ifstream passwordFile(argv[2], std::ios::binary);
    std::ostringstream password;
    password << passwordFile.rdbuf();
    const std::string file = argv[3];

    vantrel::StartUp();
    int result = 1;
    {
        QApplication app(argc, argv);
        vantrel::test::FakeMainWindow window;
        vantrel::TWizardController wizards(window);
        window.Driver = &wizards;
        window.show();
        QElapsedTimer clock;

        QTimer::singleShot(0, &window, [&] {
            wizards.StartWizard(0);
            window.Tick(file, true);
            window.NextButton->click();
            window.Get<QComboBox>("EncryptAlgorithmComboBox")->setCurrentIndex(position);
            window.Get<QLineEdit>("EncryptPasswordEdit")->setText(QString::fromStdString(password.str()));
            window.Get<QCheckBox>("EncryptDeleteAfterCheckBox")->setChecked(false);
            clock.start();
            window.NextButton->click();
        });
        window.onShowPage = [&](int page) {
            if (page != 7) return;
            result = 0;
            QCoreApplication::quit();
        };
        // A run that ends without its finish page ends the program too.
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, &window, [&] {
            if (clock.isValid() && !wizards.IsRunActive() && window.PageIndex() != 7) QCoreApplication::quit();
        });
        watch.start(250);
        app.exec();
        std::fprintf(stderr, "wizard run: %.3f s (%s)\n", double(clock.nsecsElapsed()) / 1e9,
                     qPrintable(window.Get<QLabel>("FilesLabel")->text()));
    }
    vantrel::ShutDown();
    return result;
}
