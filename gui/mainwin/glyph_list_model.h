#pragma once
// The glyph records of the main window, one row per looked-up character in the order of lookup.
// The model is the list: the records live here and nowhere else.
//
// Columns: "汉字", "字库", then the five assembly texts and the five C texts in arrangement order.

#include "core/glyph/glyph_record.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <vector>

namespace hz::gui {

class GlyphListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kCharacterColumn = 0;
    static constexpr int kLibraryColumn = 1;
    static constexpr int kFirstAssemblyColumn = 2;
    static constexpr int kFirstCColumn = 2 + hz::kArrangementCount;
    static constexpr int kColumnCount = 2 + 2 * hz::kArrangementCount;

    // The row's tag ("163216") under this role; the exact text of a cell (line breaks kept) under
    // ExactTextRole, where the display role shows it on one line.
    static constexpr int TagRole = Qt::UserRole + 1;
    static constexpr int ExactTextRole = Qt::UserRole + 2;

    explicit GlyphListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Appends the records after the last row, as one insertion however many there are.
    void appendRecords(std::vector<hz::GlyphRecord> records);
    void appendRecord(hz::GlyphRecord record);
    // Removes one row (0-based); the rows after it move up.
    void removeRecord(int row);
    void removeAll();

    int count() const { return static_cast<int>(rows.size()); }
    bool isEmpty() const { return rows.empty(); }
    // The record at a 0-based row; the row must exist.
    const hz::GlyphRecord& record(int row) const;
    const std::vector<hz::GlyphRecord>& records() const { return rows; }

    // Column widths in pixels: the first two are half as wide as the text columns.
    static int columnWidth(int column);

    // Bits a dot the text columns are written at (1 to begin with): see grey_depth.h.
    void setDepth(int bits);
    int depth() const { return textDepth; }

private:
    QString cellText(const hz::GlyphRecord& record, int column) const;

    std::vector<hz::GlyphRecord> rows;
    int textDepth = 1;
    QIcon icon;
};

} // namespace hz::gui
