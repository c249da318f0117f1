#include "analysis/cellcompare.h"

#include "common/numtext.h"

namespace analysis {

std::optional<double> meanDifference(const CellStats& main, const CellStats& reference) {
    if (main.count <= 0 || reference.count <= 0) return std::nullopt;
    return main.mean() - reference.mean();
}

QString differenceText(double difference) {
    // Rounded as a mean is, so that 14,6 - 15,4 reads −0,8 rather than its binary neighbour.
    const double rounded = std::round(difference * 1000) / 1000;
    if (rounded == 0) return formatGeneral(0.0);
    const QString text = formatGeneral(std::abs(rounded));
    return rounded < 0 ? QString(QChar(0x2212)) + text : text;
}

QString differenceToolTip(const CellStats& main, const CellStats& reference, bool english) {
    if (main.count <= 0 && reference.count <= 0) return {};
    const QString none = QString(QChar(0x2014));
    auto mean = [&none](const CellStats& c) { return c.count > 0 ? meanText(c.mean()) : none; };
    QString tip = (english ? QStringLiteral("Samples: %1 / %2") : QStringLiteral("Отсчётов: %1 / %2"))
                      .arg(main.count)
                      .arg(reference.count);
    tip += QLatin1Char('\n') +
           (english ? QStringLiteral("Mean: %1 / %2") : QStringLiteral("Среднее: %1 / %2")).arg(mean(main), mean(reference));
    if (const std::optional<double> d = meanDifference(main, reference))
        tip += QLatin1Char('\n') +
               (english ? QStringLiteral("Difference: %1") : QStringLiteral("Разность: %1")).arg(differenceText(*d));
    return tip;
}

} // namespace analysis
