#include "tables/blockops.h"

#include "common/numtext.h"
#include "tables/curvecodec.h"

#include <QVector>

#include <algorithm>
#include <cmath>

namespace blockops {

namespace {

bool normaliseCurvePoint(const QString& text, QString* out) {
    curvecodec::KeyValue kv;
    if (!curvecodec::keyValue(text, &kv)) return false;
    *out = kv.text;
    return true;
}

bool parseCell(const QString& text, double* value) {
    if (text.trimmed().isEmpty()) {
        *value = 0;
        return true;
    }
    return parseNumber(text, value);
}

Block clipped(Block b, int width, int height) {
    b.left = std::clamp(b.left, 0, width - 1);
    b.right = std::clamp(b.right, 0, width - 1);
    b.top = std::clamp(b.top, 0, height - 1);
    b.bottom = std::clamp(b.bottom, 0, height - 1);
    if (b.left > b.right) std::swap(b.left, b.right);
    if (b.top > b.bottom) std::swap(b.top, b.bottom);
    return b;
}

double lerp(double a, double b, int i, int n) { return n <= 0 ? a : a + (b - a) * i / n; }

} // namespace

Domain tableDomain(TableKind kind) {
    if (kind == TableKind::Voltage) return {0.0, 5.0, 2, &tablecodec::normaliseVoltage};
    return {-99.0, 99.0, 0, &tablecodec::normaliseWhole};
}

Domain curveDomain() { return {0.0, curvecodec::VoltMax, 2, &normaliseCurvePoint}; }

QString valueText(double value, const Domain& d) {
    if (!std::isfinite(value)) value = 0;
    const double scale = std::pow(10.0, d.decimals);
    double v = roundHalfEven(value * scale) / scale;
    v = std::clamp(v, d.min, d.max);
    if (v == 0) v = 0; // no "-0"
    return formatGeneral(v);
}

Result apply(Op op, const QStringList& texts, int width, Block block, double argument,
             const Domain& d) {
    Result res;
    if (width <= 0 || texts.isEmpty()) return res;
    const int height = int(texts.size()) / width;
    if (height <= 0) return res;
    block = clipped(block, width, height);

    // Every cell the step reads must be a number; the first one that is not stops it.
    QVector<double> v(texts.size(), 0.0);
    QVector<bool> parsed(texts.size(), false);
    auto value = [&](int c, int r, double* out) {
        const int i = r * width + c;
        if (!parsed[i]) {
            if (!parseCell(texts.at(i), &v[i])) {
                if (res.badCell < 0) res.badCell = i;
                return false;
            }
            parsed[i] = true;
        }
        *out = v[i];
        return true;
    };

    QVector<double> out(texts.size(), 0.0);
    for (int r = block.top; r <= block.bottom && res.ok(); ++r) {
        for (int c = block.left; c <= block.right && res.ok(); ++c) {
            double x = 0, a = 0, b = 0, p = 0, q = 0;
            switch (op) {
            case Op::Set:
                x = argument;
                break;
            case Op::Add:
                if (!value(c, r, &x)) break;
                x += argument;
                break;
            case Op::Scale:
                if (!value(c, r, &x)) break;
                x *= argument / 100.0;
                break;
            case Op::InterpolateH:
                if (!value(block.left, r, &a) || !value(block.right, r, &b)) break;
                x = lerp(a, b, c - block.left, block.width() - 1);
                break;
            case Op::InterpolateV:
                if (!value(c, block.top, &a) || !value(c, block.bottom, &b)) break;
                x = lerp(a, b, r - block.top, block.height() - 1);
                break;
            case Op::Interpolate2D: {
                double tl = 0, tr = 0, bl = 0, br = 0;
                if (!value(block.left, block.top, &tl) || !value(block.right, block.top, &tr) ||
                    !value(block.left, block.bottom, &bl) || !value(block.right, block.bottom, &br))
                    break;
                p = lerp(tl, tr, c - block.left, block.width() - 1);
                q = lerp(bl, br, c - block.left, block.width() - 1);
                x = lerp(p, q, r - block.top, block.height() - 1);
                break;
            }
            case Op::Smooth: {
                double sum = 0;
                int n = 0;
                for (int rr = std::max(0, r - 1); rr <= std::min(height - 1, r + 1); ++rr) {
                    for (int cc = std::max(0, c - 1); cc <= std::min(width - 1, c + 1); ++cc) {
                        double y = 0;
                        if (!value(cc, rr, &y)) break;
                        sum += y;
                        ++n;
                    }
                }
                x = n ? sum / n : 0;
                break;
            }
            }
            out[r * width + c] = x;
        }
    }
    if (!res.ok()) return res;
    res.texts = texts;
    for (int r = block.top; r <= block.bottom; ++r)
        for (int c = block.left; c <= block.right; ++c)
            res.texts[r * width + c] = valueText(out[r * width + c], d);
    return res;
}

QString copyText(const QStringList& texts, int width, Block block) {
    if (width <= 0 || texts.isEmpty()) return {};
    const int height = int(texts.size()) / width;
    if (height <= 0) return {};
    block = clipped(block, width, height);
    QString out;
    for (int r = block.top; r <= block.bottom; ++r) {
        for (int c = block.left; c <= block.right; ++c) {
            if (c > block.left) out += QLatin1Char('\t');
            const QString& t = texts.at(r * width + c);
            double x = 0;
            out += parseNumber(t, &x) ? formatGeneral(x) : t;
        }
        out += QLatin1Char('\n');
    }
    return out;
}

PasteResult paste(const QStringList& texts, int width, int left, int top, const QString& clip,
                  const Domain& d) {
    PasteResult res;
    if (clip.size() > MaxPasteChars) {
        res.tooLong = true;
        return res;
    }
    const int height = width > 0 ? int(texts.size()) / width : 0;
    QString text = clip;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    const QStringList rows = text.split(QLatin1Char('\n'));
    if (text.trimmed().isEmpty() || height <= 0 || left < 0 || top < 0 || left >= width || top >= height) {
        res.empty = true;
        return res;
    }
    QStringList out = texts;
    int right = left, bottom = top;
    for (int pr = 0; pr < rows.size() && top + pr < height; ++pr) {
        const QStringList cells = rows.at(pr).split(QLatin1Char('\t'));
        for (int pc = 0; pc < cells.size() && left + pc < width; ++pc) {
            const QString cell = cells.at(pc).trimmed();
            QString normal;
            if (cell.isEmpty() || !d.normalise(cell, &normal)) {
                res.badRow = pr;
                res.badColumn = pc;
                res.badText = cell;
                return res;
            }
            out[(top + pr) * width + left + pc] = normal;
            right = std::max(right, left + pc);
            bottom = std::max(bottom, top + pr);
        }
    }
    res.texts = out;
    res.pasted = {left, top, right, bottom};
    return res;
}

QString pasteMessage(const PasteResult& r, bool english) {
    if (r.tooLong)
        return english ? QStringLiteral("The clipboard holds too much text to paste")
                       : QStringLiteral("В буфере обмена слишком много текста для вставки");
    if (r.empty)
        return english ? QStringLiteral("The clipboard holds nothing to paste")
                       : QStringLiteral("В буфере обмена нечего вставить");
    if (english)
        return QStringLiteral("Nothing was pasted: row %1, column %2 of the copied cells ('%3') is not a valid number")
            .arg(r.badRow + 1)
            .arg(r.badColumn + 1)
            .arg(r.badText);
    return QStringLiteral("Ничего не вставлено: строка %1, столбец %2 копии («%3») — не число")
        .arg(r.badRow + 1)
        .arg(r.badColumn + 1)
        .arg(r.badText);
}

} // namespace blockops

namespace blockops {

bool cellsDiffer(const QString& cell, const QString& file) {
    double a = 0, b = 0;
    if (parseCell(cell, &a) && parseCell(file, &b)) return a != b;
    return cell.trimmed() != file.trimmed();
}

QString differenceHint(const QString& cell, const QString& file, bool english) {
    double a = 0, b = 0;
    QString diff = QStringLiteral("—");
    if (parseCell(cell, &a) && parseCell(file, &b)) {
        double d = std::round((a - b) * 1e6) / 1e6;
        if (d == 0) d = 0;
        diff = (d > 0 ? QStringLiteral("+") : QString()) + formatGeneral(d);
    }
    if (english) return QStringLiteral("In the file: %1\nDifference: %2").arg(file, diff);
    return QStringLiteral("В файле: %1\nРазница: %2").arg(file, diff);
}

QString compareStatus(int differing, const QString& fileName, bool points, bool english) {
    if (english)
        return QStringLiteral("%1 %2 differ from %3")
            .arg(differing)
            .arg(points ? QStringLiteral("points") : QStringLiteral("cells"), fileName);
    return QStringLiteral("Отличаются от %1: %2 %3")
        .arg(fileName)
        .arg(differing)
        .arg(points ? QStringLiteral("точ.") : QStringLiteral("яч."));
}

} // namespace blockops
