#pragma once
// A list view shown through an item model over the ListView control model: rows are read
// from the model when the view draws them (asking the data event in virtual mode), never
// copied into one widget item per row.
#include <QAbstractItemModel>
#include <QTimer>
#include <QTreeView>
#include <memory>

#include "qt/control_binding.h"
#include "toolkit/list_view.h"

namespace qtui {

class ListViewModel : public QAbstractItemModel {
    Q_OBJECT
public:
    ListViewModel(toolkit::ListView& list, QObject* parent);
    ~ListViewModel() override;
    // The model shows nothing from now on; `listening` false when the list is going away
    // and must not be touched.
    void detach(bool listening = true);

    // Rows added at the end are announced together on a short timer: a scan that adds rows
    // one by one would otherwise have the view lay out the whole list for each of them.
    // Any other change, and this call, announce them at once.
    void flush();
    static constexpr int kAppendDelayMs = 50;
    // True while a change of the list's rows is being announced to the views.
    bool announcing() const { return announcing_; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void rowsChanged(toolkit::RowChange change, int first, int count);
    void columnsChanged();
    // The list's row for a row of this model: they differ while a change is announced.
    int listRow(int row) const;
    const toolkit::ListItem* fetch(int row) const;

    toolkit::ListView* list_;
    int rows_ = 0;
    int columns_ = 1;
    enum class Pending { None, Insert, Remove } pending_ = Pending::None;
    int pendingFirst_ = 0, pendingCount_ = 0;
    int appended_ = 0; // rows added at the end, not yet announced
    bool announcing_ = false;
    QTimer appendTimer_;
    mutable int cachedRow_ = -1;
    mutable toolkit::ListItem cached_;
    int rowListener_ = 0, listener_ = 0;
};

// The list view widget: report columns whose header clicks reach the model, type-ahead
// through the model's find, and a cache hint for the rows about to be drawn.
class ListViewWidget : public QTreeView {
    Q_OBJECT
public:
    ListViewWidget(toolkit::ListView& list, QWidget* parent);
    void detach() { list_ = nullptr; }
    void keyboardSearch(const QString& search) override;

protected:
    void paintEvent(QPaintEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    toolkit::ListView* list_;
    int hintFrom_ = -1, hintTo_ = -1;
};

std::unique_ptr<ControlBinding> bindListView(toolkit::ListView& list, QWidget* parent);

} // namespace qtui
