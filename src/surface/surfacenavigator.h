#pragma once
// The orientation buttons of the surface: six rotate buttons (a click turns by 2 degrees,
// holding repeats every 100 ms), the zoom button (left mouse button in, right button out),
// and Push, Pop and Default for the shown family's orientation.

#include <QObject>

#include <functional>

class QAbstractButton;
class QTimer;
class SurfaceView;

struct NavigatorButtons {
    QAbstractButton* rotateLeft;  // about y, -2
    QAbstractButton* rotateRight; // about y, +2
    QAbstractButton* rotateUp;    // about x, +2
    QAbstractButton* rotateDown;  // about x, -2
    QAbstractButton* rotateUpZ;   // about z, +2
    QAbstractButton* rotateDownZ; // about z, -2
    QAbstractButton* zoom;
    QAbstractButton* push;
    QAbstractButton* pop;
    QAbstractButton* defaults;
};

class SurfaceNavigator : public QObject {
    Q_OBJECT

  public:
    enum Rotate { Left, Right, Up, Down, UpZ, DownZ };

    SurfaceNavigator(SurfaceView* view, const NavigatorButtons& buttons, QObject* parent = nullptr);

    // The refresh of the shown table, run after every turn step, Pop and Default (the
    // window binds it to the table refresh, which copies the family's orientation into
    // the view and redraws). The view takes the new orientation whether it is set or not.
    std::function<void()> refreshShownTable;

    // Repeats the held rotate buttons (100 ms); runs only while one is held.
    QTimer* Timer_Rotate_3D;
    // Which rotate buttons are held, in the order of Rotate.
    bool Rotate_Flags[6] = {};

    // One step of a rotate button on the shown family's orientation.
    void rotate(Rotate which);
    // One zoom step of the shown family (in or out); the view takes the new frustum.
    void zoom(bool in);
    // Puts the shown family's orientation away / brings it back.
    void push();
    void pop();
    // Turns the shown family's three angles back to 0; the zoom stays.
    void resetAngles();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void afterTurn();

    SurfaceView* m_view;
    QAbstractButton* m_zoom;
};
