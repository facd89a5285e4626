#pragma once
// The pop-up that shows the player's song list, one song per row, and lets the user pick
// the song to play next. It never changes the list: a pick is handed to the player by
// index, Escape hides it without one. Rows are read from the list on demand, so it stays
// quick with any number of songs.
#include <QAbstractTableModel>
#include <QDialog>
#include <functional>

class QTableView;
class SongList;

// A virtual two-column table over the song list: the row count is what the owner last
// set, texts are copied out of the list under its lock when the view asks for them.
class SongListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit SongListModel(QObject* parent = nullptr);
    void setList(const SongList* list) { list_ = list; }
    // Grows or shrinks the row count without resetting the view (the scroll position stays).
    void setItemCount(int count);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

  private:
    const SongList* list_ = nullptr;
    int rows_ = 0;
};

class SongListView : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kListControlId = 1004;
    // Receives the picked index on the owner's side.
    using PickNotify = std::function<void(int index)>;

    explicit SongListView(QWidget* owner = nullptr);

    void setList(const SongList* list) { model_->setList(list); }
    void SetItemCount(int count) { model_->setItemCount(count); }
    void setNotify(PickNotify notify) { notify_ = std::move(notify); }
    // Rows the view shows when the screen has room for them.
    static constexpr int kVisibleRows = 12;
    // Places the view `width` wide and kVisibleRows rows high (fewer on a low screen) with
    // its top-left corner at `topLeft`, moved as far as needed to stay on that screen's
    // available area.
    void placeAt(const QPoint& topLeft, int width);

    // Makes row `index` visible, selected and focused, and remembers it as the pick
    // that Enter gives when no row is selected.
    void selectRow(int index);
    int selectedIndex() const { return selectedIndex_; }
    QTableView* table() const { return table_; }

    // Enter or double-click: pick the selected row (or the remembered one) and hide.
    void accept() override;
    // Escape: hide without a pick.
    void reject() override;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void fitColumns();

    SongListModel* model_;
    QTableView* table_;
    PickNotify notify_;
    int selectedIndex_ = -1;
};
