// The detail grid's properties (rows, columns, fixed rows and columns, widths in twips,
// alignments, cell texts). The engine writes them; a window shows them; tests read them.
#pragma once

#include <QString>
#include <functional>
#include <map>
#include <vector>

namespace win {

class GridModel {
public:
    // What changed, for a view that mirrors the grid: one cell's text (row, col), the number of
    // rows, columns or fixed ones, one column's width or alignment (col), or every text emptied.
    enum class Change { Cell, Shape, Column, Cleared };
    using Listener = std::function<void(Change what, int row, int col)>;
    void setListener(Listener l) { listener_ = std::move(l); }

    void Clear(); // every cell text emptied; shape kept
    int Rows() const { return rows_; }
    int Cols() const { return cols_; }
    void setRows(int n);
    void setCols(int n);
    int FixedRows() const { return fixedRows_; }
    int FixedCols() const { return fixedCols_; }
    void setFixedRows(int n);
    void setFixedCols(int n);
    int ColWidth(int c) const; // twips; -1 = the grid's default
    void setColWidth(int c, int twips);
    int ColAlignment(int c) const; // -1 = the grid's default
    void setColAlignment(int c, int alignment);
    QString TextMatrix(int r, int c) const;
    void setTextMatrix(int r, int c, const QString& text);
    int Width() const { return widthTwips_; } // the control's width in twips
    void setWidth(int twips) { widthTwips_ = twips; }

private:
    void check(int r, int c) const;
    void changed(Change what, int r = -1, int c = -1) {
        if (listener_) listener_(what, r, c);
    }
    int rows_ = 2, cols_ = 2, fixedRows_ = 1, fixedCols_ = 1;
    int widthTwips_ = 0;
    std::map<int, int> widths_, alignments_;
    std::vector<std::vector<QString>> cells_
        = std::vector<std::vector<QString>>(2, std::vector<QString>(2));
    Listener listener_;
};

} // namespace win
