#pragma once
// A second recording laid over Chart1 for comparison: "Сравнить с записью…"
// (actCompareRecord) opens a record file in the record open dialog and, when every line of
// it reads, draws it beside the main recording (ReferenceView); "Убрать сравнение"
// (actCompareRemove, also the bar's atbCompareRemove) takes it away. A file that fails
// leaves everything as it was, the comparison already shown included.
//
// While a comparison is shown, a small bar over the bottom right corner of Chart1
// (tbReference) names its file and holds its offset in seconds (edRefOffset), which a Shift
// drag on the chart changes as well.

#include "telemetry/referencerecording.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class ChartMenu;
class ParamChart;
class QAction;
class QCustomPlot;
class QFrame;
class QLabel;
class QLineEdit;
class QToolButton;
class ReferenceView;
class SampleTable;
struct OperationContext;

class Comparison : public QObject {
    Q_OBJECT
public:
    // host: the chart panel, over whose chart the bar lies; menu: Chart1's context menu,
    // which takes the two actions as a group of their own.
    Comparison(OperationContext* ctx, ChartMenu* menu, ParamChart* chart, const SampleTable* archive, QWidget* host,
               QObject* parent = nullptr);

    QAction* actCompareRecord;
    QAction* actCompareRemove;
    QFrame* tbReference;
    QLabel* lblRefName;
    QLabel* lblRefOffset;
    QLineEdit* edRefOffset;
    QToolButton* atbCompareRemove;

    // Runs before the open dialog: no exchange may run behind it (bound by the window).
    std::function<void()> beforeDialog;

    void actCompareRecordClick();
    // Takes a file's bytes as the comparison; false (after telling the user) when the file
    // is refused, which changes nothing.
    bool load(const QString& fileName, const QByteArray& bytes);
    void remove();
    void setOffset(double seconds);

    bool isShown() const { return m_recording != nullptr; }
    std::shared_ptr<const reference::Recording> recording() const { return m_recording; }
    QString fileName() const { return m_fileName; }
    ReferenceView* view() const { return m_view; }

signals:
    // Shown, removed, or moved (the offset).
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showOffset();
    void offsetEdited();
    void placeBar();

    OperationContext* m_ctx;
    QCustomPlot* m_plot;
    ReferenceView* m_view;
    std::shared_ptr<const reference::Recording> m_recording;
    QString m_fileName;
};
