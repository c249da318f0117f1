#pragma once
// Replay and comparison wired into the window: "Воспроизвести" (actReplay) on Chart1's
// context menu, the replay controller and its bar bound to the recorder's archive and
// chart, the parameter list's readouts, the navigator's page and the table panel's
// operating point, the window's frame rate while a replay plays (every frame it makes is
// painted); and the comparison recording (its two actions on the same menu) in the hover
// readout and in the cell statistics.

#include "analysis/cellstats.h"

#include <QObject>

#include <cmath>
#include <functional>
#include <optional>

class ChartMenu;
class ChartPanel;
class Comparison;
class FrameLimiter;
class LiveRecorder;
class ParamPanel;
class QAction;
class RecordingViews;
class QTimer;
class ReplayBar;
class ReplayController;
class Table3DPanel;
struct OperationContext;

class ReplayViews : public QObject {
    Q_OBJECT
public:
    struct Parts {
        OperationContext* ctx = nullptr;
        LiveRecorder* recorder = nullptr;
        ChartPanel* chart = nullptr;
        ParamPanel* params = nullptr;
        Table3DPanel* tables = nullptr;
        ChartMenu* menu = nullptr;          // Chart1's context menu
        RecordingViews* recordingViews = nullptr; // the cell statistics
        QTimer* recordingTimer = nullptr;   // active while a recording runs
        FrameLimiter* frames = nullptr;     // may be null
        QWidget* window = nullptr;          // where Space and Esc work
    };
    explicit ReplayViews(const Parts& parts, QObject* parent = nullptr);

    // Runs before the comparison's open dialog: the live points stop, a recording pauses.
    std::function<void()> beforeDialog;

    ReplayController* replay() const { return m_replay; }
    Comparison* comparison() const { return m_comparison; }
    ReplayBar* bar() const { return m_bar; }
    QAction* actReplay = nullptr;

    // The context menu is about to open with the pointer at x (pixels of Chart1): the key
    // under it is where "Воспроизвести" starts, and the action is offered only when a
    // replay can start.
    void menuOpening(double x);
    // "Воспроизвести": from the sample where the menu was opened, else from the page's
    // first sample; a refusal is told to the user.
    void actReplayClick();

    // The comparison's cell statistics (RecordingViews::referenceStatistics): the samples of
    // the whole comparison, or those that lie on the chart's page as it is drawn there.
    std::optional<analysis::CellGrid> referenceStatistics(const analysis::Axis& speed, const analysis::Axis& load,
                                                          int loadColumn, int paramColumn, bool pageOnly) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void comparisonChanged();
    void showPage(double begin, double end);

    Parts m_p;
    QObject* m_chartWidget = nullptr; // Chart1, compared with, never used: it may be going first
    ReplayController* m_replay;
    ReplayBar* m_bar;
    Comparison* m_comparison;
    double m_menuKey = std::nan("");
    int m_normalFrames = 100;
    double m_savedBegin = 0, m_savedEnd = 0;
};
