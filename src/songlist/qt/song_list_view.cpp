#include "songlist/qt/song_list_view.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "app/widgets/dialog_units.h"

#if VORN_HAVE_XCB
#include <xcb/xcb.h>
#include <QGuiApplication>
#endif
#include "songlist/core/song_list.h"

namespace {

QString fromBytes(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A tool window of the player window has no task-bar button of its own. Qt has no flag
// for it: on X11 the state goes on the window before it is mapped (Qt keeps states it
// doesn't manage when it maps the window).
void keepOffTheTaskBar(QWidget& window) {
#if VORN_HAVE_XCB
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr)
        return;
    xcb_connection_t* connection = x11->connection();
    auto atom = [connection](const char* name) -> xcb_atom_t {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection,
            xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
            nullptr);
        const xcb_atom_t value = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return value;
    };
    const xcb_atom_t state = atom("_NET_WM_STATE");
    const xcb_atom_t values[] = {atom("_NET_WM_STATE_SKIP_TASKBAR"),
                                 atom("_NET_WM_STATE_SKIP_PAGER")};
    if (state == XCB_ATOM_NONE || values[0] == XCB_ATOM_NONE)
        return;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
                        static_cast<xcb_window_t>(window.winId()), state, XCB_ATOM_ATOM, 32, 2,
                        values);
    xcb_flush(connection);
#else
    (void)window;
#endif
}

}  // namespace

SongListModel::SongListModel(QObject* parent) : QAbstractTableModel(parent) {}

void SongListModel::setItemCount(int count) {
    if (count < 0)
        count = 0;
    if (count > rows_) {
        beginInsertRows({}, rows_, count - 1);
        rows_ = count;
        endInsertRows();
    } else if (count < rows_) {
        beginRemoveRows({}, count, rows_ - 1);
        rows_ = count;
        endRemoveRows();
    }
}

int SongListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int SongListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant SongListModel::data(const QModelIndex& index, int role) const {
    if (!list_ || role != Qt::DisplayRole || !index.isValid())
        return {};
    // The list may have shrunk since the count was set: such a row has no text.
    const int row = index.row();
    if (row >= list_->count())
        return {};
    if (index.column() == 0) {
        const std::string author = list_->authorAt(row);
        return fromBytes(author.empty() ? list_->pathAt(row) : author);
    }
    if (index.column() == 1)
        return fromBytes(list_->titleAt(row));
    return {};
}

SongListView::SongListView(QWidget* owner)
    : QDialog(owner, Qt::Tool | Qt::FramelessWindowHint),
      model_(new SongListModel(this)),
      table_(new QTableView(this)) {
    setObjectName(QStringLiteral("SongListView"));
    setFont(dialogFont());
    table_->setObjectName(QStringLiteral("songs"));
    table_->setProperty("controlId", kListControlId);
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->hide();
    table_->verticalHeader()->hide();
    table_->setShowGrid(false);
    table_->setWordWrap(false);
    // Fixed row heights keep a list of a hundred thousand songs as quick as a short one.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 2);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(table_);
    setStyleSheet(QStringLiteral("SongListView { border: 2px outset palette(mid); }"));

    connect(table_, &QAbstractItemView::doubleClicked, this, [this] { accept(); });
    table_->installEventFilter(this);
    // The columns follow the viewport, which the layout sizes after the view's own resize.
    table_->viewport()->installEventFilter(this);
    fitColumns();
}

void SongListView::placeAt(const QPoint& topLeft, int width) {
    const QMargins margins = layout()->contentsMargins();
    const int wanted = kVisibleRows * table_->verticalHeader()->defaultSectionSize() +
                       2 * table_->frameWidth() + margins.top() + margins.bottom();
    QScreen* screen = QGuiApplication::screenAt(topLeft);
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    QRect area =
        screen != nullptr ? screen->availableGeometry() : QRect(topLeft, QSize(width, wanted));
    const int height = std::min(wanted, area.height());
    const int x =
        std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() + 1 - width));
    const int y =
        std::clamp(topLeft.y(), area.top(), std::max(area.top(), area.bottom() + 1 - height));
    setGeometry(x, y, width, height);
}

void SongListView::selectRow(int index) {
    if (index >= 0 && index < model_->rowCount()) {
        const QModelIndex cell = model_->index(index, 0);
        table_->scrollTo(cell, QAbstractItemView::EnsureVisible);
        table_->selectionModel()->setCurrentIndex(
            cell, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    selectedIndex_ = index;
}

void SongListView::accept() {
    const QModelIndexList rows = table_->selectionModel()->selectedRows();
    if (!rows.isEmpty())
        selectedIndex_ = rows.first().row();
    if (notify_)
        notify_(selectedIndex_);
    hide();
}

void SongListView::reject() {
    hide();
}

bool SongListView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_->viewport() && event->type() == QEvent::Resize)
        fitColumns();
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SongListView::showEvent(QShowEvent* event) {
    // Sent before the window is mapped.
    keepOffTheTaskBar(*this);
    QDialog::showEvent(event);
}

void SongListView::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    fitColumns();
}

void SongListView::fitColumns() {
    // The two columns fill the view: the viewport is what the scroll bar, when shown,
    // leaves; the second column takes the odd pixel.
    const int width = std::max(0, table_->viewport()->width());
    table_->setColumnWidth(0, width / 2);
    table_->setColumnWidth(1, width - width / 2);
}
