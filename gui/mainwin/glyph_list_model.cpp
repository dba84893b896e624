#include "gui/mainwin/glyph_list_model.h"

#include "gui/common/grey_depth.h"
#include "gui/mainwin/pictures.h"

#include <QStringList>
#include <stdexcept>

namespace hz::gui {

namespace {

// A list row is one line high, so a text's line breaks are shown as spaces.
QString oneLine(QString line) {
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    return line.trimmed();
}

} // namespace

QString GlyphListModel::cellText(const hz::GlyphRecord& record, int column) const {
    if (column == kCharacterColumn)
        return QString::fromStdString(record.character);
    if (column == kLibraryColumn)
        return QString::fromStdString(record.sizeText);
    if (column < kFirstCColumn)
        return assemblyTextAt(record, static_cast<hz::Arrangement>(column - kFirstAssemblyColumn), textDepth);
    return cTextAt(record, static_cast<hz::Arrangement>(column - kFirstCColumn), textDepth);
}

void GlyphListModel::setDepth(int bits) {
    if (bits == textDepth)
        return;
    textDepth = bits;
    if (!rows.empty())
        emit dataChanged(index(0, kFirstAssemblyColumn), index(count() - 1, kColumnCount - 1));
}

GlyphListModel::GlyphListModel(QObject* parent) : QAbstractTableModel(parent), icon(rowIcon()) {}

int GlyphListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

int GlyphListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant GlyphListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const hz::GlyphRecord& rec = rows[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return oneLine(cellText(rec, index.column()));
    case Qt::ToolTipRole:
    case ExactTextRole:
        return cellText(rec, index.column());
    case Qt::DecorationRole:
        return index.column() == kCharacterColumn ? QVariant(icon) : QVariant();
    case TagRole:
        return QString::fromStdString(rec.tag());
    default:
        return {};
    }
}

QVariant GlyphListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == kCharacterColumn)
        return QStringLiteral("汉字");
    if (section == kLibraryColumn)
        return QStringLiteral("字库");
    static const QStringList names = {QStringLiteral("点阵横排"), QStringLiteral("下上列排"),
                                      QStringLiteral("上下列排"), QStringLiteral("下半列排"),
                                      QStringLiteral("上半列排")};
    return names[(section - kFirstAssemblyColumn) % hz::kArrangementCount];
}

void GlyphListModel::appendRecords(std::vector<hz::GlyphRecord> records) {
    if (records.empty())
        return;
    const int first = count();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(records.size()) - 1);
    if (rows.empty()) {
        rows = std::move(records);
    } else {
        rows.insert(rows.end(), std::make_move_iterator(records.begin()), std::make_move_iterator(records.end()));
    }
    endInsertRows();
}

void GlyphListModel::appendRecord(hz::GlyphRecord record) {
    std::vector<hz::GlyphRecord> one;
    one.push_back(std::move(record));
    appendRecords(std::move(one));
}

void GlyphListModel::removeRecord(int row) {
    if (row < 0 || row >= count())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    rows.erase(rows.begin() + row);
    endRemoveRows();
}

void GlyphListModel::removeAll() {
    if (rows.empty())
        return;
    beginResetModel();
    rows.clear();
    rows.shrink_to_fit();
    endResetModel();
}

const hz::GlyphRecord& GlyphListModel::record(int row) const {
    if (row < 0 || row >= count())
        throw std::out_of_range("glyph list row " + std::to_string(row) + " of " + std::to_string(count()));
    return rows[static_cast<std::size_t>(row)];
}

int GlyphListModel::columnWidth(int column) {
    // 1235 and 2540 twips.
    return column <= kLibraryColumn ? 82 : 169;
}

} // namespace hz::gui
