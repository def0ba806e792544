#pragma once
// The layer list ("Ebene"): one row per layer, bottom layer first, each with
// an eye (a check box: shown or hidden), a thumbnail of what the layer adds
// and its name, renamed in place with F2 or a double click. Rows are dragged
// to a new place. The list holds no design: it reports what the user did and
// is filled again from the workspace.
#include <QTreeWidget>

namespace zb {

class TLayerList : public QTreeWidget {
    Q_OBJECT
public:
    explicit TLayerList(QWidget* parent = nullptr);

    // Adds a row (while the owner fills the list no signal goes out).
    void AddRow(const QString& name, bool visible, const QIcon& thumbnail);
    // While filling, edits of rows are the owner's own.
    void SetFilling(bool filling) { filling_ = filling; }
    bool Filling() const { return filling_; }
    // What dropping the selected row at `at` (viewport coordinates) does.
    void DropSelectedAt(const QPoint& at);

signals:
    void Renamed(int row, const QString& name);
    void VisibilityChanged(int row, bool visible);
    // A row was dropped so that it lies at place `to`.
    void Moved(int from, int to);

protected:
    void dropEvent(QDropEvent* event) override;

private:
    bool filling_ = false;
};

} // namespace zb
