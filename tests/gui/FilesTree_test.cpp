// The files tree on folders of the test's own: drives from a stand-in list, lazy listing,
// the decrypt filter, entries kept out, and the check rules whichever way a node is ticked.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>

#include "GuiTestBase.h"
#include "ui/FilesTreeView.h"

using namespace vantrel;
using namespace Qt::StringLiterals;

namespace {

// A drive folder holding:  docs/ (a.txt, b.txt, inner/ (c.txt)), report.enc, REPORT.ENC,
// report.txt, secret.txt (listed in .hidden), .profile
struct TDrive {
    explicit TDrive(const QString& root) : path(root.toStdString()) {
        std::filesystem::create_directories(path + "/docs/inner");
        for (const char* file : {"docs/a.txt", "docs/b.txt", "docs/inner/c.txt", "report.enc", "REPORT.ENC",
                                 "report.txt", "secret.txt", ".profile"})
            std::ofstream(path + "/" + file) << "x";
        std::ofstream(path + "/.hidden") << "secret.txt\n";
    }
    std::string path;
};

QStringList Texts(const QTreeWidgetItem* node) {
    QStringList texts;
    for (int i = 0; i < node->childCount(); ++i) texts << node->child(i)->text(0);
    return texts;
}

QTreeWidgetItem* Child(QTreeWidgetItem* node, const QString& text) {
    for (int i = 0; i < node->childCount(); ++i)
        if (node->child(i)->text(0) == text) return node->child(i);
    qFatal("no node %s", qPrintable(text));
}

}  // namespace

class FilesTreeTest : public QObject {
    Q_OBJECT

    struct TTree {
        explicit TTree(test::TEngineFixture& engine)
            : drive(engine.Path(u"drive"_s)), usb(engine.Path(u"usb"_s)), hiddenDrive(engine.Path(u"gone"_s)) {
            std::filesystem::create_directories(usb.path);
            view.SetDriveSource([this] {
                return std::vector<TDriveInfo>{{drive.path, TDriveType::Fixed},
                                               {hiddenDrive.path, TDriveType::Fixed},
                                               {usb.path, TDriveType::Removable}};
            });
            HiddenItemsStore->AddItem(hitDrive, hiddenDrive.path + "/");
            view.resize(400, 400);
        }
        QTreeWidgetItem* Root() { return view.topLevelItem(0); }
        QTreeWidgetItem* Expanded(QTreeWidgetItem* node) {
            node->setExpanded(true);
            return node;
        }
        TDrive drive, usb, hiddenDrive;
        TFilesTreeView view;
    };

private slots:
    void initTestCase() { test::UseFixedFont(); }

    void DrivesFoldersAndFilesAreListedLazilyByNameWithoutTheHiddenOnes() {
        test::TEngineFixture engine;
        TTree tree(engine);
        tree.view.BuildDrivesTree();

        // The drive recorded as hidden is left out; each drive waits with a placeholder.
        QCOMPARE(tree.view.topLevelItemCount(), 2);
        QCOMPARE(tree.view.DriveRoots().size(), 2);
        QCOMPARE(TFilesTreeView::NodeImage(tree.view.topLevelItem(0)), int(TFilesTreeView::ImageDrive));
        QCOMPARE(TFilesTreeView::NodeImage(tree.view.topLevelItem(1)), int(TFilesTreeView::ImageRemovable));
        QCOMPARE(Texts(tree.Root()), QStringList{u"scaner_dummy"_s});

        tree.Expanded(tree.Root());
        // Case aside by name; what .hidden lists stays out, a dot name alone does not.
        QCOMPARE(Texts(tree.Root()),
                 (QStringList{u".hidden"_s, u".profile"_s, u"docs"_s, u"REPORT.ENC"_s, u"report.enc"_s, u"report.txt"_s}));
        QTreeWidgetItem* docs = Child(tree.Root(), u"docs"_s);
        QCOMPARE(TFilesTreeView::NodeImage(docs), int(TFilesTreeView::ImageFolder));
        QCOMPARE(Texts(docs), QStringList{u"scaner_dummy"_s});
        QCOMPARE(TFilesTreeView::NodeImage(Child(tree.Root(), u"report.enc"_s)), int(TFilesTreeView::ImageEncrypted));
        QCOMPARE(TFilesTreeView::NodeImage(Child(tree.Root(), u"REPORT.ENC"_s)), int(TFilesTreeView::ImageFile));
        QCOMPARE(TFilesTreeView::GetNodePath(Child(tree.Expanded(docs), u"inner"_s)),
                 QString::fromStdString(tree.drive.path + "/docs/inner"));

        // A folder gone by the time it is expanded has no children.
        std::filesystem::remove_all(tree.drive.path + "/docs/inner");
        QTreeWidgetItem* inner = tree.Expanded(Child(docs, u"inner"_s));
        QCOMPARE(inner->childCount(), 0);
    }

    void DecryptFilterListsOnlyExactEncFilesAndEveryFolder() {
        test::TEngineFixture engine;
        TTree tree(engine);
        tree.view.SetDecryptFilter(true);
        tree.view.BuildDrivesTree();
        tree.Expanded(tree.Root());
        QCOMPARE(Texts(tree.Root()), (QStringList{u"docs"_s, u"report.enc"_s}));
        QCOMPARE(TFilesTreeView::NodeImage(Child(tree.Root(), u"report.enc"_s)), int(TFilesTreeView::ImageEncrypted));
    }

    // Each step toggles one node (by path below the drive) and gives the states expected
    // afterwards (1 checked, 2 partly, 3 unchecked) and the checked count.
    void CheckRules_data() {
        QTest::addColumn<QStringList>("toggles");
        QTest::addColumn<QStringList>("nodes");
        QTest::addColumn<QList<int>>("states");
        QTest::addColumn<int>("count");
        // Nodes of the fixture once the drive and docs are expanded.
        const QStringList nodes{u""_s, u"docs"_s, u"docs/a.txt"_s, u"docs/b.txt"_s, u"docs/inner"_s, u"report.txt"_s};
        QTest::newRow("unchecked file becomes checked, its parents partly")
            << QStringList{u"docs/a.txt"_s} << nodes << QList<int>{2, 2, 1, 3, 3, 3} << 1;
        QTest::newRow("checked file becomes unchecked, so do its parents")
            << QStringList{u"docs/a.txt"_s, u"docs/a.txt"_s} << nodes << QList<int>{3, 3, 3, 3, 3, 3} << 0;
        QTest::newRow("checking a folder checks its subtree, placeholder included")
            << QStringList{u"docs"_s} << nodes << QList<int>{2, 1, 1, 1, 1, 3} << 5;
        QTest::newRow("all children checked make the parent checked")
            << QStringList{u"docs/a.txt"_s, u"docs/b.txt"_s, u"docs/inner"_s} << nodes << QList<int>{2, 1, 1, 1, 1, 3}
            << 5;
        QTest::newRow("partly checked node unchecks its whole subtree")
            << QStringList{u"docs/a.txt"_s, u"docs"_s} << nodes << QList<int>{3, 3, 3, 3, 3, 3} << 0;
        QTest::newRow("drive checked whole") << QStringList{u""_s} << nodes << QList<int>{1, 1, 1, 1, 1, 1} << 11;
    }
    void CheckRules() {
        QFETCH(QStringList, toggles);
        QFETCH(QStringList, nodes);
        QFETCH(QList<int>, states);
        QFETCH(int, count);
        test::TEngineFixture engine;
        TTree tree(engine);
        tree.view.BuildDrivesTree();
        tree.Expanded(Child(tree.Expanded(tree.Root()), u"docs"_s));
        auto find = [&](const QString& path) {
            QTreeWidgetItem* node = tree.Root();
            for (const QString& part : path.split(u'/', Qt::SkipEmptyParts)) node = Child(node, part);
            return node;
        };
        for (const QString& path : toggles) tree.view.ToggleNodeCheck(find(path));
        for (qsizetype i = 0; i < nodes.size(); ++i)
            QVERIFY2(TFilesTreeView::NodeState(find(nodes[i])) == states[i], qPrintable(nodes[i]));
        QCOMPARE(tree.view.CheckedCount(), count);
    }

    void ExpandedChildrenTakeTheParentsCheckAndAFolderOfPartlyCheckedOnesIsChecked() {
        test::TEngineFixture engine;
        TTree tree(engine);
        tree.view.BuildDrivesTree();
        QTreeWidgetItem* docs = Child(tree.Expanded(tree.Root()), u"docs"_s);

        tree.view.ToggleNodeCheck(docs);  // checked before it was ever listed
        tree.Expanded(docs);
        for (int i = 0; i < docs->childCount(); ++i) QCOMPARE(TFilesTreeView::NodeState(docs->child(i)), 1);
        QCOMPARE(tree.view.CheckedCount(), 5);  // docs, a, b, inner and inner's placeholder

        tree.view.ToggleNodeCheck(docs);
        QTreeWidgetItem* inner = tree.Expanded(Child(docs, u"inner"_s));
        tree.view.ToggleNodeCheck(Child(inner, u"c.txt"_s));
        QCOMPARE(TFilesTreeView::NodeState(inner), 1);  // its only child is checked
        QCOMPARE(TFilesTreeView::NodeState(docs), 2);

        // A partly checked folder unchecks its whole subtree.
        tree.view.ToggleNodeCheck(docs);
        QCOMPARE(TFilesTreeView::NodeState(inner), 3);
        QCOMPARE(tree.view.CheckedCount(), 0);
    }

    void MouseKeyboardAndAccessibilityAllToggleThroughTheSameRules() {
        test::TEngineFixture engine;
        TTree tree(engine);
        tree.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree.view));
        tree.view.BuildDrivesTree();
        QTreeWidgetItem* docs = Child(tree.Expanded(tree.Root()), u"docs"_s);
        QTreeWidgetItem* a = Child(tree.Expanded(docs), u"a.txt"_s);
        QApplication::processEvents();

        // A press on the label toggles; a press on the expand button does not.
        const QRect row = tree.view.visualItemRect(a);
        QTest::mouseClick(tree.view.viewport(), Qt::LeftButton, {}, QPoint(row.left() + 30, row.center().y()));
        QCOMPARE(TFilesTreeView::NodeState(a), 1);
        QCOMPARE(TFilesTreeView::NodeState(docs), 2);
        const QRect docsRow = tree.view.visualItemRect(docs);
        QTest::mouseClick(tree.view.viewport(), Qt::LeftButton, {}, QPoint(docsRow.left() - 8, docsRow.center().y()));
        QCOMPARE(TFilesTreeView::NodeState(docs), 2);
        QVERIFY(!docs->isExpanded());
        // Far right of the label is not the row proper either.
        QTest::mouseClick(tree.view.viewport(), Qt::LeftButton, {}, QPoint(tree.view.viewport()->width() - 3, docsRow.center().y()));
        QCOMPARE(TFilesTreeView::NodeState(docs), 2);

        // Space on the current node.
        tree.view.setCurrentItem(a);
        QTest::keyClick(&tree.view, Qt::Key_Space);
        QCOMPARE(TFilesTreeView::NodeState(a), 3);
        QCOMPARE(TFilesTreeView::NodeState(docs), 3);
        QCOMPARE(tree.view.CheckedCount(), 0);

        // What the item delegate and assistive tools do: set the check state of the item.
        docs->setExpanded(true);
        a->setCheckState(0, Qt::Checked);
        QCOMPARE(TFilesTreeView::NodeState(docs), 2);
        QCOMPARE(tree.view.CheckedCount(), 1);

        // The accessibility "Toggle" action on a row, here a drive's.
        tree.view.BuildDrivesTree();
        QApplication::processEvents();
        QAccessibleInterface* view = QAccessible::queryAccessibleInterface(&tree.view);
        QVERIFY(view);
        const QString usbPath = QString::fromStdString(tree.usb.path);
        QAccessibleInterface* cell = nullptr;
        for (int i = 0; i < view->childCount() && !cell; ++i)
            if (QAccessibleInterface* c = view->child(i); c && c->text(QAccessible::Name) == usbPath) cell = c;
        QVERIFY(cell);
        QVERIFY(cell->state().checkable);
        QVERIFY(cell->actionInterface());
        QVERIFY(cell->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
        QTreeWidgetItem* usb = tree.view.topLevelItem(1);
        cell->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QCOMPARE(TFilesTreeView::NodeState(usb), 1);
        QCOMPARE(TFilesTreeView::NodeState(usb->child(0)), 1);  // its placeholder
        QCOMPARE(tree.view.CheckedCount(), 2);
        cell->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QCOMPARE(TFilesTreeView::NodeState(usb), 3);
        QCOMPARE(tree.view.CheckedCount(), 0);
    }

    void SnapshotCopiesPathsStatesAndPictures() {
        test::TEngineFixture engine;
        TTree tree(engine);
        tree.view.BuildDrivesTree();
        QTreeWidgetItem* docs = Child(tree.Expanded(tree.Root()), u"docs"_s);
        tree.view.ToggleNodeCheck(Child(tree.Root(), u"report.enc"_s));
        tree.view.ToggleNodeCheck(docs);
        const std::vector<TTreeNodeSnapshot> roots = tree.view.Snapshot();
        QCOMPARE(roots.size(), std::size_t(2));
        QCOMPARE(roots[0].state, 2);
        QCOMPARE(roots[0].path, tree.drive.path);
        auto child = [](const TTreeNodeSnapshot& node, const char* text) -> const TTreeNodeSnapshot& {
            for (const auto& c : node.children)
                if (c.text == text) return c;
            qFatal("no %s", text);
        };
        const TTreeNodeSnapshot& snapDocs = child(roots[0], "docs");
        QCOMPARE(snapDocs.path, tree.drive.path + "/docs");
        QCOMPARE(snapDocs.state, 1);
        QCOMPARE(snapDocs.children.size(), std::size_t(1));
        QCOMPARE(snapDocs.children[0].text, std::string(kPlaceholderNodeText));
        QCOMPARE(child(roots[0], "report.enc").imageIndex, int(TFilesTreeView::ImageEncrypted));
        QCOMPARE(child(roots[0], "report.enc").state, 1);
        QCOMPARE(child(roots[0], "report.txt").state, 3);
    }
};

QTEST_MAIN(FilesTreeTest)
#include "FilesTree_test.moc"
