#pragma once

#include "frameedit.h"

#include <QAbstractListModel>

#include <functional>
#include <optional>
#include <vector>

namespace blikon {

// The frames of a code text as a list for the frame overview: one row a frame, from the
// top. A row shows the frame's number from 1 (Qt::DisplayRole), its group values
// (ValuesRole, packed by packValues) and whether the board window shows it
// (BoardShownRole). Dragging a row to another place asks the mover to move the frame in
// the code text; the list follows once the mover has done it.
class FrameListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        ValuesRole = Qt::UserRole + 1,
        BoardShownRole,
    };

    // Moves frame `from` so that it becomes frame `to` of the code text, and gives the
    // frames of the new text; none when nothing moved.
    using Mover = std::function<std::optional<std::vector<FrameInText>>(int from, int to)>;

    explicit FrameListModel(QObject* parent = nullptr);

    void setMover(Mover mover) { mover_ = std::move(mover); }

    // The frames of the code text as it is now. Rows at the start and at the end that
    // show the same LEDs as before stay the rows they were, so that their selection
    // stays too; the rows between are changed, removed or inserted.
    void setFrames(std::vector<FrameInText> frames);
    [[nodiscard]] const std::vector<FrameInText>& frames() const { return frames_; }

    // The row that the board window shows, or -1.
    void setBoardRow(int row);

    [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;

    [[nodiscard]] Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }
    [[nodiscard]] Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    [[nodiscard]] QStringList mimeTypes() const override;
    [[nodiscard]] QMimeData* mimeData(const QModelIndexList& indexes) const override;
    // Drops move rows through moveRows; a drop as data does nothing.
    bool dropMimeData(const QMimeData*, Qt::DropAction, int, int, const QModelIndex&) override { return false; }
    // One row at a time, as a view's internal move asks.
    bool moveRows(const QModelIndex& sourceParent, int sourceRow, int count, const QModelIndex& destinationParent,
                  int destinationChild) override;

private:
    std::vector<FrameInText> frames_;
    int boardRow_ = -1;
    Mover mover_;
};

// The five group values in one number, A in the lowest byte.
[[nodiscard]] qulonglong packValues(const GroupValues& values);
[[nodiscard]] GroupValues unpackValues(qulonglong packed);

}  // namespace blikon
