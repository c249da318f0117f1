#pragma once
// The work panel of the three correction tables: the surface view on the left and, at the
// right edge, the table grid with its axis captions, the transfer and file buttons of the
// three tables, the choice of the load axis and the orientation buttons of the surface.

#include <QWidget>

#include "surface/surfaceview.h"
#include "ui_table3dpanel.h"

class Table3DPanel : public QWidget {
    Q_OBJECT

public:
    // The tables edited in the one grid; their four transfer and file buttons share places.
    enum class Table { Lambda, Maf, Voltage };

    explicit Table3DPanel(QWidget* parent = nullptr);

    // Writes the grid's column headers (engine speed) and row headers (engine load) and
    // the load axis caption, following whichever load axis button is down.
    void writeAxisLabels();

    // Brings the four transfer and file buttons of `table` in front of the other tables'.
    void raiseTableButtons(Table table);

    // Colours the panels, the grid and the buttons in the family's look.
    void applyFamilyColours(SurfaceFamily family);

    // Cell text of the grid by engine-speed column c and load row r, both 1..8 (the header
    // row and column are 0). Out-of-range coordinates read as an empty text and are
    // ignored when written.
    QString cellText(int c, int r) const;
    void setCellText(int c, int r, const QString& text);

    Ui::Table3DPanel ui;

private:
    void setUpGrid();
    void setUpIcons();
};
