// Activation and deactivation of the file managers' entries in a temporary home that already
// holds entries of the user's own; every written file is parsed as its file manager would.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <optional>

#include "app/AppFolders.h"
#include "app/CmdLineActivate.h"
#include "platform/ProfileFile.h"
#include "platform/Registry.h"
#include "shell/ContextMenuExtActivator.h"

using namespace Qt::StringLiterals;

namespace {

using Group = std::map<QString, QString>;
using KeyFile = std::map<QString, Group>;

QString KeyFileUnescape(const QString& value) {
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const QChar c = value[++i];
        out += c == u's' ? u' ' : c == u'n' ? u'\n' : c == u't' ? u'\t' : c == u'r' ? u'\r' : c;
    }
    return out;
}

// The desktop-entry key-file grammar: comments, blank lines, [groups], key=value; anything else,
// a key before any group or a repeated key or group, is a broken file.
std::optional<KeyFile> ParseKeyFile(const QByteArray& bytes) {
    KeyFile file;
    QString group;
    for (const QString& line : QString::fromUtf8(bytes).split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        if (line.startsWith(u'[')) {
            if (!line.endsWith(u']')) return std::nullopt;
            group = line.mid(1, line.size() - 2);
            if (file.contains(group)) return std::nullopt;
            file[group];
            continue;
        }
        const auto eq = line.indexOf(u'=');
        if (group.isEmpty() || eq <= 0) return std::nullopt;
        const QString key = line.left(eq).trimmed();
        for (QChar c : key)
            if (!c.isLetterOrNumber() && c != u'-' && c != u'_') return std::nullopt;
        if (file[group].contains(key)) return std::nullopt;
        file[group][key] = KeyFileUnescape(line.mid(eq + 1).trimmed());
    }
    return file;
}

// An Exec value split into arguments by the desktop-entry quoting rules; %% is a literal %.
QStringList SplitExec(const QString& exec) {
    QStringList arguments;
    QString current;
    bool quoted = false, any = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted && c == u'\\' && i + 1 < exec.size()) {
            current += exec[++i];
        } else if (c == u'"') {
            quoted = !quoted;
            any = true;
        } else if (c == u' ' && !quoted) {
            if (any || !current.isEmpty()) arguments << current;
            current.clear();
            any = false;
        } else if (c == u'%' && i + 1 < exec.size() && exec[i + 1] == u'%') {
            current += u'%';
            ++i;
        } else {
            current += c;
        }
    }
    if (any || !current.isEmpty()) arguments << current;
    return arguments;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& content, bool executable = false) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
    f.close();
    if (executable) ::chmod(QFile::encodeName(path).constData(), 0755);
}

struct UcaAction {
    QString name, submenu, uniqueId, command;
};

std::optional<std::vector<UcaAction>> ParseUca(const QByteArray& bytes) {
    QXmlStreamReader xml(bytes);
    std::vector<UcaAction> actions;
    QString field;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"action"_s) actions.emplace_back();
        else if (xml.isStartElement() && !actions.empty() && xml.name() != u"action"_s) field = xml.name().toString();
        else if (xml.isCharacters() && !actions.empty()) {
            auto& a = actions.back();
            if (field == u"name"_s) a.name += xml.text();
            else if (field == u"submenu"_s) a.submenu += xml.text();
            else if (field == u"unique-id"_s) a.uniqueId += xml.text();
            else if (field == u"command"_s) a.command += xml.text();
        } else if (xml.isEndElement()) field.clear();
    }
    if (xml.hasError()) return std::nullopt;
    return actions;
}

}  // namespace

class ContextMenuActivationTest : public QObject {
    Q_OBJECT

    QTemporaryDir home;
    QString config, data, helper;

    // Every file below the two XDG folders but the program's own data folder, with its mode.
    std::map<QString, QByteArray> Snapshot() {
        std::map<QString, QByteArray> files;
        for (const QString& root : {config, data}) {
            QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                if (path.startsWith(config + u"/Vantrel"_s)) continue;
                struct stat st{};
                ::lstat(QFile::encodeName(path).constData(), &st);
                files[path] = QByteArray::number(st.st_mode, 8) + " " + (it.fileInfo().isFile() ? ReadAll(path) : "");
            }
        }
        return files;
    }

    void SetCascade(bool on) {
        vantrel::WritePrivateProfileString(vantrel::GetDataFolder() + "options.ini", "Options", "CascadeContextMenu",
                                           on ? "1" : "0");
    }

private slots:
    void init() {
        QVERIFY(home.isValid());
        config = home.path() + u"/config"_s;
        data = home.path() + u"/data"_s;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
        qputenv("XDG_DATA_HOME", QFile::encodeName(data));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(home.path() + u"/etc"_s));
        vantrel::ResetAppFolders();
        vantrel::ClearQuitRequest();
        // A program folder with a blank and a quote in its name: the entries must still call it.
        const QString folder = home.path() + u"/prog dir/it's"_s;
        QDir().mkpath(folder);
        helper = folder + u"/vantrel-context-menu"_s;
        QVERIFY(QFile::link(QCoreApplication::applicationDirPath() + u"/vantrel-context-menu"_s, helper));
        vantrel::SetContextMenuHelperPath(QFile::encodeName(helper).toStdString());

        // The user's own entries, some under the names ours would take.
        WriteFile(data + u"/nautilus/scripts/Encrypt"_s, "#!/bin/sh\necho mine\n", true);
        WriteFile(config + u"/caja/scripts/Tool"_s, "#!/bin/sh\necho mine\n", true);
        WriteFile(data + u"/nemo/actions/vantrel-encrypt.nemo_action"_s, "[Nemo Action]\nName=Mine\nExec=true\n");
        WriteFile(data + u"/kio/servicemenus/mine.desktop"_s, "[Desktop Entry]\nType=Service\nActions=a;\n");
        WriteFile(data + u"/file-manager/actions/mine.desktop"_s, "[Desktop Entry]\nType=Action\nName=Mine\n");
        WriteFile(config + u"/Thunar/uca.xml"_s,
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n<action>\n\t<name>Open Terminal Here</name>\n"
                  "\t<unique-id>1582555553223512-1</unique-id>\n\t<command>exo-open %f</command>\n</action>\n</actions>\n");
    }

    void cleanup() {
        QDir(home.path()).removeRecursively();
        QDir().mkpath(home.path());
        vantrel::ResetAppFolders();
        vantrel::ClearQuitRequest();
    }

    void EntriesParseAndCallTheHelper_data() {
        QTest::addColumn<bool>("cascade");
        QTest::newRow("flat") << false;
        QTest::newRow("cascaded") << true;
    }

    void EntriesParseAndCallTheHelper() {
        QFETCH(bool, cascade);
        SetCascade(cascade);
        const auto before = Snapshot();
        vantrel::ActivateContextMenu();
        QVERIFY(vantrel::IsQuitRequested());

        // Scripts: four executable ones, in the submenu folder when cascaded; the user's
        // "Encrypt" kept and ours beside it under another name.
        const QString scripts = data + u"/nautilus/scripts/"_s + (cascade ? u"Vantrel/"_s : u""_s);
        const QStringList expected = cascade ? QStringList{u"Decrypt"_s, u"Encrypt"_s, u"Hide"_s, u"Shred"_s}
                                             : QStringList{u"Decrypt"_s, u"Encrypt"_s, u"Encrypt (Vantrel)"_s,
                                                           u"Hide"_s, u"Shred"_s};
        QCOMPARE(QDir(scripts).entryList(QDir::Files, QDir::Name), expected);
        for (const QString& name : expected) {
            if (!cascade && name == u"Encrypt"_s) continue;
            QVERIFY(QFileInfo(scripts + name).isExecutable());
            QVERIFY(ReadAll(scripts + name).startsWith("#!/bin/sh\n"));
        }
        QCOMPARE(ReadAll(data + u"/nautilus/scripts/Encrypt"_s), QByteArray("#!/bin/sh\necho mine\n"));
        QCOMPARE(QDir(config + u"/caja/scripts/"_s + (cascade ? u"Vantrel"_s : u""_s)).entryList(QDir::Files).size(),
                 cascade ? 4 : 5);

        // Nemo: four actions with URIs in double quotes; the user's file of our name kept.
        const QStringList nemo = QDir(data + u"/nemo/actions"_s).entryList(QDir::Files, QDir::Name);
        QCOMPARE(nemo.size(), 5);
        for (const QString& name : nemo) {
            const auto file = ParseKeyFile(ReadAll(data + u"/nemo/actions/"_s + name));
            QVERIFY2(file, qPrintable(name));
            const Group& g = file->at(u"Nemo Action"_s);
            if (g.at(u"Name"_s) == u"Mine"_s) continue;
            QCOMPARE(g.at(u"Quote"_s), u"double"_s);
            QCOMPARE(g.at(u"Selection"_s), u"notnone"_s);
            QVERIFY(g.at(u"Exec"_s).startsWith(u"'"_s + home.path() + u"/prog dir/it'\\''s/vantrel-context-menu' --uris /"_s));
            QVERIFY(g.at(u"Exec"_s).endsWith(u" %U"_s));
        }

        // Dolphin: one executable service menu for local files, submenu only when cascaded.
        const QStringList menus = QDir(data + u"/kio/servicemenus"_s).entryList(QDir::Files, QDir::Name);
        QCOMPARE(menus, (QStringList{u"mine.desktop"_s, u"vantrel.desktop"_s}));
        const QString serviceMenu = data + u"/kio/servicemenus/vantrel.desktop"_s;
        QVERIFY(QFileInfo(serviceMenu).isExecutable());
        const auto service = ParseKeyFile(ReadAll(serviceMenu));
        QVERIFY(service);
        const Group& entry = service->at(u"Desktop Entry"_s);
        QCOMPARE(entry.at(u"X-KDE-Protocol"_s), u"file"_s);
        QCOMPARE(entry.contains(u"X-KDE-Submenu"_s), cascade);
        const QStringList actions = entry.at(u"Actions"_s).split(u';', Qt::SkipEmptyParts);
        QCOMPARE(actions.size(), 4);
        QStringList switches;
        for (const QString& action : actions) {
            const QStringList exec = SplitExec(service->at(u"Desktop Action "_s + action).at(u"Exec"_s));
            QCOMPARE(exec.size(), 3);
            QCOMPARE(exec[0], helper);
            QCOMPARE(exec[2], u"%F"_s);
            switches << exec[1];
        }
        QCOMPARE(switches, (QStringList{u"/encrypt"_s, u"/decrypt"_s, u"/shred"_s, u"/hide"_s}));

        // File-manager actions: four, plus a menu naming them when cascaded.
        const QString fma = data + u"/file-manager/actions/"_s;
        QStringList ids;
        for (const QString& name : QDir(fma).entryList(QDir::Files, QDir::Name)) {
            const auto file = ParseKeyFile(ReadAll(fma + name));
            QVERIFY2(file, qPrintable(name));
            const QString type = file->at(u"Desktop Entry"_s).at(u"Type"_s);
            if (type == u"Menu"_s) {
                QCOMPARE(file->at(u"Desktop Entry"_s).at(u"ItemsList"_s),
                         u"vantrel-encrypt;vantrel-decrypt;vantrel-shred;vantrel-hide;"_s);
                ids << u"menu"_s;
            } else if (file->at(u"Desktop Entry"_s).at(u"Name"_s) != u"Mine"_s) {
                const Group& profile = file->at(u"X-Action-Profile vantrel"_s);
                QCOMPARE(profile.at(u"Schemes"_s), u"file;"_s);
                QCOMPARE(SplitExec(profile.at(u"Exec"_s)).value(0), helper);
                ids << name;
            }
        }
        QCOMPARE(ids.size(), cascade ? 5 : 4);
        QCOMPARE(ids.contains(u"menu"_s), cascade);

        // Thunar: the user's action first and kept, ours after it with our unique-ids.
        const auto uca = ParseUca(ReadAll(config + u"/Thunar/uca.xml"_s));
        QVERIFY(uca);
        QCOMPARE(uca->size(), 5u);
        QCOMPARE(uca->at(0).uniqueId, u"1582555553223512-1"_s);
        for (std::size_t i = 1; i < uca->size(); ++i) {
            QVERIFY(uca->at(i).uniqueId.startsWith(u"vantrel-"_s));
            QCOMPARE(uca->at(i).submenu, cascade ? u"Vantrel"_s : QString());
            QVERIFY(uca->at(i).command.startsWith(u"'"_s + home.path() + u"/prog dir/it'\\''s/vantrel-context-menu' /"_s));
        }

        // Twice gives one set; deactivation gives every folder back as it was.
        const auto once = Snapshot();
        vantrel::ActivateContextMenu();
        QCOMPARE(Snapshot(), once);
        vantrel::DeactivateContextMenu();
        QCOMPARE(Snapshot(), before);
    }

    void DeactivationOfNothingChangesNothing() {
        const auto before = Snapshot();
        vantrel::DeactivateContextMenu();
        QVERIFY(vantrel::IsQuitRequested());
        QCOMPARE(Snapshot(), before);
    }

    void SwitchingTheLayoutLeavesOnlyTheNewOne() {
        SetCascade(true);
        vantrel::ActivateContextMenu();
        SetCascade(false);
        vantrel::ActivateContextMenu();
        QVERIFY(!QFileInfo::exists(data + u"/nautilus/scripts/Vantrel"_s));
        const auto uca = ParseUca(ReadAll(config + u"/Thunar/uca.xml"_s));
        QVERIFY(uca);
        QCOMPARE(uca->size(), 5u);
        QVERIFY(uca->back().submenu.isEmpty());
    }

    void AFreshHomeStartsFromTheSystemsThunarActionsAndIsLeftEmptyAgain() {
        QDir(home.path()).removeRecursively();
        QDir().mkpath(home.path());
        const QByteArray system = "<?xml version=\"1.0\"?>\n<actions>\n<action><unique-id>sys</unique-id></action>\n</actions>\n";
        WriteFile(home.path() + u"/etc/Thunar/uca.xml"_s, system);
        QVERIFY(QFile::link(QCoreApplication::applicationDirPath() + u"/vantrel-context-menu"_s, home.path() + u"/h"_s));
        vantrel::SetContextMenuHelperPath(QFile::encodeName(home.path() + u"/h"_s).toStdString());
        vantrel::ActivateContextMenu();
        const auto uca = ParseUca(ReadAll(config + u"/Thunar/uca.xml"_s));
        QVERIFY(uca);
        QCOMPARE(uca->size(), 5u);
        QCOMPARE(uca->front().uniqueId, u"sys"_s);
        vantrel::DeactivateContextMenu();
        // Only the program's own data folder remains of the two homes.
        QCOMPARE(QDir(config).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{u"Vantrel"_s});
        QVERIFY(!QFileInfo::exists(data));
    }

    void ADamagedThunarFileIsLeftAndReportedAfterTheOthers() {
        WriteFile(config + u"/Thunar/uca.xml"_s, "<actions><action>");
        QVERIFY_THROWS_EXCEPTION(std::exception, vantrel::ActivateContextMenu());
        QCOMPARE(ReadAll(config + u"/Thunar/uca.xml"_s), QByteArray("<actions><action>"));
        QVERIFY(QFileInfo::exists(data + u"/kio/servicemenus/vantrel.desktop"_s));
    }

    // A call as Nautilus makes it: the working folder is the one shown, the selection comes as
    // relative names; the helper writes the list and starts the program named by AppPath.
    void NautilusStyleCallHandsAbsolutePathsToTheProgram() {
        vantrel::ActivateContextMenu();
        const QString app = home.path() + u"/app/"_s;
        const QString record = home.path() + u"/started"_s;
        WriteFile(app + u"vantrel"_s,
                  "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + QFile::encodeName(record) + ".part\"\nmv \"" +
                      QFile::encodeName(record) + ".part\" \"" + QFile::encodeName(record) + "\"\n",
                  true);
        vantrel::WriteRegistryString("HKEY_CURRENT_USER", "Software\\Halcorne\\Vantrel", "AppPath",
                                     QFile::encodeName(app).toStdString());
        const QString shown = home.path() + u"/My Files"_s;
        WriteFile(shown + u"/a b.txt"_s, "x");
        WriteFile(shown + u"/-dash"_s, "y");

        QProcess nautilus;
        nautilus.setWorkingDirectory(shown);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"NAUTILUS_SCRIPT_SELECTED_FILE_PATHS"_s, shown + u"/a b.txt\n"_s + shown + u"/-dash\n"_s);
        nautilus.setProcessEnvironment(env);
        nautilus.start(data + u"/nautilus/scripts/Encrypt (Vantrel)"_s, {u"a b.txt"_s, u"-dash"_s});
        QVERIFY(nautilus.waitForFinished(10000));
        QCOMPARE(nautilus.exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(record), 10000);
        QCOMPARE(ReadAll(record), QByteArray("/encrypt\n"));
        vantrel::ResetAppFolders();
        QCOMPARE(ReadAll(config + u"/Vantrel/todo"_s),
                 "\xEF\xBB\xBF" + QFile::encodeName(shown) + "/a b.txt\n" + QFile::encodeName(shown) + "/-dash\n");
        vantrel::DeactivateContextMenu();
    }
};

QTEST_GUILESS_MAIN(ContextMenuActivationTest)
#include "ContextMenuActivation_test.moc"
