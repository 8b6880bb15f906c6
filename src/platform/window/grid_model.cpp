// Grid properties with the range checks of a grid control.
#include "grid_model.h"

#include "platform/runtime/error.h"

namespace win {

void GridModel::check(int r, int c) const {
    if (r < 0 || r >= rows_ || c < 0 || c >= cols_)
        throw rt::RunError(
            QStringLiteral("Subscript out of range: grid cell %1, %2").arg(r).arg(c));
}

void GridModel::Clear() {
    for (auto& row : cells_)
        for (auto& cell : row)
            cell.clear();
    changed(Change::Cleared);
}

void GridModel::setRows(int n) {
    if (n < 0) throw rt::RunError(QStringLiteral("Invalid Rows value"));
    rows_ = n;
    cells_.resize(n, std::vector<QString>(cols_));
    if (fixedRows_ > n) fixedRows_ = n;
    changed(Change::Shape);
}

void GridModel::setCols(int n) {
    if (n < 0) throw rt::RunError(QStringLiteral("Invalid Cols value"));
    cols_ = n;
    for (auto& row : cells_)
        row.resize(n);
    if (fixedCols_ > n) fixedCols_ = n;
    changed(Change::Shape);
}

void GridModel::setFixedRows(int n) {
    if (n < 0 || n > rows_) throw rt::RunError(QStringLiteral("Invalid FixedRows value"));
    fixedRows_ = n;
    changed(Change::Shape);
}

void GridModel::setFixedCols(int n) {
    if (n < 0 || n > cols_) throw rt::RunError(QStringLiteral("Invalid FixedCols value"));
    fixedCols_ = n;
    changed(Change::Shape);
}

int GridModel::ColWidth(int c) const {
    auto it = widths_.find(c);
    return it == widths_.end() ? -1 : it->second;
}

void GridModel::setColWidth(int c, int twips) {
    check(0, c);
    widths_[c] = twips;
    changed(Change::Column, -1, c);
}

int GridModel::ColAlignment(int c) const {
    auto it = alignments_.find(c);
    return it == alignments_.end() ? -1 : it->second;
}

void GridModel::setColAlignment(int c, int alignment) {
    check(0, c);
    alignments_[c] = alignment;
    changed(Change::Column, -1, c);
}

QString GridModel::TextMatrix(int r, int c) const {
    check(r, c);
    return cells_[r][c];
}

void GridModel::setTextMatrix(int r, int c, const QString& text) {
    check(r, c);
    cells_[r][c] = text;
    changed(Change::Cell, r, c);
}

} // namespace win
