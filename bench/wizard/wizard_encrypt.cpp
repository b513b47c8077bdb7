// Encrypts one file through the encrypt wizard, as clicks on a main window would, and ends
// when the finish page shows: the whole process, to be timed beside `vantrel-cli encrypt`
// on the same file with the same algorithm (see compare.sh).
//
//   wizard_encrypt POSITION PASSWORD_FILE FILE
//
// The run goes through everything the desktop program adds to the engine: the tree snapshot,
// the worker's host, the progress window repainting every 100 ms, the finish page.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/InitFinal.h"
#include "hide/HiddenConfig.h"
#include "ui/FilesTreeView.h"
#include "wizard/ProgramWindows.h"

namespace {

template <class T>
T* Control(QWidget& window, const char* name) {
    T* control = window.findChild<T*>(QLatin1String(name));
    if (!control) qFatal("no control %s", name);
    return control;
}

// Ticks the file in the tree, whose only drive is the file's folder.
void TickFile(vantrel::TFilesTreeView& tree, const QString& name) {
    QTreeWidgetItem* drive = tree.topLevelItem(0);
    if (!drive) qFatal("the tree shows no drive");
    drive->setExpanded(true);
    for (int i = 0; i < drive->childCount(); ++i) {
        if (drive->child(i)->text(0) != name) continue;
        tree.ToggleNodeCheck(drive->child(i));
        return;
    }
    qFatal("no node %s in the tree", qPrintable(name));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: wizard_encrypt POSITION PASSWORD_FILE FILE\n");
        return 2;
    }
    const int position = std::atoi(argv[1]);
    std::ifstream passwordFile(argv[2], std::ios::binary);
    std::ostringstream password;
    password << passwordFile.rdbuf();
    const std::filesystem::path file = std::filesystem::absolute(argv[3]);
    const std::string folder = file.parent_path().string();

    vantrel::StartUp();
    int result = 1;
    {
        QApplication app(argc, argv);
        // A stored main password, so that the first activation asks for none.
        if (!vantrel::HiddenItemsStore->HasPassword()) vantrel::HiddenItemsStore->SetPassword("main");
        vantrel::TProgramWindows windows;
        vantrel::TMainForm& window = windows.mainForm;
        window.FilesTree()->SetDriveSource(
            [folder] { return std::vector<vantrel::TDriveInfo>{{folder, vantrel::TDriveType::Fixed}}; });
        window.show();
        window.activateWindow();
        QElapsedTimer clock;

        QTimer::singleShot(0, &window, [&] {
            windows.wizards.StartWizard(0);
            TickFile(*window.FilesTree(), QString::fromStdString(file.filename().string()));
            Control<QPushButton>(window, "NextButton")->click();
            Control<QComboBox>(window, "EncryptAlgorithmComboBox")->setCurrentIndex(position);
            Control<QLineEdit>(window, "EncryptPasswordEdit")->setText(QString::fromStdString(password.str()));
            Control<QCheckBox>(window, "EncryptDeleteAfterCheckBox")->setChecked(false);
            clock.start();
            Control<QPushButton>(window, "NextButton")->click();
        });
        // The finish page ends the program; so does a run that ends without it.
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, &window, [&] {
            if (!clock.isValid() || windows.wizards.IsRunActive()) return;
            if (window.PageIndex() == 7) result = 0;
            QCoreApplication::quit();
        });
        watch.start(10);
        app.exec();
        std::fprintf(stderr, "wizard run: %.3f s (%s)\n", double(clock.nsecsElapsed()) / 1e9,
                     qPrintable(Control<QLabel>(window, "FilesLabel")->text()));
    }
    vantrel::ShutDown();
    return result;
}
