// The rows of the result list as a Qt table model.
#pragma once

#include <QAbstractTableModel>
#include <cstddef>
#include <string>
#include <string_view>

#include "window/row_store.h"

namespace quillscan {

// Two columns, title and link, over a RowStore. A search appends its matches one at a time, but
// telling the view about each row alone would cost a layout pass per row; appended rows are
// therefore held back and announced together by showPendingRows(), which also runs by itself as
// soon as the event loop gets control.
class ResultModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { TitleColumn, LinkColumn, ColumnCount };

    explicit ResultModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void appendRow(std::u16string_view title, std::u16string_view link);
    void clear();
    void showPendingRows();

    // Every appended row, the held-back ones included.
    std::size_t storedRowCount() const { return rows_.size(); }
    std::u16string link(std::size_t row) const { return rows_.link(row).toU16String(); }
    std::size_t reservedBytes() const { return rows_.reservedBytes(); }

private:
    RowStore rows_;
    int shownRows_ = 0;
    bool showPosted_ = false;
};

}  // namespace quillscan
