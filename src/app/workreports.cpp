#include "app/workreports.h"

#include "common/datetime.h"
#include "common/messages.h"
#include "common/savefile.h"
#include "common/userfiles.h"
#include "history/history.h"
#include "link/operationcontext.h"
#include "link/tbcomport.h"
#include "surface/surfaceview.h"
#include "tables/table3dpanel.h"
#include "telemetry/chartmenu.h"
#include "telemetry/chartpanel.h"
#include "telemetry/chartpicture.h"
#include "telemetry/chartpictures.h"
#include "telemetry/liverecorder.h"
#include "telemetry/recordfile.h"

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <memory>

namespace {

QByteArray pngBytes(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") ? png : QByteArray();
}

} // namespace

WorkReports::WorkReports(const ReportParts& parts)
    : QObject(parts.window), m_parts(parts), m_runStart(QDateTime::currentDateTime()) {
    const ReportParts* w = &m_parts;
    setObjectName(QStringLiteral("Reports"));
    // The chart's context menu, which others add their actions to, and its pictures.
    m_chartMenu = new ChartMenu(w->chart->ui.Chart1);
    m_chartPictures = new ChartPictures(w->ctx, m_chartMenu, &w->recorder->chart(), this);

    // --- The surface picture on the table grid's context menu: this action only; the
    // grid's editing and statistics actions are the table panel's own.
    QTableWidget* grid = w->tables->ui.sgrid_Table_3D;
    auto* separator = new QAction(grid);
    separator->setSeparator(true);
    grid->addAction(separator);
    actSaveSurfaceImage = new QAction(QStringLiteral("Сохранить изображение поверхности…"), grid);
    actSaveSurfaceImage->setObjectName(QStringLiteral("actSaveSurfaceImage"));
    grid->addAction(actSaveSurfaceImage);
    connect(actSaveSurfaceImage, &QAction::triggered, this, &WorkReports::saveSurfaceImage);
    // --- end of the table grid's menu

    // The report: shortcuts anywhere in the window, and the context menu of the module menu
    // (its button and its pop-up), which keeps the pop-up as the window shows it.
    actWorkReport = new QAction(QStringLiteral("Отчёт о работе…"), w->window);
    actWorkReport->setObjectName(QStringLiteral("actWorkReport"));
    actWorkReport->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    actPrintReport = new QAction(QStringLiteral("Печать отчёта…"), w->window);
    actPrintReport->setObjectName(QStringLiteral("actPrintReport"));
    actPrintReport->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    for (QAction* a : {actWorkReport, actPrintReport}) a->setShortcutContext(Qt::WindowShortcut);
    w->window->addActions({actWorkReport, actPrintReport});
    for (QWidget* menu : {w->moduleButton, w->moduleMenu}) {
        menu->setContextMenuPolicy(Qt::ActionsContextMenu);
        menu->addActions({actWorkReport, actPrintReport});
    }
    connect(actWorkReport, &QAction::triggered, this, &WorkReports::workReport);
    connect(actPrintReport, &QAction::triggered, this, &WorkReports::printReport);
    defaultDialogs();
}

void WorkReports::defaultDialogs() {
    QWidget* w = m_parts.window;
    m_chartPictures->askFile = [w](const QString& caption, const QStringList& filters, int* chosen) {
        QString selected;
        const QString name = QFileDialog::getSaveFileName(w, caption, QString(), filters.join(QStringLiteral(";;")),
                                                          &selected);
        if (name.isEmpty()) return QString();
        *chosen = int(filters.indexOf(selected));
        const chartpicture::Target t = chartpicture::target(name, chartpicture::choiceOf(*chosen).format);
        // The dialog asked only about the name as typed.
        if (t.path != name && QFile::exists(t.path) &&
            QMessageBox::question(w, QString(), userfiles::overwriteQuestion(t.path, msgs().english())) !=
                QMessageBox::Yes)
            return QString();
        return t.path;
    };
    askPeriod = [w](const QStringList& items, std::function<void(int)> done) {
        const bool en = msgs().english();
        auto* d = new QDialog(w);
        d->setObjectName(QStringLiteral("ReportPeriod"));
        d->setAttribute(Qt::WA_DeleteOnClose);
        d->setWindowTitle(en ? QStringLiteral("Work report") : QStringLiteral("Отчёт о работе"));
        auto* v = new QVBoxLayout(d);
        v->addWidget(new QLabel(en ? QStringLiteral("The report covers the work:")
                                   : QStringLiteral("Отчёт охватывает работу:"), d));
        auto* choice = new QComboBox(d);
        choice->setObjectName(QStringLiteral("cb_ReportPeriod"));
        choice->addItems(items);
        v->addWidget(choice);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, d);
        v->addWidget(buttons);
        connect(buttons, &QDialogButtonBox::accepted, d, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, d, &QDialog::reject);
        connect(d, &QDialog::finished, d, [done, choice](int result) {
            done(result == QDialog::Accepted ? choice->currentIndex() : -1);
        });
        d->open();
    };
    askPrinter = [w](std::function<void(QPrinter*)> print) {
        auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
        printer->setPageSize(QPageSize(QPageSize::A4));
        auto* d = new QPrintDialog(printer.get(), w);
        d->setAttribute(Qt::WA_DeleteOnClose);
        connect(d, &QDialog::accepted, d, [printer, print] { print(printer.get()); });
        d->open();
    };
}

QString WorkReports::reportedModule() const {
    if (!m_parts.ctx->module.identifier.isEmpty()) return m_parts.ctx->module.identifier;
    // None connected in this run: the module whose copy the history holds last.
    QString last;
    QDateTime newest;
    const QDir root(QDir(QDir::currentPath()).filePath(QStringLiteral("history")));
    for (const QString& folder : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QList<history::Entry> copies = history::list(QDir::currentPath(), folder);
        if (!copies.isEmpty() && (!newest.isValid() || copies.last().when > newest)) {
            newest = copies.last().when;
            last = folder;
        }
    }
    return last;
}

bool WorkReports::moduleKnown() const {
    if (!reportedModule().isEmpty()) return true;
    if (m_parts.ctx->error)
        m_parts.ctx->error(msgs().english() ? QStringLiteral("No module has been connected yet: there is no work to report.")
                                        : QStringLiteral("Модуль ещё не подключался: отчёт не о чем составить."));
    return false;
}

void WorkReports::withPeriod(const std::function<void(const QDateTime&)>& then) {
    const bool en = msgs().english();
    const bool thisRun = !m_parts.ctx->module.identifier.isEmpty();
    QDateTime start = m_runStart;
    start.setTime(QTime(start.time().hour(), start.time().minute(), start.time().second()));
    QList<QDateTime> starts;
    QStringList items;
    // This run's work is offered only for the module connected in it.
    if (thisRun) {
        starts << m_runStart;
        items << (en ? QStringLiteral("This run, since %1") : QStringLiteral("Этот запуск программы, с %1"))
                     .arg(dateTimeText(m_runStart));
    }
    for (const QDateTime& day : report::workDays(history::list(QDir::currentPath(), reportedModule()))) {
        if (day >= start) continue;
        starts << day;
        items << (en ? QStringLiteral("Since %1") : QStringLiteral("С %1")).arg(dateTimeText(day));
    }
    if (starts.isEmpty()) starts << m_runStart;
    if (starts.size() == 1 || !askPeriod) {
        then(starts.first());
        return;
    }
    askPeriod(items, [starts, then](int chosen) {
        if (chosen >= 0 && chosen < starts.size()) then(starts.at(chosen));
    });
}

report::Document WorkReports::document(const QDateTime& since) const {
    const OperationContext& ctx = *m_parts.ctx;
    report::Document d;
    d.english = msgs().english();
    d.made = QDateTime::currentDateTime();
    const QString id = reportedModule();
    if (id == ctx.module.identifier) {
        d.module = {ctx.module.model, id, m_parts.configurationCode ? m_parts.configurationCode() : QString(), m_parts.port->Port()};
    } else {
        // A module of an earlier run: what its identifier tells (the model is its first five
        // characters); its sensors and port are not known now.
        d.module = {id.left(5), id, QString(), QString()};
    }
    d.content = report::choose(history::list(QDir::currentPath(), id), since);

    const Table3DPanel* tables = m_parts.tables;
    d.speed = tables->speedBreakpoints();
    d.load = tables->loadBreakpoints();
    d.loadIsMafVoltage = tables->loadAxisIsMafVoltage();
    SurfaceView* view = tables->ui.Panel_Space3D;
    d.surface = [view](TableKind kind, const QStringList& cells, QSize pixels) {
        const SurfaceFamily family = kind == TableKind::Lambda ? SurfaceFamily::Lambda : SurfaceFamily::Maf;
        return view->renderPicture(kind, cells, view->orient(family), pixels);
    };

    // The archive holds the recording; the chart may hold an earlier one before it.
    LiveRecorder* rec = m_parts.recorder;
    const SampleTable& a = rec->Arhiv;
    const int samples = std::min(rec->Row_Arhiv - 1, a.samples());
    if (samples > 0) {
        d.recording.samples = samples;
        d.recording.firstTime = a.column(0).at(0);
        d.recording.lastTime = a.column(0).at(samples - 1);
        d.recording.l1 = analysis::binRows(d.speed, d.load, analysis::loadColumn(d.loadIsMafVoltage),
                                           archive::column::L1, 1, samples,
                                           [&a](int row, int col) { return a.column(col).at(row - 1); });
        d.chart = [rec, samples](QSize pixels) {
            ParamChart& chart = rec->chart();
            const int n = chart.sampleCount();
            const int first = std::max(0, n - samples);
            // Drawn at half the size and twice the scale, so its texts stay readable on paper.
            return chartpicture::image(chart, pixels / 2, std::make_pair(double(first), double(std::max(first + 1, n - 1))),
                                       2.0);
        };
    }
    return d;
}

void WorkReports::saveSurfaceImage() {
    const bool en = msgs().english();
    SurfaceView* view = m_parts.tables->ui.Panel_Space3D;
    const qreal ratio = view->devicePixelRatioF();
    QSize pixels(qRound(view->width() * ratio), qRound(view->height() * ratio));
    if (pixels.isEmpty()) pixels = report::SurfacePixels;
    QString name = m_parts.ctx->saveFileName(en ? QStringLiteral("Save surface image")
                                            : QStringLiteral("Сохранить изображение поверхности"),
                                         QStringLiteral("PNG (*.png)"));
    if (name.isEmpty()) return;
    if (!name.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) name += QStringLiteral(".png");
    const QByteArray png = pngBytes(view->shownPicture(pixels));
    QString reason;
    if (png.isEmpty())
        reason = en ? QStringLiteral("the surface cannot be drawn without OpenGL")
                    : QStringLiteral("без OpenGL поверхность не рисуется");
    else if (saveWholeFile(name, png, &reason))
        return;
    m_parts.ctx->error(chartpicture::saveError(name, reason, en));
}

void WorkReports::workReport() {
    if (!moduleKnown()) return;
    withPeriod([this](const QDateTime& since) {
        const bool en = msgs().english();
        QString name = m_parts.ctx->saveFileName(en ? QStringLiteral("Work report") : QStringLiteral("Отчёт о работе"),
                                             QStringLiteral("PDF (*.pdf)"));
        if (name.isEmpty()) return;
        if (!name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) name += QStringLiteral(".pdf");
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        const QByteArray pdf = report::pdf(document(since));
        QGuiApplication::restoreOverrideCursor();
        QString reason;
        if (pdf.isEmpty())
            reason = en ? QStringLiteral("the report could not be drawn") : QStringLiteral("отчёт не построен");
        else if (saveWholeFile(name, pdf, &reason))
            return;
        const QString shown = QDir::toNativeSeparators(name);
        m_parts.ctx->error(en ? QStringLiteral("The report cannot be saved to '%1': %2").arg(shown, reason)
                          : QStringLiteral("Не удалось сохранить отчёт «%1»: %2").arg(shown, reason));
    });
}

void WorkReports::printReport() {
    if (!moduleKnown() || !askPrinter) return;
    withPeriod([this](const QDateTime& since) {
        askPrinter([this, since](QPrinter* printer) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            const int pages = report::paint(printer, document(since));
            QGuiApplication::restoreOverrideCursor();
            if (pages == 0 && m_parts.ctx->error)
                m_parts.ctx->error(msgs().english() ? QStringLiteral("The report cannot be printed.")
                                                : QStringLiteral("Не удалось напечатать отчёт."));
        });
    });
}
