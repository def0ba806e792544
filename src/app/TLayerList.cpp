#include "app/TLayerList.h"

#include <QDropEvent>
#include <QHeaderView>

#include "model/LayerStack.h"

namespace zb {

TLayerList::TLayerList(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    setHeaderLabels({QStringLiteral("Ebene")});
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    setIconSize(QSize(40, 30));
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
        if (filling_) return;
        const int row = indexOfTopLevelItem(item);
        const bool visible = item->checkState(0) == Qt::Checked;
        const bool toggled = visible != item->data(0, Qt::UserRole).toBool();
        const QString name = item->text(0);
        // The list is filled anew from the design after either signal: not
        // while the view is still busy with the row's editor or check box.
        QMetaObject::invokeMethod(
            this,
            [this, row, visible, toggled, name] {
                if (toggled) emit VisibilityChanged(row, visible);
                else emit Renamed(row, name);
            },
            Qt::QueuedConnection);
    });
}

void TLayerList::AddRow(const QString& name, bool visible, const QIcon& thumbnail) {
    auto* item = new QTreeWidgetItem(this);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsUserCheckable |
                   Qt::ItemIsDragEnabled);
    item->setText(0, name);
    item->setIcon(0, thumbnail);
    item->setCheckState(0, visible ? Qt::Checked : Qt::Unchecked);
    item->setData(0, Qt::UserRole, visible);
    item->setToolTip(0, visible ? name : name + QStringLiteral(" (ausgeblendet)"));
    if (!visible) item->setForeground(0, palette().brush(QPalette::Disabled, QPalette::Text));
}

void TLayerList::dropEvent(QDropEvent* event) {
    // The list does not move its rows itself: the design moves the layer and
    // the list is filled again.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    DropSelectedAt(event->position().toPoint());
}

void TLayerList::DropSelectedAt(const QPoint& at) {
    const int from = currentIndex().row();
    QTreeWidgetItem* over = itemAt(at);
    const int overRow = over ? indexOfTopLevelItem(over) : -1;
    const bool below = over && at.y() >= visualItemRect(over).center().y();
    const int to = DropPlace(from, overRow, below, topLevelItemCount());
    if (from >= 0 && to != from)
        QMetaObject::invokeMethod(this, [this, from, to] { emit Moved(from, to); }, Qt::QueuedConnection);
}

} // namespace zb
