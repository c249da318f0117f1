#include "telemetry/sampletable.h"

#include "common/numtext.h"

void SampleColumn::append(double v) {
    const std::size_t blocks = m_single ? m_floats.size() : m_doubles.size();
    if (std::size_t(m_size >> BlockBits) == blocks) {
        if (m_single)
            m_floats.push_back(std::make_unique<float[]>(BlockSize));
        else
            m_doubles.push_back(std::make_unique<double[]>(BlockSize));
    }
    set(m_size, v);
    ++m_size;
}

void SampleColumn::truncate(int size) {
    if (size >= m_size) return;
    m_size = std::max(0, size);
    const std::size_t blocks = std::size_t((m_size + BlockSize - 1) >> BlockBits);
    m_floats.resize(m_single ? blocks : 0);
    m_doubles.resize(m_single ? 0 : blocks);
}

SampleTable::SampleTable(int columns, int firstColumn, int firstSingle, QObject* parent)
    : QAbstractTableModel(parent), m_columnCount(columns), m_first(firstColumn) {
    for (int c = firstColumn; c < columns; ++c) m_columns.emplace_back(firstSingle >= 0 && c >= firstSingle);
}

void SampleTable::setHeads(const QStringList& heads) {
    m_heads = heads;
    emit dataChanged(index(0, 0), index(0, m_columnCount - 1));
}

bool SampleTable::setRow(int row, const double* values) {
    if (row < 1 || row > m_samples + 1) return false;
    const int n = usedColumns();
    if (row == m_samples + 1) {
        beginInsertRows(QModelIndex(), row, row);
        for (int c = 0; c < n; ++c) m_columns[std::size_t(c)].append(values[c]);
        ++m_samples;
        endInsertRows();
    } else {
        for (int c = 0; c < n; ++c) m_columns[std::size_t(c)].set(row - 1, values[c]);
        emit dataChanged(index(row, m_first), index(row, m_first + n - 1));
    }
    return true;
}

void SampleTable::appendRows(const std::vector<std::vector<double>>& values) {
    if (values.size() != m_columns.size() || values.empty() || values.front().empty()) return;
    const int n = int(values.front().size());
    for (const auto& v : values)
        if (int(v.size()) != n) return;
    beginInsertRows(QModelIndex(), m_samples + 1, m_samples + n);
    for (std::size_t c = 0; c < m_columns.size(); ++c)
        for (double v : values[c]) m_columns[c].append(v);
    m_samples += n;
    endInsertRows();
}

void SampleTable::truncate(int samples) {
    if (samples < 0 || samples >= m_samples) return;
    beginRemoveRows(QModelIndex(), samples + 1, m_samples);
    for (SampleColumn& c : m_columns) c.truncate(samples);
    m_samples = samples;
    endRemoveRows();
}

double SampleTable::value(int row, int column) const {
    if (row < 1 || row > m_samples || !used(column)) return 0;
    return m_columns[std::size_t(column - m_first)].at(row - 1);
}

QString SampleTable::text(int row, int column) const {
    if (row == 0) {
        const int i = column - m_first;
        return i >= 0 && i < m_heads.size() ? m_heads.at(i) : QString();
    }
    if (row < 1 || row > m_samples || !used(column)) return QString();
    return formatGeneral(value(row, column));
}

std::size_t SampleTable::bytes() const {
    std::size_t b = 0;
    for (const SampleColumn& c : m_columns) b += c.bytes();
    return b;
}

int SampleTable::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_samples + 1; }

int SampleTable::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_columnCount; }

QVariant SampleTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return QVariant();
    return text(index.row(), index.column());
}
