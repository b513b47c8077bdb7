#include "ui/FilesTreeView.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionViewItem>

#include <algorithm>
#include <unordered_set>

#include "hide/HiddenConfig.h"
#include "platform/FileAttributes.h"
#include "platform/Files.h"
#include "ui/Pictures.h"

namespace vantrel {

namespace {

constexpr int kImageRole = Qt::UserRole;
const QString kPlaceholderText = QString::fromLatin1(kPlaceholderNodeText);

Qt::CheckState QtStateOf(int state) {
    return state == TFilesTreeView::StateChecked  ? Qt::Checked
           : state == TFilesTreeView::StatePartly ? Qt::PartiallyChecked
                                                  : Qt::Unchecked;
}

int ImageOfDrive(TDriveType type) {
    switch (type) {
    case TDriveType::Removable: return TFilesTreeView::ImageRemovable;
    case TDriveType::CDRom: return TFilesTreeView::ImageCdRom;
    default: return TFilesTreeView::ImageDrive;
    }
}

bool HasEncExtension(const std::string& name) {
    return name.size() >= 4 && name.compare(name.size() - 4, 4, ".enc") == 0;
}

QString WithSeparator(QString path) {
    if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
    return path;
}

int CountChecked(const QTreeWidgetItem* node) {
    int count = TFilesTreeView::NodeState(node) == TFilesTreeView::StateChecked ? 1 : 0;
    for (int i = 0; i < node->childCount(); ++i) count += CountChecked(node->child(i));
    return count;
}

TTreeNodeSnapshot SnapshotOf(const QTreeWidgetItem* node) {
    TTreeNodeSnapshot copy;
    copy.text = node->text(0).toStdString();
    copy.path = TFilesTreeView::GetNodePath(node).toStdString();
    copy.state = TFilesTreeView::NodeState(node);
    copy.imageIndex = TFilesTreeView::NodeImage(node);
    copy.children.reserve(std::size_t(node->childCount()));
    for (int i = 0; i < node->childCount(); ++i) copy.children.push_back(SnapshotOf(node->child(i)));
    return copy;
}

}  // namespace

// A node whose check requests (from the item delegate or an assistive tool's "Toggle"
// action) become one ToggleNodeCheck, while the tree's own state changes pass straight on.
class TFileNode : public QTreeWidgetItem {
public:
    TFileNode() = default;

    void setData(int column, int role, const QVariant& value) override {
        auto* tree = qobject_cast<TFilesTreeView*>(treeWidget());
        if (role == Qt::CheckStateRole && column == 0 && tree && !tree->settingState_) {
            if (value.toInt() != data(0, Qt::CheckStateRole).toInt()) tree->ToggleNodeCheck(this);
            return;
        }
        QTreeWidgetItem::setData(column, role, value);
    }
};

// Assistive tools "Toggle" a tree row by selecting or deselecting that single row; in this
// single-selection tree nothing else asks for that, so such a request ticks the node
// instead, through the same rules as a press or Space.
class TToggleSelectionModel : public QItemSelectionModel {
public:
    TToggleSelectionModel(QAbstractItemModel* model, TFilesTreeView* tree) : QItemSelectionModel(model, tree), tree_(tree) {}

    void select(const QModelIndex& index, SelectionFlags command) override {
        const SelectionFlags toggle[] = {Select | Rows, Deselect | Rows, Toggle | Rows};
        if (std::find(std::begin(toggle), std::end(toggle), command) != std::end(toggle)) {
            tree_->ToggleNodeCheck(tree_->itemFromIndex(index));
            return;
        }
        QItemSelectionModel::select(index, command);
    }
    using QItemSelectionModel::select;

private:
    TFilesTreeView* tree_;
};

TFilesTreeView::TFilesTreeView(QWidget* parent) : QTreeWidget(parent), driveSource_(GetDrivesList) {
    setObjectName(QStringLiteral("FilesTreeView"));
    setColumnCount(1);
    header()->hide();
    setIndentation(19);
    setIconSize(QSize(16, 16));
    setUniformRowHeights(true);
    setExpandsOnDoubleClick(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    for (int i = ImageDrive; i <= ImageEncrypted; ++i)
        pictures_[i] = LoadIcon(QStringLiteral("tree/%1.png").arg(i));
    connect(this, &QTreeWidget::itemExpanded, this, &TFilesTreeView::FilesTreeViewExpanding);
    QItemSelectionModel* old = selectionModel();
    setSelectionModel(new TToggleSelectionModel(model(), this));
    delete old;
}

QSize TFilesTreeView::sizeHint() const { return {360, 160}; }
QSize TFilesTreeView::minimumSizeHint() const { return {200, 100}; }

QString TFilesTreeView::GetNodePath(const QTreeWidgetItem* node) {
    if (!node->parent()) return node->text(0);
    return WithSeparator(GetNodePath(node->parent())) + node->text(0);
}

int TFilesTreeView::NodeState(const QTreeWidgetItem* node) {
    switch (node->data(0, Qt::CheckStateRole).toInt()) {
    case Qt::Checked: return StateChecked;
    case Qt::PartiallyChecked: return StatePartly;
    default: return StateUnchecked;
    }
}

int TFilesTreeView::NodeImage(const QTreeWidgetItem* node) { return node->data(0, kImageRole).toInt(); }

bool TFilesTreeView::IsPlaceholder(const QTreeWidgetItem* node) { return node->text(0) == kPlaceholderText; }

bool TFilesTreeView::IsFileListed(const std::string& name) const { return !decryptFilter_ || HasEncExtension(name); }

QTreeWidgetItem* TFilesTreeView::NewNode(const QString& text, int image, int state) {
    auto* node = new TFileNode;
    node->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    node->setText(0, text);
    node->setData(0, kImageRole, image);
    node->setData(0, Qt::CheckStateRole, QtStateOf(state));
    if (image >= ImageDrive) node->setIcon(0, pictures_[image]);
    return node;
}

void TFilesTreeView::AddPlaceholder(QTreeWidgetItem* node) {
    node->addChild(NewNode(kPlaceholderText, 0, NodeState(node) == StateChecked ? StateChecked : StateUnchecked));
}

void TFilesTreeView::BuildDrivesTree() {
    clear();
    driveRoots_.clear();
    checkedCount_ = 0;
    for (const TDriveInfo& drive : driveSource_()) {
        const std::string root = DriveRootPath(drive.text);
        if (HiddenItemsStore && HiddenItemsStore->FindItem(root)) continue;
        QTreeWidgetItem* node = NewNode(QString::fromStdString(drive.text), ImageOfDrive(drive.type), StateUnchecked);
        addTopLevelItem(node);
        driveRoots_.append(node);
        if (DirectoryExists(root)) AddPlaceholder(node);
    }
    emit CheckedCountChanged(checkedCount_);
}

void TFilesTreeView::FilesTreeViewExpanding(QTreeWidgetItem* node) {
    if (node->childCount() != 1 || !IsPlaceholder(node->child(0))) return;
    ForgetSubtree(node->child(0));
    delete node->takeChild(0);
    ScanFolder(WithSeparator(GetNodePath(node)), node);
    emit CheckedCountChanged(checkedCount_);
}

void TFilesTreeView::ScanFolder(const QString& path, QTreeWidgetItem* parent) {
    const std::string folder = path.toStdString();
    std::vector<TDirEntry> entries;
    try {
        entries = ListDirectory(folder);
    } catch (const EFileError&) {
        return;  // a folder that cannot be listed has no children
    }
    // Hidden and system at once: on this platform, listed in the folder's ".hidden".
    const std::vector<std::string> listed = ReadHiddenList(folder);
    const std::unordered_set<std::string> skipped(listed.begin(), listed.end());

    struct TEntry {
        QString name;
        bool folder;
    };
    std::vector<TEntry> shown;
    shown.reserve(entries.size());
    for (const TDirEntry& entry : entries) {
        if (skipped.count(entry.name)) continue;
        const bool isFolder =
            entry.isDirectory || (entry.isSymlink && DirectoryExists(folder + entry.name));
        if (!isFolder && !IsFileListed(entry.name)) continue;
        shown.push_back({QString::fromStdString(entry.name), isFolder});
    }
    // Listed as a Windows file system returns them: by name, letter case aside.
    std::sort(shown.begin(), shown.end(), [](const TEntry& a, const TEntry& b) {
        const int c = a.name.compare(b.name, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.name < b.name;
    });

    const int state = NodeState(parent) == StateChecked ? StateChecked : StateUnchecked;
    QList<QTreeWidgetItem*> children;
    children.reserve(qsizetype(shown.size()));
    int added = 0;
    for (const TEntry& entry : shown) {
        const int image = entry.folder                                ? ImageFolder
                          : HasEncExtension(entry.name.toStdString()) ? ImageEncrypted
                                                                      : ImageFile;
        QTreeWidgetItem* node = NewNode(entry.name, image, state);
        ++added;
        if (entry.folder) {
            AddPlaceholder(node);
            ++added;
        }
        children.append(node);
    }
    parent->addChildren(children);
    if (state == StateChecked) checkedCount_ += added;
}

void TFilesTreeView::ForgetSubtree(QTreeWidgetItem* node) { checkedCount_ -= CountChecked(node); }

void TFilesTreeView::SetNodeState(QTreeWidgetItem* node, int state) {
    const int old = NodeState(node);
    if (old == state) return;
    if (old == StateChecked) --checkedCount_;
    if (state == StateChecked) ++checkedCount_;
    settingState_ = true;
    node->setData(0, Qt::CheckStateRole, QtStateOf(state));
    settingState_ = false;
}

void TFilesTreeView::SetSubtreeCheck(QTreeWidgetItem* node, bool checked) {
    SetNodeState(node, checked ? StateChecked : StateUnchecked);
    for (int i = 0; i < node->childCount(); ++i) SetSubtreeCheck(node->child(i), checked);
}

void TFilesTreeView::ToggleNodeCheck(QTreeWidgetItem* node) {
    if (!node) return;
    SetSubtreeCheck(node, NodeState(node) == StateUnchecked);
    UpdateParentChecks(node, false);
    emit CheckedCountChanged(checkedCount_);
}

void TFilesTreeView::UpdateParentChecks(QTreeWidgetItem* node, bool carried) {
    for (QTreeWidgetItem* parent = node->parent(); parent; parent = parent->parent()) {
        int marked = 0;
        for (int i = 0; i < parent->childCount(); ++i)
            if (NodeState(parent->child(i)) != StateUnchecked) ++marked;
        if (marked > 0) carried = true;
        // A parent whose children are all at least partly checked counts as checked.
        if (marked == parent->childCount()) SetNodeState(parent, StateChecked);
        else if (marked == 0 && !carried) SetNodeState(parent, StateUnchecked);
        else SetNodeState(parent, StatePartly);
    }
}

std::vector<TTreeNodeSnapshot> TFilesTreeView::Snapshot() const {
    std::vector<TTreeNodeSnapshot> roots;
    roots.reserve(std::size_t(driveRoots_.size()));
    for (const QTreeWidgetItem* root : driveRoots_) roots.push_back(SnapshotOf(root));
    return roots;
}

// The row proper is the check box, the picture and the label; not the indent, the expand
// button or the space right of the label.
bool TFilesTreeView::IsOnRowProper(QTreeWidgetItem* node, const QPoint& pos) {
    const QModelIndex index = indexFromItem(node);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    option.index = index;
    option.text = node->text(0);
    option.icon = node->icon(0);
    option.features |= QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    if (!option.icon.isNull()) option.features |= QStyleOptionViewItem::HasDecoration;
    const QRect textRect = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int right = textRect.left() + option.fontMetrics.horizontalAdvance(option.text) + 2 * margin;
    return pos.x() >= option.rect.left() && pos.x() <= right && option.rect.contains(QPoint(option.rect.left(), pos.y()));
}

QTreeWidgetItem* TFilesTreeView::RowHit(const QPoint& pos) {
    QTreeWidgetItem* node = itemAt(pos);
    return node && IsOnRowProper(node, pos) ? node : nullptr;
}

void TFilesTreeView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        if (QTreeWidgetItem* node = RowHit(event->position().toPoint())) {
            setFocus(Qt::MouseFocusReason);
            setCurrentItem(node);
            ToggleNodeCheck(node);
            swallowRelease_ = true;
            event->accept();
            return;
        }
    }
    QTreeWidget::mousePressEvent(event);
}

void TFilesTreeView::mouseReleaseEvent(QMouseEvent* event) {
    // The press toggled already; the delegate must not toggle the box a second time.
    if (swallowRelease_) {
        swallowRelease_ = false;
        event->accept();
        return;
    }
    QTreeWidget::mouseReleaseEvent(event);
}

void TFilesTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click toggles again, as any press on the row does.
    if (event->button() == Qt::LeftButton && RowHit(event->position().toPoint())) {
        mousePressEvent(event);
        return;
    }
    QTreeWidget::mouseDoubleClickEvent(event);
}

void TFilesTreeView::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Space || event->key() == Qt::Key_Select) && event->modifiers() == Qt::NoModifier) {
        ToggleNodeCheck(currentItem());
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

}  // namespace vantrel
