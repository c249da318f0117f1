#pragma once
// Replaying a recording over the chart and the tables: from a chosen sample the archive's
// rows are shown one after the other at the pace they were recorded (or 2 to 64 times
// faster), as the recording tick showed them: a cursor walks across Chart1 and the page
// follows it as the navigator would move it, the parameter list's readouts show the row's
// values, and the table panel's operating point takes each row with its trail. Nothing is
// copied: every value is read from the archive's columns when it is shown. Nothing is sent
// to the module, and no replay starts while a recording runs.
//
// A frame timer runs while playing; each frame shows the last row the clock has reached, so
// a slow frame skips rows rather than falling behind. The clock is the wall time since the
// replay (re)started times the speed; the rows are due at their recorded times, a gap
// longer than MaxGap seconds (a foreign file, a recording joined to another) counting as
// MaxGap.
//
// Archive rows are numbered 1..rows() as the archive counts them; on the chart, row r is the
// sample base() + r - 1 (the chart may hold an earlier recording before the archive's).

#include <QObject>
#include <QPointF>
#include <QString>

#include <array>
#include <functional>

class ParamChart;
class ParamPanel;
class QCPItemStraightLine;
class QCPLayer;
class QTimer;
class SampleTable;

class ReplayController : public QObject {
    Q_OBJECT
public:
    static constexpr int FrameMs = 16;
    static constexpr double MaxGap = 2.0;
    // The speeds offered, slowest first.
    static const std::array<int, 6>& speeds();

    // archive: the archive table (columns of archive::column); params may be null.
    ReplayController(const SampleTable* archive, ParamChart* chart, ParamPanel* params, QObject* parent = nullptr);
    ~ReplayController() override;

    // What the replay reaches beyond the chart; bound by the window. Unset hooks do nothing.
    std::function<bool()> recording;     // a recording runs (or is paused): no replay
    std::function<double()> pageSamples; // the navigator's page width in samples
    // Shows the page begin..end of Chart1 as the navigator would (also to put the page back).
    std::function<void(double begin, double end)> showPage;
    std::function<bool()> operatingPointWanted; // the table panel is shown
    std::function<void(double speed, double mafVoltage, double injectionTime)> addOperatingPoint;
    std::function<void()> clearOperatingPoint;
    // How many rows the operating point's trail shows.
    int trailLength = 20;
    // The clock in nanoseconds (a steady clock unless a test sets another).
    std::function<qint64()> now;

    enum class Refusal { None, Recording, NothingToReplay };
    // Starts playing from the sample under chartKey (a key of Chart1's time axis), or from
    // the first sample of the page when the key lies outside the archive's samples (or is
    // NaN). A replay already active starts again from there.
    Refusal start(double chartKey);
    // Why a replay did not start, in the interface language.
    static QString refusalMessage(Refusal refusal, bool english);
    // Ends the replay. restore (Esc): the page, the readouts and the operating point go back
    // to what they were before the replay started.
    void stop(bool restore);

    bool isActive() const { return m_active; }
    bool isPlaying() const { return m_playing; }
    bool atEnd() const { return m_active && m_row == rows(); }
    void pause();
    // Plays on from the current row; at the end of the recording from its first row.
    void play();
    void togglePause();
    // One row (or n) back or forward; pauses.
    void step(int n);
    // Shows row `row` (clamped to the recording); playing goes on from there.
    void seekRow(int row);
    // The row of the sample nearest to chartKey.
    void seekKey(double chartKey);
    void setSpeed(int speed);
    int speed() const { return m_speed; }

    int row() const { return m_row; }
    int rows() const;
    // The chart key of archive row 1.
    int base() const;
    int chartIndex() const { return base() + m_row - 1; }
    // The cursor's layer on Chart1 (for tests: shown while active).
    QCPLayer* layer() const { return m_layer; }
    bool cursorShown() const;
    // Gives the operating point the trail that ends at the shown row (the table panel was
    // shown during the replay).
    void feedTrail();
    // Runs one frame now (the frame timer's work): shows the row the clock has reached.
    void frame();
    // The clock as rows: the recorded time the replay has reached, in seconds since row 1's
    // due time, and the time row r is due at; for measurements.
    double clockTime() const;
    double dueTime(int row) const;

signals:
    // A replay began (not a restart of an active one); the page is still as it was.
    void started();
    // The shown row changed (also on start).
    void rowChanged(int row);
    // Started, paused, played, ended or reached the end.
    void stateChanged();
    // Ended; restored is true for Esc.
    void stopped(bool restored);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    qint64 nowNs() const;
    double gapAfter(int row) const;
    // Shows m_row: readouts, cursor, page; the trail gets the rows after `from` (all of the
    // trail's length for a jump, from = 0).
    void show(int from);
    void feedPoint(int row);
    void followPage();
    void setCursorVisible(bool visible);
    void redrawCursor();
    void restartClock();

    const SampleTable* m_archive;
    ParamChart* m_chart;
    ParamPanel* m_params;
    QTimer* m_frames;
    QCPLayer* m_layer = nullptr;
    QCPItemStraightLine* m_cursor = nullptr;
    bool m_redrawQueued = false;

    bool m_active = false;
    bool m_playing = false;
    int m_speed = 1;
    int m_row = 1;
    // The clock: m_clockAt recorded seconds at wall time m_wallAt; row m_row was due at
    // m_rowDue on the same scale.
    double m_clockAt = 0;
    qint64 m_wallAt = 0;
    double m_rowDue = 0;

    // What Esc puts back.
    double m_savedLower = 0, m_savedUpper = 0;
    std::array<QString, 11> m_savedReadouts;

    // A press on the chart that has not moved (yet): its release seeks.
    bool m_pressed = false;
    QPointF m_pressAt;
};
