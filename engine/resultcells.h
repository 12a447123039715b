#pragma once

#include <array>
#include <string>
#include <vector>

namespace velmora {

inline constexpr int kResultColumns = 12;
inline constexpr int kInitialRowCount = 25;  // header row and 24 empty year rows

/// Header row texts of the result table, column 0 first.
extern const std::array<const char*, kResultColumns> kColumnTitles;

/// Told about every change of a ResultCells it watches (the results grid's model).
class ResultCellsObserver {
  public:
    /// The row count goes from before to after (both header row included).
    virtual void RowCountChanging(int before, int after) = 0;
    virtual void RowCountChanged() = 0;
    virtual void CellChanged(int column, int row) = 0;
    /// Every cell of the current rows may have changed.
    virtual void AllCellsChanged() = 0;
    /// The table goes away; the observer must forget it.
    virtual void CellsDestroyed() = 0;

  protected:
    ~ResultCellsObserver() = default;
};

/// The texts of the result table: a header row of column titles and the year rows, UTF-8.
/// Rows dropped by a smaller row count are gone, so a later, larger count never shows the
/// texts of an earlier calculation.
class ResultCells {
  public:
    /// The column titles and 24 empty year rows.
    ResultCells();
    ~ResultCells();
    ResultCells(const ResultCells&) = delete;
    ResultCells& operator=(const ResultCells&) = delete;

    /// Header row included; a count below 1 counts as 1. Rows added start empty.
    void SetRowCount(int rows);
    int RowCount() const { return static_cast<int>(rows_.size()); }

    /// Only cells of the current rows and the twelve columns are written; returns whether
    /// the cell was written.
    bool SetCellText(int column, int row, const std::string& text);
    /// A cell never written, emptied by Clear, or outside the table reads as empty text.
    std::string GetCellText(int column, int row) const;

    /// Empties every cell, header row included, then writes the column titles back into
    /// row 0. The row count is kept.
    void Clear();

    /// Which texts the table keeps: all, or (for a batch run, which reads only the last
    /// row) the year column, which the schedule reads back, and the last row. Texts of
    /// other cells are dropped; the schedule does not make them.
    enum class Keep { All, YearsAndLastRow };
    void SetKeep(Keep keep) { keep_ = keep; }
    bool KeepsText(int column, int row) const {
        return keep_ == Keep::All || column == 0 || row == RowCount() - 1;
    }

    /// One observer at most; nullptr stops the telling.
    void SetObserver(ResultCellsObserver* observer) { observer_ = observer; }

  private:
    void WriteTitles();

    std::vector<std::array<std::string, kResultColumns>> rows_;
    ResultCellsObserver* observer_ = nullptr;
    Keep keep_ = Keep::All;
};

}  // namespace velmora
