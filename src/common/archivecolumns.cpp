#include "common/archivecolumns.h"

namespace archive {

const QStringList& codes() {
    static const QStringList c = {QStringLiteral("Step"), QStringLiteral("SP"),      QStringLiteral("STR"),
                                  QStringLiteral("AI"),   QStringLiteral("TP"),      QStringLiteral("SD"),
                                  QStringLiteral("L1"),   QStringLiteral("L2"),      QStringLiteral("U1do"),
                                  QStringLiteral("U1posle"), QStringLiteral("U2do"), QStringLiteral("U2posle")};
    return c;
}

QString code(int column) { return column >= 0 && column < ColumnCount ? codes().at(column) : QString(); }

} // namespace archive
