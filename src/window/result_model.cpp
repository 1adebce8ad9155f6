#include "window/result_model.h"

#include <algorithm>
#include <limits>

namespace quillscan {

namespace {

QString toQString(const StoredText& text) {
    const auto length = static_cast<qsizetype>(text.length);
    if (text.wide) return QString(static_cast<const QChar*>(text.units), length);
    return QString::fromLatin1(static_cast<const char*>(text.units), length);
}

}  // namespace

ResultModel::ResultModel(QObject* parent) : QAbstractTableModel(parent) {}

int ResultModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownRows_;
}

int ResultModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ResultModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= shownRows_) return {};
    if (role == Qt::DisplayRole) {
        const auto row = static_cast<std::size_t>(index.row());
        return toQString(index.column() == TitleColumn ? rows_.title(row) : rows_.link(row));
    }
    if (role == Qt::TextAlignmentRole) return int{Qt::AlignLeft | Qt::AlignVCenter};
    return {};
}

QVariant ResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case TitleColumn:
            return QStringLiteral("标题");
        case LinkColumn:
            return QStringLiteral("链接");
        default:
            return {};
    }
}

void ResultModel::appendRow(std::u16string_view title, std::u16string_view link) {
    rows_.append(title, link);
    if (!showPosted_) {
        showPosted_ = true;
        QMetaObject::invokeMethod(this, &ResultModel::showPendingRows, Qt::QueuedConnection);
    }
}

void ResultModel::clear() {
    beginResetModel();
    rows_.clear();
    shownRows_ = 0;
    endResetModel();
}

void ResultModel::showPendingRows() {
    showPosted_ = false;
    // Qt counts rows in int; rows past that (over 2^31) stay stored but unlisted.
    const int stored =
        static_cast<int>(std::min<std::size_t>(rows_.size(), std::numeric_limits<int>::max()));
    if (stored == shownRows_) return;
    beginInsertRows(QModelIndex(), shownRows_, stored - 1);
    shownRows_ = stored;
    endInsertRows();
}

}  // namespace quillscan
