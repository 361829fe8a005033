#include "qt/list_view_binding.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QFont>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>

#include "qt/pictures.h"
#include "qt/qt_text.h"
#include "toolkit/menu.h"
#include "toolkit/toolkit.h"

namespace qtui {

using namespace toolkit;

ListViewModel::ListViewModel(ListView& list, QObject* parent) : QAbstractItemModel(parent), list_(&list) {
    rows_ = list.count();
    columns_ = std::max<int>(1, int(list.columns().size()));
    appendTimer_.setSingleShot(true);
    appendTimer_.setInterval(kAppendDelayMs);
    connect(&appendTimer_, &QTimer::timeout, this, &ListViewModel::flush);
    rowListener_ = list.subscribeRows([this](RowChange c, int first, int n) { rowsChanged(c, first, n); });
    listener_ = list.subscribe([this](Control&, Property p) {
        if (p == Property::Columns)
            columnsChanged();
        // Check boxes shown or hidden: the check state and the flags of every first cell.
        if (p == Property::Style && rows_ > 0)
            emit dataChanged(index(0, 0), index(rows_ - 1, 0), {Qt::CheckStateRole});
    });
}

ListViewModel::~ListViewModel() { detach(); }

void ListViewModel::detach(bool listening) {
    if (!list_)
        return;
    if (listening) {
        list_->unsubscribeRows(rowListener_);
        list_->unsubscribe(listener_);
    }
    appendTimer_.stop();
    beginResetModel();
    list_ = nullptr;
    rows_ = 0;
    appended_ = 0;
    cachedRow_ = -1;
    endResetModel();
}

void ListViewModel::flush() {
    appendTimer_.stop();
    if (appended_ <= 0)
        return;
    int n = appended_;
    appended_ = 0;
    beginInsertRows({}, rows_, rows_ + n - 1);
    rows_ += n;
    endInsertRows();
}

void ListViewModel::rowsChanged(RowChange c, int first, int n) {
    announcing_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{announcing_};
    cachedRow_ = -1;
    const int now = list_->count();
    if (c == RowChange::Inserted && n > 0 && first == rows_ + appended_ && rows_ + appended_ + n == now) {
        appended_ += n;
        if (!appendTimer_.isActive())
            appendTimer_.start();
        return;
    }
    if (c == RowChange::Reset) {
        appendTimer_.stop();
        appended_ = 0;
    }
    flush();
    // The list tells us after the fact; the view hears of it as a change about to happen.
    if (c == RowChange::Inserted && n > 0 && rows_ + n == now && first >= 0 && first <= rows_) {
        pending_ = Pending::Insert;
        pendingFirst_ = first;
        pendingCount_ = n;
        beginInsertRows({}, first, first + n - 1);
        pending_ = Pending::None;
        rows_ = now;
        endInsertRows();
    } else if (c == RowChange::Removed && n > 0 && rows_ - n == now && first >= 0 && first + n <= rows_) {
        pending_ = Pending::Remove;
        pendingFirst_ = first;
        pendingCount_ = n;
        beginRemoveRows({}, first, first + n - 1);
        pending_ = Pending::None;
        rows_ = now;
        endRemoveRows();
    } else if (c == RowChange::Changed && n > 0 && rows_ == now && first >= 0 && first + n <= rows_) {
        emit dataChanged(index(first, 0), index(first + n - 1, columns_ - 1));
    } else {
        beginResetModel();
        rows_ = now;
        endResetModel();
    }
}

void ListViewModel::columnsChanged() {
    appendTimer_.stop();
    appended_ = 0;
    beginResetModel();
    columns_ = std::max<int>(1, int(list_->columns().size()));
    rows_ = list_->count();
    cachedRow_ = -1;
    endResetModel();
}

int ListViewModel::listRow(int row) const {
    switch (pending_) {
    case Pending::Insert: return row < pendingFirst_ ? row : row + pendingCount_;
    case Pending::Remove:
        if (row < pendingFirst_)
            return row;
        return row < pendingFirst_ + pendingCount_ ? -1 : row - pendingCount_;
    case Pending::None: break;
    }
    return row;
}

const ListItem* ListViewModel::fetch(int row) const {
    int r = listRow(row);
    if (!list_ || r < 0 || r >= list_->count())
        return nullptr;
    // A view asks for every column and role of a row in turn: one data event serves them.
    if (r != cachedRow_) {
        cached_ = list_->item(r);
        cachedRow_ = r;
    }
    return &cached_;
}

QModelIndex ListViewModel::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || row < 0 || row >= rows_ || column < 0 || column >= columns_)
        return {};
    return createIndex(row, column);
}

QModelIndex ListViewModel::parent(const QModelIndex&) const { return {}; }

int ListViewModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int ListViewModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

QVariant ListViewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !list_)
        return {};
    const int col = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: {
        if (role == Qt::ToolTipRole)
            return {};
        const ListItem* it = fetch(index.row());
        if (!it)
            return {};
        if (col == 0)
            return qs(it->caption);
        return std::size_t(col - 1) < it->subItems.size() ? qs(it->subItems[std::size_t(col - 1)]) : QString();
    }
    case Qt::DecorationRole: {
        if (col != 0)
            return {};
        const ListItem* it = fetch(index.row());
        return it && it->imageIndex >= 0 ? QVariant(systemImage(it->imageIndex)) : QVariant();
    }
    case Qt::CheckStateRole: {
        if (col != 0 || !list_->checkBoxes())
            return {};
        const ListItem* it = fetch(index.row());
        return it ? QVariant(it->checked ? Qt::Checked : Qt::Unchecked) : QVariant();
    }
    case Qt::TextAlignmentRole: {
        if (std::size_t(col) >= list_->columns().size())
            return {};
        switch (list_->columns()[std::size_t(col)].alignment) {
        case Alignment::Right: return int(Qt::AlignRight | Qt::AlignVCenter);
        case Alignment::Center: return int(Qt::AlignCenter);
        case Alignment::Left: break;
        }
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    case Qt::ForegroundRole:
    case Qt::BackgroundRole:
    case Qt::FontRole: {
        if (!list_->onCustomDraw)
            return {};
        int r = listRow(index.row());
        if (r < 0 || r >= list_->count())
            return {};
        ItemStyle s = list_->styleOf(r, col);
        if (role == Qt::ForegroundRole)
            return s.textColor == Color::None ? QVariant() : QVariant(QColor::fromRgb(s.textColor));
        if (role == Qt::BackgroundRole)
            return s.background == Color::None ? QVariant() : QVariant(QColor::fromRgb(s.background));
        if (!s.strikeOut && !s.bold)
            return {};
        QFont f;
        f.setStrikeOut(s.strikeOut);
        f.setBold(s.bold);
        return f;
    }
    default: return {};
    }
}

bool ListViewModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || !list_ || role != Qt::CheckStateRole || index.column() != 0 || !list_->checkBoxes())
        return false;
    const ListItem* it = fetch(index.row());
    if (!it)
        return false;
    bool want = value.toInt() == Qt::Checked;
    if (want != it->checked) {
        int r = listRow(index.row());
        ListView* list = list_;
        dispatch([list, r] { list->userToggleCheck(r); });
    }
    return true;
}

Qt::ItemFlags ListViewModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == 0 && list_ && list_->checkBoxes())
        f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant ListViewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || !list_ || section < 0 || std::size_t(section) >= list_->columns().size())
        return {};
    const ListColumn& c = list_->columns()[std::size_t(section)];
    if (role == Qt::DisplayRole)
        return qs(c.caption);
    if (role == Qt::TextAlignmentRole)
        return int((c.alignment == Alignment::Right    ? Qt::AlignRight
                    : c.alignment == Alignment::Center ? Qt::AlignHCenter
                                                       : Qt::AlignLeft) |
                   Qt::AlignVCenter);
    return {};
}

ListViewWidget::ListViewWidget(ListView& list, QWidget* parent) : QTreeView(parent), list_(&list) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSortingEnabled(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionsClickable(true);
    header()->setStretchLastSection(false);
}

void ListViewWidget::paintEvent(QPaintEvent* e) {
    // The rows about to be drawn are announced first, so a virtual list can fetch them at once.
    if (list_ && list_->onDataHint && model() && model()->rowCount() > 0) {
        QModelIndex top = indexAt(QPoint(0, 0));
        QModelIndex bottom = indexAt(QPoint(0, viewport()->height() - 1));
        int from = top.isValid() ? top.row() : 0;
        int to = bottom.isValid() ? bottom.row() : model()->rowCount() - 1;
        if (from != hintFrom_ || to != hintTo_) {
            hintFrom_ = from;
            hintTo_ = to;
            ListView* list = list_;
            dispatch([list, from, to] { list->onDataHint(from, to); });
        }
    }
    QTreeView::paintEvent(e);
}

void ListViewWidget::keyboardSearch(const QString& search) {
    if (auto* m = qobject_cast<ListViewModel*>(model()))
        m->flush();
    if (!list_ || !model() || model()->rowCount() == 0)
        return;
    // The list model builds the search text from the keys and their times.
    qint64 now = QDateTime::currentMSecsSinceEpoch();
    int current = currentIndex().isValid() ? currentIndex().row() : -1;
    int found = -1;
    ListView* list = list_;
    std::string text = us(search);
    dispatch([&] { found = list->userTypeAhead(text, now, QApplication::keyboardInputInterval(), current); });
    if (found >= 0 && found < model()->rowCount()) {
        QModelIndex i = model()->index(found, 0);
        selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(i);
    }
}

void ListViewWidget::keyPressEvent(QKeyEvent* e) {
    if (list_ && list_->onKeyDown) {
        int key = virtualKey(*e);
        if (key != 0) {
            ListView* list = list_;
            bool taken = false;
            dispatch([&] { taken = list->userKeyDown(key); });
            if (taken)
                return;
        }
    }
    QTreeView::keyPressEvent(e);
}

void ListViewWidget::contextMenuEvent(QContextMenuEvent* e) {
    if (list_ && list_->popupMenu) {
        PopupMenu* menu = list_->popupMenu;
        QPoint at = e->globalPos();
        dispatch([menu, at] { menu->popup({at.x(), at.y()}); });
        return;
    }
    QTreeView::contextMenuEvent(e);
}

namespace {

class ListViewBinding : public ControlBinding {
public:
    ListViewBinding(ListView& list, ListViewWidget* w)
        : ControlBinding(list, w), list_(list), view_(w), model_(new ListViewModel(list, w)) {
        w->setModel(model_);
        connect(w->header(), &QHeaderView::sectionClicked, this,
                [this](int column) { dispatch([this, column] { list_.userColumnClick(column); }); });
        connect(w->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { userSelection(); });
        connect(w->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { userSelection(); });
        connect(w, &QAbstractItemView::clicked, this, [this] { dispatch([this] { list_.click(); }); });
        connect(w, &QAbstractItemView::doubleClicked, this, [this] { dispatch([this] { list_.dblClick(); }); });
    }
    ~ListViewBinding() override {
        view_->detach();
        model_->detach(!dying_);
    }

    void apply(Property p) override {
        switch (p) {
        case Property::Columns:
        case Property::Style: {
            const auto& cols = list_.columns();
            for (std::size_t i = 0; i < cols.size(); ++i)
                view_->header()->resizeSection(int(i), cols[i].width);
            // Only the report style has a header and the columns; the icon and list styles
            // show the captions alone (without image lists there are no icons to arrange).
            bool report = list_.viewStyle() == ViewStyle::Report;
            view_->setHeaderHidden(!report || cols.empty());
            for (int i = 1; i < model_->columnCount(); ++i)
                view_->setColumnHidden(i, !report);
            view_->setSelectionMode(list_.multiSelect() ? QAbstractItemView::ExtendedSelection
                                                      : QAbstractItemView::SingleSelection);
            break;
        }
        case Property::Selection: showSelection(); break;
        case Property::ScrollTo:
            model_->flush();
            if (list_.scrollTarget() >= 0 && list_.scrollTarget() < model_->rowCount())
                view_->scrollTo(model_->index(list_.scrollTarget(), 0));
            break;
        default: break;
        }
    }

private:
    void showSelection() {
        model_->flush();
        syncing_ = true;
        QItemSelection sel;
        int rangeStart = -1, prev = -2;
        int last = model_->columnCount() - 1;
        auto flush = [&] {
            if (rangeStart >= 0)
                sel.select(model_->index(rangeStart, 0), model_->index(prev, last));
        };
        for (int r : list_.selection()) {
            if (r >= model_->rowCount())
                break;
            if (r != prev + 1) {
                flush();
                rangeStart = r;
            }
            prev = r;
        }
        flush();
        QItemSelectionModel* sm = view_->selectionModel();
        sm->select(sel, QItemSelectionModel::ClearAndSelect);
        int f = list_.focused();
        if (f >= 0 && f < model_->rowCount())
            sm->setCurrentIndex(model_->index(f, 0), QItemSelectionModel::NoUpdate);
        syncing_ = false;
    }

    void userSelection() {
        // While the view catches up with rows the list has already moved, its selection is
        // the old one: that is no choice of the user's.
        if (syncing_ || model_->announcing())
            return;
        std::set<int> rows;
        for (const QModelIndex& i : view_->selectionModel()->selectedRows())
            rows.insert(i.row());
        int focused = view_->selectionModel()->currentIndex().isValid() ? view_->selectionModel()->currentIndex().row() : -1;
        if (rows == list_.selection() && focused == list_.focused())
            return;
        syncing_ = true;
        dispatch([&] { list_.userSetSelection(rows, focused); });
        syncing_ = false;
    }

    ListView& list_;
    ListViewWidget* view_;
    ListViewModel* model_;
    bool syncing_ = false;
};

} // namespace

std::unique_ptr<ControlBinding> bindListView(ListView& list, QWidget* parent) {
    return std::make_unique<ListViewBinding>(list, new ListViewWidget(list, parent));
}

} // namespace qtui
