#include "framelistmodel.h"

#include <QMimeData>

#include <algorithm>

namespace blikon {

namespace {

const QString kMimeType = QStringLiteral("application/x-blikon-snimky");

}  // namespace

qulonglong packValues(const GroupValues& values)
{
    qulonglong packed = 0;
    for (std::size_t group = values.size(); group-- > 0;)
        packed = packed << 8 | values[group];
    return packed;
}

GroupValues unpackValues(qulonglong packed)
{
    GroupValues values{};
    for (std::uint8_t& value : values) {
        value = static_cast<std::uint8_t>(packed & 0xFF);
        packed >>= 8;
    }
    return values;
}

FrameListModel::FrameListModel(QObject* parent)
    : QAbstractListModel(parent)
{
}

void FrameListModel::setFrames(std::vector<FrameInText> frames)
{
    const auto same = [](const FrameInText& a, const FrameInText& b) { return a.block.values == b.block.values; };
    const std::size_t shorter = std::min(frames_.size(), frames.size());
    std::size_t head = 0;
    while (head < shorter && same(frames_[head], frames[head]))
        ++head;
    std::size_t tail = 0;
    while (tail < shorter - head && same(frames_[frames_.size() - 1 - tail], frames[frames.size() - 1 - tail]))
        ++tail;
    // The rows [head, oldEnd) become [head, newEnd): changed in place as far as both
    // reach, then removed or inserted.
    const int oldEnd = static_cast<int>(frames_.size() - tail);
    const int newEnd = static_cast<int>(frames.size() - tail);
    const int changedEnd = std::min(oldEnd, newEnd);
    if (oldEnd > newEnd) {
        beginRemoveRows(QModelIndex(), newEnd, oldEnd - 1);
        frames_ = std::move(frames);
        endRemoveRows();
    } else if (newEnd > oldEnd) {
        beginInsertRows(QModelIndex(), oldEnd, newEnd - 1);
        frames_ = std::move(frames);
        endInsertRows();
    } else {
        frames_ = std::move(frames);
    }
    if (changedEnd > static_cast<int>(head))
        emit dataChanged(index(static_cast<int>(head)), index(changedEnd - 1));
    if (boardRow_ >= rowCount())
        setBoardRow(-1);
}

void FrameListModel::setBoardRow(int row)
{
    if (row < 0 || row >= rowCount())
        row = -1;
    if (row == boardRow_)
        return;
    const int before = std::exchange(boardRow_, row);
    for (const int changed : {before, row})
        if (changed >= 0)
            emit dataChanged(index(changed), index(changed), {BoardShownRole});
}

int FrameListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(frames_.size());
}

QVariant FrameListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const FrameInText& frame = frames_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return QString::number(index.row() + 1);
    case Qt::ToolTipRole:
        return QStringLiteral("Snímek %1, řádky %2 až %3")
            .arg(index.row() + 1)
            .arg(frame.firstLine() + 1)
            .arg(frame.lastLine() + 1);
    case ValuesRole:
        return packValues(frame.block.values);
    case BoardShownRole:
        return index.row() == boardRow_;
    default:
        return {};
    }
}

Qt::ItemFlags FrameListModel::flags(const QModelIndex& index) const
{
    // Frames are dropped between frames, never onto one.
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

QStringList FrameListModel::mimeTypes() const { return {kMimeType}; }

QMimeData* FrameListModel::mimeData(const QModelIndexList& indexes) const
{
    QStringList rows;
    for (const QModelIndex& index : indexes)
        rows << QString::number(index.row());
    auto* data = new QMimeData;
    data->setData(kMimeType, rows.join(QLatin1Char(',')).toLatin1());
    return data;
}

bool FrameListModel::moveRows(const QModelIndex& sourceParent, int sourceRow, int count,
                              const QModelIndex& destinationParent, int destinationChild)
{
    const int rows = rowCount();
    if (!mover_ || sourceParent.isValid() || destinationParent.isValid() || count != 1 || sourceRow < 0 ||
        sourceRow >= rows || destinationChild < 0 || destinationChild > rows || destinationChild == sourceRow ||
        destinationChild == sourceRow + 1)
        return false;
    const int to = destinationChild > sourceRow ? destinationChild - 1 : destinationChild;
    std::optional<std::vector<FrameInText>> moved = mover_(sourceRow, to);
    if (!moved)
        return false;
    beginMoveRows(QModelIndex(), sourceRow, sourceRow, QModelIndex(), destinationChild);
    const auto from = frames_.begin() + sourceRow;
    if (to < sourceRow)
        std::rotate(frames_.begin() + to, from, from + 1);
    else
        std::rotate(from, from + 1, frames_.begin() + to + 1);
    endMoveRows();
    setFrames(std::move(*moved));  // the frames' places in the new text
    return true;
}

}  // namespace blikon
