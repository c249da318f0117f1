#pragma once
// The parameter chart work panel: the chart of the eleven live parameters between its two
// hidden axis panels, the overview strip below it, and the recording, browsing and output
// controls above it. This class owns only the controls and the charts' initial set-up;
// recording, paging and browsing are wired by their controllers through `ui`.
//
// Chart1 starts with one graph per series: graph i is series i (0..8 on the left axis,
// 9 and 10 on the right axis), drawn in the series' initial colour and hidden until its
// series is activated. The navigator strip has its eleven graphs in its own order (see
// chartseries::navigatorColor).

#include <QWidget>

#include "common/configfiles.h"

class QTableView;

#include "ui_chartpanel.h"

class ChartPanel : public QWidget {
    Q_OBJECT
public:
    explicit ChartPanel(QWidget* parent = nullptr);

    Ui::ChartPanel ui;
    // The hidden tables of the recording (archive and navigator), shown by no one; their
    // models belong to the recorder.
    QTableView* StringGrid_Arhiv;
    QTableView* StringGrid_Navigator;

    // True while the three control groups stand in one row above the chart; false when the
    // panel is too narrow and the output group has moved beside the other two.
    bool controlsInOneRow() const { return m_oneRow; }

    // The settings file's part of the panel (chartconfig.cpp): the allowed deviation
    // (Diapazone), the input type (Index_TypeInput "0" continuous, "1" pages) and the page
    // width (Enum_Page). A saved number is shown in the locale's form; a text that is not
    // a number, or a type other than "0" and "1", leaves the control as it is.
    void collectConfiguration(cfg::Info& info) const;
    void applyConfiguration(const cfg::Info& info);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void setUpIcons();
    void setUpChart();
    void setUpNavigator();
    int oneRowWidth() const;
    void arrangeControls(bool oneRow);

    bool m_oneRow = true;
};
