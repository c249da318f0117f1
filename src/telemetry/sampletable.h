#pragma once
// A hidden string table of the recording (the archive and the navigator table) held as
// columns of numbers, one growing column per table column, with the texts made only when
// someone reads a cell. Row 0 holds the column heads; rows 1.. hold one sample each, as the
// recording writes them. A column grows in fixed blocks, so hours of samples cost little
// more than their numbers and never move in memory all at once.
//
// Rows are appended at the end (rowsInserted tells a listener, such as an overview kept
// beside the table, exactly which rows are new), overwritten in place, or cut off.

#include <QAbstractTableModel>
#include <QStringList>

#include <memory>
#include <vector>

// One column of numbers in blocks of equal size, in double or (where seven significant
// digits are plenty) single precision.
class SampleColumn {
public:
    static constexpr int BlockBits = 13; // 8192 values per block
    static constexpr int BlockSize = 1 << BlockBits;

    explicit SampleColumn(bool single = false) : m_single(single) {}

    int size() const { return m_size; }
    double at(int i) const {
        const std::size_t b = std::size_t(i >> BlockBits);
        const int k = i & (BlockSize - 1);
        return m_single ? double(m_floats[b][k]) : m_doubles[b][k];
    }
    void set(int i, double v) {
        const std::size_t b = std::size_t(i >> BlockBits);
        const int k = i & (BlockSize - 1);
        if (m_single)
            m_floats[b][k] = float(v);
        else
            m_doubles[b][k] = v;
    }
    void append(double v);
    void truncate(int size);
    // Bytes held, including the unused rest of the last block.
    std::size_t bytes() const {
        return m_single ? m_floats.size() * BlockSize * sizeof(float) : m_doubles.size() * BlockSize * sizeof(double);
    }

private:
    bool m_single;
    std::vector<std::unique_ptr<double[]>> m_doubles;
    std::vector<std::unique_ptr<float[]>> m_floats;
    int m_size = 0;
};

class SampleTable : public QAbstractTableModel {
    Q_OBJECT
public:
    // columns: the table's column count; columns before firstColumn stay empty; columns
    // from firstSingle on are kept in single precision (-1: none).
    SampleTable(int columns, int firstColumn, int firstSingle = -1, QObject* parent = nullptr);

    // Row 0: heads of columns firstColumn.. (in order).
    void setHeads(const QStringList& heads);
    QStringList heads() const { return m_heads; }

    // Number of sample rows (rows 1..samples()).
    int samples() const { return m_samples; }
    // Writes sample row `row` (1-based) from values[0..n), n being the number of used
    // columns: overwrites an existing row, or appends when row is samples() + 1. Any other
    // row is refused (false).
    bool setRow(int row, const double* values);
    // Appends many rows at once; values holds one vector per used column, all of one size.
    void appendRows(const std::vector<std::vector<double>>& values);
    // Keeps rows 1..samples, drops the rest.
    void truncate(int samples);

    // A sample's value (row 1-based, column as the table counts it); 0 outside the samples.
    double value(int row, int column) const;
    // The cell as the table shows it: heads in row 0, numbers in general format.
    QString text(int row, int column) const;
    const SampleColumn& column(int column) const { return m_columns.at(std::size_t(column - m_first)); }
    int usedColumns() const { return int(m_columns.size()); }
    int firstColumn() const { return m_first; }
    std::size_t bytes() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    bool used(int column) const { return column >= m_first && column < m_first + usedColumns(); }

    int m_columnCount;
    int m_first;
    QStringList m_heads;
    std::vector<SampleColumn> m_columns;
    int m_samples = 0;
};
