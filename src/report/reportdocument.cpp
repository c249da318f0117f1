#include "report/reportdocument.h"

#include "common/numtext.h"
#include "report/reportsettings.h"
#include "report/reporttexts.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>

#include <algorithm>
#include <map>

namespace report {

namespace {

const QColor kMarked(255, 226, 120);
const QColor kHeadFill(232, 236, 242);
const QColor kLines(150, 150, 150);
const QColor kDim(120, 120, 120);

QFont font(double points, bool bold = false) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// An 8 x 8 grid with its headings; marked cells are filled and bold.
struct Grid {
    QString caption;
    QStringList columnHeads, rowHeads, cells;
    QList<bool> marked;
    bool dimUnmarked = false;
};

// The pictures are rendered once, before the two passes over the pages.
struct Pictures {
    std::map<int, QImage> surfaces; // by kind
    QImage chart;
};

// The pages: a running position, a new page (with its header and footer) when a block does
// not fit. The first pass only measures (no painter) to count the pages; the second paints.
class Flow {
  public:
    Flow(QPaintDevice* device, QPainter* painter, const Document& doc, int pages)
        : m_dev(device), m_p(painter), m_doc(doc), m_t(texts(doc.english)), m_pages(pages) {
        m_left = mm(15);
        m_right = device->width() - mm(15);
        m_top = mm(22);
        m_bottom = device->height() - mm(16);
    }

    double mm(double v) const { return v * m_dev->logicalDpiX() / 25.4; }
    double width() const { return m_right - m_left; }
    double left() const { return m_left; }
    int pages() const { return m_page; }

    void start() { openPage(); }

    void need(double h) {
        if (m_y + h > m_bottom && m_y > m_top + 1) newPage();
    }
    void gap(double millimetres) { m_y += mm(millimetres); }

    double textHeight(const QFont& f, const QString& text, double w) const {
        const QFontMetricsF fm(f, m_dev);
        return fm.boundingRect(QRectF(0, 0, w, 1e6), Qt::TextWordWrap, text).height();
    }

    void paragraph(const QString& text, const QFont& f = font(9.5), const QColor& colour = Qt::black,
                   double indent = 0) {
        const double w = width() - mm(indent);
        const double h = textHeight(f, text, w);
        need(h);
        if (m_p) {
            m_p->setFont(f);
            m_p->setPen(colour);
            m_p->drawText(QRectF(m_left + mm(indent), m_y, w, h), Qt::TextWordWrap, text);
        }
        m_y += h + mm(1);
    }

    // A heading stays with at least `keep` millimetres of what follows it.
    void heading(const QString& text, double points = 13, double keep = 40) {
        const QFont f = font(points, true);
        const double h = textHeight(f, text, width());
        gap(3);
        need(h + mm(keep));
        paragraph(text, f);
        gap(1);
    }

    // Rows of texts in columns of the given shares of the width; header repeated on a new page.
    void table(const QStringList& header, const QList<QStringList>& rows, const QList<double>& shares,
               const QList<bool>& marked) {
        const QFont f = font(8.5), bold = font(8.5, true);
        auto rowHeight = [&](const QStringList& cells, const QFont& rf) {
            double h = 0;
            for (int i = 0; i < cells.size(); ++i)
                h = std::max(h, textHeight(rf, cells.at(i), width() * shares.value(i) - mm(2)));
            return h + mm(1.6);
        };
        auto drawRow = [&](const QStringList& cells, const QFont& rf, const QColor& fill, double h) {
            if (!m_p) return;
            double x = m_left;
            m_p->setFont(rf);
            for (int i = 0; i < cells.size(); ++i) {
                const QRectF cell(x, m_y, width() * shares.value(i), h);
                if (fill.isValid()) m_p->fillRect(cell, fill);
                m_p->setPen(QPen(kLines, 0));
                m_p->drawRect(cell);
                m_p->setPen(Qt::black);
                m_p->drawText(cell.adjusted(mm(1), mm(0.8), -mm(1), 0), Qt::TextWordWrap, cells.at(i));
                x += cell.width();
            }
        };
        const double hh = rowHeight(header, bold);
        need(hh + rowHeight(rows.value(0), f));
        drawRow(header, bold, kHeadFill, hh);
        m_y += hh;
        for (int r = 0; r < rows.size(); ++r) {
            const bool mark = marked.value(r);
            const double h = rowHeight(rows.at(r), mark ? bold : f);
            if (m_y + h > m_bottom) {
                newPage();
                drawRow(header, bold, kHeadFill, hh);
                m_y += hh;
            }
            drawRow(rows.at(r), mark ? bold : f, mark ? kMarked : QColor(), h);
            m_y += h;
        }
        gap(2);
    }

    double gridHeight(const Grid& g) const {
        return textHeight(font(8.5, true), g.caption, width()) + mm(1) + 9 * cellHeight(g);
    }
    double cellHeight(const Grid& g) const {
        double h = mm(5);
        for (const QString& c : g.cells) h = std::max(h, textHeight(font(7), c, 1e6) + mm(1.2));
        return h;
    }

    // A note in small grey type kept on the page of the grids that follow it.
    void gridsWithNote(const QString& note, const QList<Grid>& list) {
        double h = 0;
        for (const Grid& g : list) h = std::max(h, gridHeight(g));
        need(textHeight(font(8.5), note, width()) + mm(1) + h);
        paragraph(note, font(8.5), kDim);
        grids(list);
    }

    // Grids side by side, in equal widths.
    void grids(const QList<Grid>& list) {
        if (list.isEmpty()) return;
        double h = 0;
        for (const Grid& g : list) h = std::max(h, gridHeight(g));
        need(h);
        const double gapW = mm(6);
        const double w = (width() - gapW * (list.size() - 1)) / list.size();
        for (int i = 0; i < list.size(); ++i) drawGrid(list.at(i), m_left + i * (w + gapW), w);
        m_y += h + mm(2);
    }

    void picture(const QImage& image, double widthMm) {
        if (image.isNull()) return;
        const double w = std::min(mm(widthMm), width());
        const double h = w * image.height() / std::max(1, image.width());
        need(h);
        if (m_p) m_p->drawImage(QRectF(m_left + (width() - w) / 2, m_y, w, h), image);
        m_y += h + mm(2);
    }

    // Two columns of short lines.
    void columns(const QStringList& lines) {
        const QFont f = font(8.5);
        const double w = width() / 2;
        for (int i = 0; i < lines.size(); i += 2) {
            const double h = std::max(textHeight(f, lines.at(i), w - mm(2)),
                                      i + 1 < lines.size() ? textHeight(f, lines.at(i + 1), w - mm(2)) : 0.0);
            need(h);
            if (m_p) {
                m_p->setFont(f);
                m_p->setPen(Qt::black);
                m_p->drawText(QRectF(m_left, m_y, w - mm(2), h), Qt::TextWordWrap, lines.at(i));
                if (i + 1 < lines.size())
                    m_p->drawText(QRectF(m_left + w, m_y, w - mm(2), h), Qt::TextWordWrap, lines.at(i + 1));
            }
            m_y += h + mm(0.6);
        }
        gap(1);
    }

    // A curve before and after the work, drawn over its 64 points and 0..5 V.
    void curve(const QList<int>* before, const QList<int>* after) {
        const double h = mm(58);
        need(h);
        if (m_p) drawCurve(QRectF(m_left, m_y, width(), h), before, after);
        m_y += h + mm(2);
    }

  private:
    void openPage() {
        ++m_page;
        m_y = m_top;
        if (!m_p) return;
        const QFont f = font(8);
        m_p->setFont(f);
        m_p->setPen(kDim);
        const double lineY = mm(16);
        const QRectF head(m_left, mm(10), width(), lineY - mm(10));
        m_p->drawText(head, Qt::AlignLeft | Qt::AlignBottom,
                      m_t.title + QStringLiteral(" · ") + m_doc.module.identifier);
        m_p->drawText(head, Qt::AlignRight | Qt::AlignBottom, when(m_doc.made));
        m_p->setPen(QPen(kLines, mm(0.2)));
        m_p->drawLine(QPointF(m_left, lineY + mm(1)), QPointF(m_right, lineY + mm(1)));
        m_p->setPen(kDim);
        m_p->drawText(QRectF(m_left, m_bottom + mm(4), width(), mm(6)), Qt::AlignHCenter | Qt::AlignTop,
                      m_t.page.arg(m_page).arg(m_pages));
    }

    void newPage() {
        if (m_p) static_cast<QPagedPaintDevice*>(m_dev)->newPage();
        openPage();
    }

    void drawGrid(const Grid& g, double x, double w) {
        if (!m_p) return;
        const QFont capF = font(8.5, true), headF = font(7, true), cellF = font(7), markF = font(7, true);
        const double capH = textHeight(capF, g.caption, w) + mm(1);
        m_p->setFont(capF);
        m_p->setPen(Qt::black);
        m_p->drawText(QRectF(x, m_y, w, capH), Qt::TextWordWrap, g.caption);
        const double ch = cellHeight(g);
        const double headW = w * 0.12, cw = (w - headW) / 8;
        const double top = m_y + capH;
        auto cellRect = [&](int col, int row) {
            return QRectF(col == 0 ? x : x + headW + (col - 1) * cw, top + row * ch, col == 0 ? headW : cw, ch);
        };
        for (int row = 0; row <= 8; ++row) {
            for (int col = 0; col <= 8; ++col) {
                const QRectF r = cellRect(col, row);
                QString text;
                bool mark = false;
                if (row == 0 && col > 0) text = g.columnHeads.value(col - 1);
                if (col == 0 && row > 0) text = g.rowHeads.value(row - 1);
                if (row > 0 && col > 0) {
                    const int i = (row - 1) * 8 + col - 1;
                    text = g.cells.value(i);
                    mark = g.marked.value(i);
                }
                const bool head = row == 0 || col == 0;
                if (head) m_p->fillRect(r, kHeadFill);
                if (mark) m_p->fillRect(r, kMarked);
                m_p->setPen(QPen(kLines, 0));
                m_p->drawRect(r);
                m_p->setFont(head ? headF : mark ? markF : cellF);
                m_p->setPen(!head && !mark && g.dimUnmarked ? kDim : QColor(Qt::black));
                m_p->drawText(r, Qt::AlignCenter, text);
            }
        }
    }

    void drawCurve(const QRectF& box, const QList<int>* before, const QList<int>* after) {
        const QFont f = font(7);
        const QFontMetricsF fm(f, m_dev);
        const QRectF plot = box.adjusted(mm(10), mm(2), -mm(2), -fm.height() - mm(8));
        m_p->setFont(f);
        auto at = [&](int point, double volts) {
            return QPointF(plot.left() + (point - 1) * plot.width() / 63.0,
                           plot.bottom() - std::clamp(volts, 0.0, 5.0) / 5.0 * plot.height());
        };
        for (int v = 0; v <= 5; ++v) {
            const QPointF l = at(1, v);
            m_p->setPen(QPen(QColor(220, 220, 220), 0));
            m_p->drawLine(l, QPointF(plot.right(), l.y()));
            m_p->setPen(kDim);
            m_p->drawText(QRectF(box.left(), l.y() - fm.height() / 2, mm(9), fm.height()),
                          Qt::AlignRight | Qt::AlignVCenter, QString::number(v));
        }
        for (int pt : {1, 8, 16, 24, 32, 40, 48, 56, 64}) {
            const QPointF b = at(pt, 0);
            m_p->drawText(QRectF(b.x() - mm(5), plot.bottom() + mm(1), mm(10), fm.height()), Qt::AlignCenter,
                          QString::number(pt));
        }
        m_p->setPen(QPen(kLines, 0));
        m_p->drawRect(plot);
        auto line = [&](const QList<int>& bytes, const QPen& pen) {
            QPainterPath path;
            for (int i = 0; i < bytes.size() && i < Cells; ++i) {
                const QPointF p = at(i + 1, bytes.at(i) / 48.0);
                i == 0 ? path.moveTo(p) : path.lineTo(p);
            }
            m_p->setPen(pen);
            m_p->drawPath(path);
        };
        QPen was(QColor(140, 140, 140), mm(0.5), Qt::DashLine);
        QPen now(QColor(0, 90, 200), mm(0.5));
        if (before) line(*before, was);
        if (after) line(*after, now);
        // The legend under the axis.
        double x = plot.left();
        const double y = plot.bottom() + fm.height() + mm(3);
        auto legend = [&](const QPen& pen, const QString& text) {
            m_p->setPen(pen);
            m_p->drawLine(QPointF(x, y + fm.height() / 2), QPointF(x + mm(8), y + fm.height() / 2));
            m_p->setPen(Qt::black);
            m_p->drawText(QPointF(x + mm(10), y + fm.ascent()), text);
            x += mm(12) + fm.horizontalAdvance(text) + mm(6);
        };
        if (before) legend(was, m_t.asRead);
        if (after) legend(now, m_t.asWritten);
        m_p->drawText(QPointF(x, y + fm.ascent()), m_t.pointsHeading + QStringLiteral(" 1–64, ") + m_t.curveVolts);
    }

    QPaintDevice* m_dev;
    QPainter* m_p;
    const Document& m_doc;
    const Texts& m_t;
    int m_pages;
    int m_page = 0;
    double m_left = 0, m_right = 0, m_top = 0, m_bottom = 0, m_y = 0;
};

QStringList cellTexts(TableKind kind, const QList<int>& bytes) {
    QStringList out;
    for (int i = 0; i < Cells; ++i) out << valueText(kind, bytes.value(i, -1));
    return out;
}

QStringList axisTexts(const analysis::Axis& axis) {
    QStringList out;
    for (double v : axis) out << formatGeneral(v);
    return out;
}

Grid gridFor(const Document& doc, TableKind kind, const QString& caption) {
    Grid g;
    g.caption = caption;
    if (isCurve(kind)) {
        for (int c = 1; c <= 8; ++c) g.columnHeads << QStringLiteral("+") + QString::number(c - 1);
        for (int r = 0; r < 8; ++r) g.rowHeads << QString::number(r * 8 + 1);
    } else {
        g.columnHeads = axisTexts(doc.speed);
        g.rowHeads = axisTexts(doc.load);
    }
    return g;
}

QString sideCaption(const Texts& t, const Side& side, bool written) {
    if (side.earlier) return t.earlierCopy.arg(when(side.copy.entry.when));
    return (written ? t.asWritten : t.asRead) + QStringLiteral(", ") + when(side.copy.entry.when);
}

void modulePart(Flow& f, const Document& doc, const Texts& t) {
    f.paragraph(t.title, font(18, true));
    f.heading(t.moduleHeading, 13, 20);
    QString work = when(doc.content.first);
    if (doc.content.last.isValid() && doc.content.last != doc.content.first)
        work += QStringLiteral(" – ") + when(doc.content.last);
    auto orDash = [&](const QString& s) { return s.isEmpty() ? t.unknown : s; };
    const QList<QStringList> rows{{t.model, orDash(doc.module.model)},
                                  {t.identifier, orDash(doc.module.identifier)},
                                  {t.sensorCode, orDash(doc.module.sensorCode)},
                                  {t.work, work},
                                  {t.port, orDash(doc.module.port)},
                                  {t.since, when(doc.content.since)},
                                  {t.made, when(doc.made)}};
    for (const QStringList& r : rows) f.paragraph(r.at(0) + QStringLiteral(": ") + r.at(1));
}

void settingsPart(Flow& f, const Part& p, const QList<SettingRow>& rows, const Texts& t) {
    f.heading(t.settingsHeading);
    if (!p.before.present) f.paragraph(t.settingsNotRead);
    const QString beforeHead = p.before.earlier ? t.earlierCopy.arg(when(p.before.copy.entry.when))
                               : p.before.present ? t.settingsRead + QStringLiteral(", ") + when(p.before.copy.entry.when)
                                                  : t.settingsRead;
    const QString afterHead = t.now + QStringLiteral(", ") + when(p.after.copy.entry.when);
    QList<QStringList> cells;
    QList<bool> marked;
    for (const SettingRow& r : rows) {
        cells << QStringList{r.name, r.before, r.after, r.changed ? t.changed : QString()};
        marked << r.changed;
    }
    f.table({t.settingColumn, beforeHead, afterHead, QString()}, cells, {0.46, 0.2, 0.2, 0.14}, marked);
}

void tablePart(Flow& f, const Document& doc, const Part& p, const Pictures& pics, const Texts& t) {
    f.heading(kindTitle(p.kind, doc.english));
    const bool both = p.before.present && p.after.present;
    QList<Grid> sides;
    if (p.before.present) {
        Grid g = gridFor(doc, p.kind, sideCaption(t, p.before, false));
        g.cells = cellTexts(p.kind, p.before.copy.bytes);
        sides << g;
    }
    if (p.after.present) {
        Grid g = gridFor(doc, p.kind, sideCaption(t, p.after, true));
        g.cells = cellTexts(p.kind, p.after.copy.bytes);
        sides << g;
    }
    if (!p.after.present) f.paragraph(t.notWritten, font(9.5), kDim);
    else if (!p.before.present) f.paragraph(t.notReadBefore, font(9.5), kDim);
    if (isCurve(p.kind))
        f.grids(sides);
    else
        f.gridsWithNote(t.axes.arg(doc.loadIsMafVoltage ? t.loadVolts : t.loadMs), sides);
    if (both) {
        Grid diff = gridFor(doc, p.kind, t.difference);
        diff.cells = cellTexts(p.kind, p.after.copy.bytes);
        diff.dimUnmarked = true;
        for (int i = 0; i < Cells; ++i) diff.marked << false;
        for (const Change& c : p.changes) {
            diff.cells[c.index] = changeCell(p.kind, c);
            diff.marked[c.index] = true;
        }
        if (!p.changes.isEmpty()) f.grids({diff});
        f.paragraph(t.changesHeading + QStringLiteral(": ") +
                        (p.changes.isEmpty() ? t.noChanges : QString::number(p.changes.size())),
                    font(9.5, true));
        QStringList lines;
        for (const Change& c : p.changes) lines << changeText(p.kind, c, doc.english);
        f.columns(lines);
    }
    if (isCurve(p.kind)) {
        f.curve(p.before.present ? &p.before.copy.bytes : nullptr, p.after.present ? &p.after.copy.bytes : nullptr);
    } else {
        const auto it = pics.surfaces.find(int(p.kind));
        if (it != pics.surfaces.end()) f.picture(it->second, 125);
    }
}

void recordingPart(Flow& f, const Document& doc, const Pictures& pics, const Texts& t) {
    const RecordingInfo& r = doc.recording;
    f.heading(t.recordingHeading, 13, 100);
    f.paragraph(t.recordingFacts.arg(r.samples).arg(formatGeneral(r.firstTime), formatGeneral(r.lastTime)));
    f.picture(pics.chart, 180);
    if (!r.l1) return;
    Grid g = gridFor(doc, TableKind::Maf, t.statisticsHeading);
    for (int row = 1; row <= 8; ++row)
        for (int col = 1; col <= 8; ++col) {
            const analysis::CellStats& s = r.l1->cell(col, row);
            g.cells << (s.count ? analysis::meanText(s.mean()) + QStringLiteral(" (") + QString::number(s.count) +
                                      QLatin1Char(')')
                                : QString());
        }
    f.gridsWithNote(t.axes.arg(doc.loadIsMafVoltage ? t.loadVolts : t.loadMs), {g});
}

int layout(QPagedPaintDevice* device, QPainter* painter, const Document& doc, const Pictures& pics, int pages) {
    const Texts& t = texts(doc.english);
    Flow f(device, painter, doc, pages);
    f.start();
    modulePart(f, doc, t);

    const Part* settings = doc.content.part(TableKind::Settings);
    QList<SettingRow> rows;
    int changedSettings = 0;
    if (settings) {
        rows = settingRows(settings->before.present ? &settings->before.copy.registers : nullptr,
                           settings->after.copy.registers, doc.english);
        changedSettings = int(std::count_if(rows.begin(), rows.end(), [](const SettingRow& r) { return r.changed; }));
    }
    f.heading(t.summaryHeading, 13, 15);
    for (const QString& line : summaryLines(doc.content, changedSettings, doc.english)) f.paragraph(line);
    if (!doc.content.damaged.isEmpty()) {
        f.heading(t.damagedHeading, 13, 15);
        for (const Damaged& d : doc.content.damaged) f.paragraph(damagedText(d, doc.english), font(9.5), Qt::darkRed);
    }
    if (settings) settingsPart(f, *settings, rows, t);
    for (const Part& p : doc.content.parts)
        if (p.kind != TableKind::Settings) tablePart(f, doc, p, pics, t);
    if (doc.recording.samples > 0) recordingPart(f, doc, pics, t);
    return f.pages();
}

Pictures renderPictures(const Document& doc) {
    Pictures pics;
    for (const Part& p : doc.content.parts) {
        if (p.kind == TableKind::Settings || isCurve(p.kind) || !doc.surface) continue;
        const Side& side = p.after.present ? p.after : p.before;
        if (!side.present) continue;
        const QImage img = doc.surface(p.kind, cellTexts(p.kind, side.copy.bytes), SurfacePixels);
        if (!img.isNull()) pics.surfaces[int(p.kind)] = img;
    }
    if (doc.recording.samples > 0 && doc.chart) pics.chart = doc.chart(ChartPixels);
    return pics;
}

} // namespace

int paint(QPagedPaintDevice* device, const Document& doc) {
    const Pictures pics = renderPictures(doc);
    const int pages = layout(device, nullptr, doc, pics, 0);
    QPainter painter(device);
    if (!painter.isActive()) return 0;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    layout(device, &painter, doc, pics, pages);
    return pages;
}

QByteArray pdf(const Document& doc) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        writer.setTitle(texts(doc.english).title + QStringLiteral(" ") + doc.module.identifier);
        writer.setCreator(QStringLiteral("moduletool"));
        if (paint(&writer, doc) == 0) return {};
    }
    return buffer.data();
}

} // namespace report
