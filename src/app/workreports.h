#pragma once
// Pictures and the work report, wired into the window: the chart's context menu with its
// picture actions, the surface picture on the table grid's menu, and the work report
// (actWorkReport, actPrintReport: on the module menu's context menu and as shortcuts). The
// report is made from the connected (or last connected) module's history folder and the
// archive; its pictures come from the surface view's and the chart's own rendering.
//
// The dialogs are hooks, so that tests answer them: the period (when the history holds
// earlier days), the file name (the operation context's save dialog), the printer. With no
// module connected in this run, the report is of the module the history saw last, from one
// of its days.

#include "report/reportdocument.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>

#include <functional>

class ChartMenu;
class ChartPictures;
class ChartPanel;
class LiveRecorder;
class QAction;
class QPrinter;
class QWidget;
class TBComPort;
class Table3DPanel;
struct OperationContext;

// The parts of the window the pictures and the report use, so that they need not know the
// window itself.
struct ReportParts {
    QWidget* window = nullptr;        // the parent of the dialogs and of the shortcuts
    OperationContext* ctx = nullptr;  // the module, the save dialog and the error box
    // The code of the configuration in force (made after the reports, so asked when needed).
    std::function<QString()> configurationCode;
    const TBComPort* port = nullptr;
    LiveRecorder* recorder = nullptr;
    ChartPanel* chart = nullptr;
    Table3DPanel* tables = nullptr;
    // The module menu's button and its pop-up, which carry the report in their context menu.
    QWidget* moduleButton = nullptr;
    QWidget* moduleMenu = nullptr;
};

class WorkReports : public QObject {
    Q_OBJECT
public:
    explicit WorkReports(const ReportParts& parts);

    ChartMenu* chartMenu() const { return m_chartMenu; }
    ChartPictures* chartPictures() const { return m_chartPictures; }
    QAction* actSaveSurfaceImage = nullptr;
    QAction* actWorkReport = nullptr;
    QAction* actPrintReport = nullptr;

    // Which work the report covers: items are the choices shown (this run first, when the
    // module was connected in it, then the days of the history, newest first); done(index)
    // answers, done(-1) cancels. Asked only when there is more than one choice.
    std::function<void(const QStringList& items, std::function<void(int)> done)> askPeriod;
    // The printer: print(printer) prints on it, once the user chose it.
    std::function<void(std::function<void(QPrinter*)> print)> askPrinter;

    // When this run began: the report's default start.
    QDateTime runStart() const { return m_runStart; }
    void setRunStart(const QDateTime& start) { m_runStart = start; }

    // The report of the work since `since` as the window would write it now.
    report::Document document(const QDateTime& since) const;

    void saveSurfaceImage();
    void workReport();
    void printReport();

private:
    // The module of the report: the one connected in this run, else the one whose copy the
    // history holds last (a report of earlier work made without the car); empty for none.
    QString reportedModule() const;
    // Asks for the period when there is a choice, then runs then(since).
    void withPeriod(const std::function<void(const QDateTime&)>& then);
    bool moduleKnown() const;
    void defaultDialogs();

    ReportParts m_parts;
    ChartMenu* m_chartMenu;
    ChartPictures* m_chartPictures;
    QDateTime m_runStart;
};
