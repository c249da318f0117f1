#pragma once
// Browsing a stopped (or loaded) recording: the overview strip DBChart_Navigator_Bottom
// under the chart shows every parameter of the whole recording on a common 0..100 %
// scale, and its shaded window Blue_Line marks the page Chart1 shows. Six buttons move the
// page (to the beginning, by a page, by a step, to the end); holding a step button glides
// (Timer_Step_Left / Timer_Step_Right); a click on the strip centres the window there, a
// left click on the window centres it under the pointer, a right drag moves it.
//
// The strip is drawn from a min/max summary of each column of the navigator table, kept
// up as rows arrive, so showing it costs the same for minutes as for hours of recording.
//
// The window's place and width follow one rule, in pixels of the strip Wn wide:
// width = int(Wn * Page_Samples / Samples_Total), left = int(Wn * Page_Begin / Samples_Total).
// It is drawn at least MinDrawnWidth wide around that place, so a page of a few samples in
// hours of recording still shows and can be grabbed.

#include "telemetry/minmaxsummary.h"

#include <QFrame>
#include <QObject>
#include <QPointer>

#include <array>

class ChartPanel;
class LiveRecorder;
class ParamPanel;
class QMouseEvent;
class QTimer;
struct OperationContext;

class ChartNavigator : public QObject {
    Q_OBJECT
public:
    static constexpr int Series = 11;
    static constexpr int MinDrawnWidth = 12;

    ChartNavigator(OperationContext* ctx, ChartPanel* panel, ParamPanel* params, LiveRecorder* recorder,
                   QObject* parent = nullptr);

    QTimer* Timer_Step_Left;
    QTimer* Timer_Step_Right;

    // Handlers.
    void atb_Show_NavigatorClick();
    void Btn_toBeginClick();
    void Btn_Page_toLeftClick();
    void Btn_Step_toLeftClick();
    void Btn_Step_toRightClick();
    void Btn_Page_toRightClick();
    void Btn_toEndClick();
    // A mouse-down on the strip at x (pixels of the strip): the window centres there.
    void stripPressed(int x);

    // Clear: the strip's series empty, the window hides.
    void clear();
    // The page width changed (Page_Samples is already the new one): the window keeps its
    // centre and takes the new width, measured on the strip's width plus 20 pixels.
    void pageWidthChanged();

    // Shows the page begin..end in Chart1 and places the window by the rule (also the
    // replay's page as it follows its cursor).
    void showPage(double begin, double end);

    // The window as the rule places it, in pixels of the strip.
    int windowLeft() const { return m_left; }
    int windowWidth() const { return m_width; }
    bool dragging() const { return m_dragging; }
    // The table column (1..12) whose percents navigator series 0..10 draws.
    static int tableColumn(int navSeries);
    // The summary of table column 2..12.
    const MinMaxSummary& summary(int column) const { return m_summary.at(std::size_t(column - 2)); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether navigator series s is drawn (its parameter's name button is not hidden).
    bool seriesShown(int navSeries) const;
    int stripWidth() const;
    // Recomputes Page_Samples and returns false while there is no recording to browse.
    bool beginMove();
    // Chart1's page from the window's left edge (the strip click and the window's mouse).
    void pageFromWindow();
    void setWindow(int left, int width);
    void windowPressed(QMouseEvent* e);
    void windowMoved(QMouseEvent* e);
    void windowReleased();
    void rowsAdded(int first, int last);
    void rebuildSummary();

    OperationContext* m_ctx;
    ChartPanel* m_panel;
    ParamPanel* m_params;
    LiveRecorder* m_rec;
    QPointer<QFrame> m_window; // a child of the strip, which may go first at the end
    std::array<MinMaxSummary, Series> m_summary; // table columns 2..12
    bool m_summaryStale = false;
    int m_left = 0, m_width = 0;
    bool m_dragging = false;
    int m_dragX = 0;
};
