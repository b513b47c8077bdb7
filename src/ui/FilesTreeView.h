#pragma once

#include <QIcon>
#include <QTreeWidget>

#include <functional>
#include <string>
#include <vector>

#include "operations/FilesIterationThread.h"
#include "ui/GetDrives.h"

namespace vantrel {

// The tree of drives, folders and files on the choose-files page, with a three-state check
// box on every node. Folders are listed one level at a time when first expanded; until then
// they hold a single placeholder child. Every change of a check, by mouse, keyboard or an
// assistive tool, goes through ToggleNodeCheck, so the rules for parents and the checked
// count hold whichever way a node is ticked.
class TFilesTreeView : public QTreeWidget {
    Q_OBJECT

public:
    enum TNodeState { StateChecked = 1, StatePartly = 2, StateUnchecked = 3 };
    enum TNodeImage { ImageDrive = 4, ImageCdRom = 5, ImageRemovable = 6, ImageFolder = 7, ImageFile = 8, ImageEncrypted = 9 };

    explicit TFilesTreeView(QWidget* parent = nullptr);

    using TDriveSource = std::function<std::vector<TDriveInfo>()>;
    // Where the drives come from (tests give folders of their own).
    void SetDriveSource(TDriveSource source) { driveSource_ = std::move(source); }

    void BuildDrivesTree();
    void SetDecryptFilter(bool on) { decryptFilter_ = on; }
    bool DecryptFilter() const { return decryptFilter_; }
    bool IsFileListed(const std::string& name) const;
    int CheckedCount() const { return checkedCount_; }
    const QList<QTreeWidgetItem*>& DriveRoots() const { return driveRoots_; }
    std::vector<TTreeNodeSnapshot> Snapshot() const;

    void ToggleNodeCheck(QTreeWidgetItem* node);
    // Lists the folder (ending with a separator) as children of parent.
    void ScanFolder(const QString& path, QTreeWidgetItem* parent);

    static QString GetNodePath(const QTreeWidgetItem* node);
    static int NodeState(const QTreeWidgetItem* node);
    static int NodeImage(const QTreeWidgetItem* node);
    static bool IsPlaceholder(const QTreeWidgetItem* node);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void CheckedCountChanged(int count);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class TFileNode;

    QTreeWidgetItem* NewNode(const QString& text, int image, int state);
    void AddPlaceholder(QTreeWidgetItem* node);
    void FilesTreeViewExpanding(QTreeWidgetItem* node);
    void SetNodeState(QTreeWidgetItem* node, int state);
    void SetSubtreeCheck(QTreeWidgetItem* node, bool checked);
    void UpdateParentChecks(QTreeWidgetItem* node, bool carried);
    void ForgetSubtree(QTreeWidgetItem* node);
    bool IsOnRowProper(QTreeWidgetItem* node, const QPoint& pos);
    QTreeWidgetItem* RowHit(const QPoint& pos);

    TDriveSource driveSource_;
    QList<QTreeWidgetItem*> driveRoots_;
    QIcon pictures_[10];
    int checkedCount_ = 0;
    bool decryptFilter_ = false;
    bool settingState_ = false;  // our own state changes, as opposed to requests to toggle
    bool swallowRelease_ = false;
};

}  // namespace vantrel
